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

// One file search at a time, closed when replaced or when the owner goes.
class ScopedFileSearch {
public:
    explicit ScopedFileSearch(FileSearch& files) : files_(files) {}
    ~ScopedFileSearch() { Close(); }
    ScopedFileSearch(const ScopedFileSearch&) = delete;
    ScopedFileSearch& operator=(const ScopedFileSearch&) = delete;

    // Closes any search in progress and starts a fresh one; false when nothing matches.
    bool Start(const std::string& pattern, std::string& fileName) {
        Close();
        search_ = files_.FindFirst(pattern, fileName);
        return search_ != FileSearch::kNoSearch;
    }
    bool Next(std::string& fileName) { return search_ != FileSearch::kNoSearch && files_.FindNext(search_, fileName); }
    void Close() {
        if (search_ != FileSearch::kNoSearch) files_.CloseSearch(search_);
        search_ = FileSearch::kNoSearch;
    }

private:
    FileSearch& files_;
    FileSearch::SearchHandle search_ = FileSearch::kNoSearch;
};
