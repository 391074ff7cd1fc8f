// The in-memory file system; paths and names compare without regard to case.
#include "platform/memory/memory_file_search.h"

#include <algorithm>

#include "platform/ascii_case.h"

std::string MemoryFileSearch::Key(const std::string& folder) {
    std::string key = AsciiLowered(folder);
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    return key;
}

std::string MemoryFileSearch::ShortAlias(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (base.size() <= 8 && extension.size() <= 3 && base.find('.') == std::string::npos) return {};
    std::string alias(base, 0, 6);
    alias.append("~1");
    if (!extension.empty()) alias.append(".").append(extension, 0, 3);
    return AsciiUppered(alias);
}

bool MemoryFileSearch::Matches(const std::string& pattern, const std::string& name) {
    // Enough of the platform's wildcards for the patterns the program uses: "*" then a suffix.
    // Like the real search, a long name is also matched through its 8.3 alias.
    const std::string p = AsciiLowered(pattern);
    const auto match = [&p](const std::string& candidate) {
        const std::string n = AsciiLowered(candidate);
        if (p.empty() || p[0] != '*') return p == n;
        const std::string suffix = p.substr(1);
        return n.size() >= suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    const std::string alias = ShortAlias(name);
    return match(name) || (!alias.empty() && match(alias));
}

void MemoryFileSearch::AddFolder(const std::string& path) {
    folders_[Key(path)];
}

void MemoryFileSearch::AddFile(const std::string& folder, const std::string& name, bool undeletable,
                               bool deletePending) {
    folders_[Key(folder)].push_back({name, undeletable, deletePending});
}

bool MemoryFileSearch::HasFile(const std::string& folder, const std::string& name) const {
    auto found = folders_.find(Key(folder));
    if (found == folders_.end()) return false;
    return std::any_of(found->second.begin(), found->second.end(),
                       [&](const File& f) { return EqualsIgnoringAsciiCase(f.name, name); });
}

std::vector<std::string> MemoryFileSearch::Files(const std::string& folder) const {
    std::vector<std::string> names;
    auto found = folders_.find(Key(folder));
    if (found != folders_.end()) {
        for (const File& f : found->second) names.push_back(f.name);
    }
    return names;
}

bool MemoryFileSearch::SetCurrentDir(const std::string& path) {
    if (faults_.Hit("SetCurrentDirectory")) return false;
    if (folders_.count(Key(path)) == 0) return false;
    currentDir_ = path;
    return true;
}

FileSearch::SearchHandle MemoryFileSearch::FindFirst(const std::string& pattern, std::string& fileName) {
    if (faults_.Hit("FindFirstFile")) return kNoSearch;
    Search search{{}, 1};
    for (const File& f : folders_[Key(currentDir_)]) {
        if (Matches(pattern, f.name)) search.matches.push_back(f.name);
    }
    if (search.matches.empty()) return kNoSearch;
    fileName = search.matches[0];
    const SearchHandle handle = nextHandle_++;
    searches_[handle] = std::move(search);
    return handle;
}

bool MemoryFileSearch::FindNext(SearchHandle search, std::string& fileName) {
    if (faults_.Hit("FindNextFile")) return false;
    auto found = searches_.find(search);
    if (found == searches_.end() || found->second.next >= found->second.matches.size()) return false;
    fileName = found->second.matches[found->second.next++];
    return true;
}

void MemoryFileSearch::CloseSearch(SearchHandle search) {
    faults_.Hit("FindClose");
    searches_.erase(search);
}

bool MemoryFileSearch::DeleteByName(const std::string& fileName) {
    ++deleteAttempts_;
    if (faults_.Hit("DeleteFile")) return false;
    std::vector<File>& files = folders_[Key(currentDir_)];
    auto file = std::find_if(files.begin(), files.end(),
                             [&](const File& f) { return EqualsIgnoringAsciiCase(f.name, fileName); });
    if (file == files.end() || file->undeletable) return false;
    if (!file->deletePending) files.erase(file);
    return true;
}
