// An in-memory file system of folders and files, with files that refuse deletion and files
// that report deletion but stay (pending deletion while another process holds them open).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/file_search.h"
#include "platform/memory/faults.h"

class MemoryFileSearch final : public FileSearch {
public:
    explicit MemoryFileSearch(Faults& faults) : faults_(faults) {}

    void AddFolder(const std::string& path);
    void AddFile(const std::string& folder, const std::string& name, bool undeletable = false,
                 bool deletePending = false);
    bool HasFile(const std::string& folder, const std::string& name) const;
    std::vector<std::string> Files(const std::string& folder) const;
    const std::string& CurrentDir() const { return currentDir_; }
    int OpenSearches() const { return static_cast<int>(searches_.size()); }
    int DeleteAttempts() const { return deleteAttempts_; }

    // A simplified 8.3 alias ("notes.txtold" gives "NOTES~1.TXT"); empty for a name that is
    // already short. The search matches a pattern against it too.
    static std::string ShortAlias(const std::string& name);

    bool SetCurrentDir(const std::string& path) override;
    SearchHandle FindFirst(const std::string& pattern, std::string& fileName) override;
    bool FindNext(SearchHandle search, std::string& fileName) override;
    void CloseSearch(SearchHandle search) override;
    bool DeleteByName(const std::string& fileName) override;

private:
    struct File {
        std::string name;
        bool undeletable;
        bool deletePending;
    };
    struct Search {
        std::vector<std::string> matches;
        std::size_t next;
    };
    static std::string Key(const std::string& folder);
    static bool Matches(const std::string& pattern, const std::string& name);

    Faults& faults_;
    std::map<std::string, std::vector<File>> folders_;
    std::string currentDir_ = "C:\\";
    std::map<SearchHandle, Search> searches_;
    SearchHandle nextHandle_ = 0x200;
    int deleteAttempts_ = 0;
};
