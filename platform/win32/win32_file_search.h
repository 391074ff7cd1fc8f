// Files in the current directory over kernel32's ANSI file search.
#pragma once

#include "platform/file_search.h"

// Holds no state: each search handle belongs to whoever started it and ends with CloseSearch.
class Win32FileSearch final : public FileSearch {
public:
    bool SetCurrentDir(const std::string& path) override;
    SearchHandle FindFirst(const std::string& pattern, std::string& fileName) override;
    bool FindNext(SearchHandle search, std::string& fileName) override;
    void CloseSearch(SearchHandle search) override;
    bool DeleteByName(const std::string& fileName) override;
};
