// Files in the current directory: a wildcard search, deletion by bare name, and the
// process's current directory that both are relative to.
#pragma once

#include <cstdint>
#include <string>

class FileSearch {
public:
    using SearchHandle = std::uintptr_t;
    static constexpr SearchHandle kNoSearch = ~SearchHandle{0};

    virtual ~FileSearch() = default;

    virtual bool SetCurrentDir(const std::string& path) = 0;
    // kNoSearch when nothing matches or the search cannot start; otherwise the first
    // match's bare name in fileName.
    virtual SearchHandle FindFirst(const std::string& pattern, std::string& fileName) = 0;
    virtual bool FindNext(SearchHandle search, std::string& fileName) = 0;
    virtual void CloseSearch(SearchHandle search) = 0;
    virtual bool DeleteByName(const std::string& fileName) = 0;
};
