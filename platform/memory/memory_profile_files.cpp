// The in-memory profile tree: a map from each path, lower-cased, to its folder or file.
#include "platform/memory/memory_profile_files.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/errors.h"

std::string MemoryProfileFiles::Key(const std::string& path) {
    // As the system reads a full path: "." names the folder it is in, ".." the one above.
    std::vector<std::string> parts;
    std::size_t start = 0;
    const std::string lowered = AsciiLowered(path);
    while (start <= lowered.size()) {
        const std::size_t end = std::min(lowered.find('\\', start), lowered.size());
        const std::string part = lowered.substr(start, end - start);
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string key;
    for (const std::string& part : parts) key += (key.empty() ? "" : "\\") + part;
    return key;
}

const MemoryProfileFiles::Node* MemoryProfileFiles::Find(const std::string& path) const {
    const auto found = nodes_.find(Key(path));
    return found == nodes_.end() ? nullptr : &found->second;
}

MemoryProfileFiles::Node& MemoryProfileFiles::Make(const std::string& path, bool folder) {
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (parent.size() > 2) {
            Node& node = nodes_[Key(parent)];
            node.path = parent;
            node.folder = true;
        }
    }
    Node& node = nodes_[Key(path)];
    node.path = path;
    node.folder = folder;
    return node;
}

void MemoryProfileFiles::AddFolder(const std::string& path) {
    Make(path, true);
}

void MemoryProfileFiles::AddLink(const std::string& path) {
    Make(path, true).link = true;
}

void MemoryProfileFiles::WriteFile(const std::string& path, std::string content) {
    Make(path, false).content = std::move(content);
}

void MemoryProfileFiles::Hold(const std::string& path, bool held) {
    nodes_.at(Key(path)).held = held;
}

void MemoryProfileFiles::MakeReadOnly(const std::string& path) {
    nodes_.at(Key(path)).readOnly = true;
}

std::optional<std::string> MemoryProfileFiles::ReadFile(const std::string& path) const {
    const Node* node = Find(path);
    if (node == nullptr || node->folder) return std::nullopt;
    return node->content;
}

bool MemoryProfileFiles::IsHeld(const std::string& path) const {
    const Node* node = Find(path);
    return node != nullptr && node->held;
}

bool MemoryProfileFiles::IsReadOnly(const std::string& path) const {
    const Node* node = Find(path);
    return node != nullptr && node->readOnly;
}

std::vector<std::string> MemoryProfileFiles::FilesUnder(const std::string& folder) const {
    std::vector<std::string> files;
    const std::string prefix = Key(folder) + "\\";
    for (auto node = nodes_.lower_bound(prefix); node != nodes_.end() && node->first.starts_with(prefix); ++node) {
        if (!node->second.folder) files.push_back(node->second.path);
    }
    return files;
}

bool MemoryProfileFiles::IsFolder(const std::string& path) {
    if (faults_.Hit("GetFileAttributes")) return false;
    const Node* node = Find(path);
    return node != nullptr && node->folder;
}

ProfileFiles::Listing MemoryProfileFiles::FirstEntry(const std::string& folder, FolderEntry& entry,
                                                     std::uint32_t& error) {
    if (const auto fault = faults_.Hit("FindFirstFile")) {
        error = *fault;
        return kNoListing;
    }
    const Node* node = Find(folder);
    if (node == nullptr || !node->folder) {
        error = kErrorPathNotFound;
        return kNoListing;
    }
    OpenListing listing;
    const std::string prefix = Key(folder) + "\\";
    for (auto child = nodes_.lower_bound(prefix); child != nodes_.end() && child->first.starts_with(prefix); ++child) {
        if (child->first.find('\\', prefix.size()) != std::string::npos) continue;
        const Node& found = child->second;
        listing.entries.push_back({found.path.substr(found.path.rfind('\\') + 1), found.folder, found.link});
    }
    if (listing.entries.empty()) {
        error = kErrorNoMoreFiles;
        return kNoListing;
    }
    entry = listing.entries[0];
    listing.next = 1;
    const Listing handle = nextListing_++;
    listings_[handle] = std::move(listing);
    return handle;
}

std::uint32_t MemoryProfileFiles::NextEntry(Listing listing, FolderEntry& entry) {
    if (const auto fault = faults_.Hit("FindNextFile")) return *fault;
    auto found = listings_.find(listing);
    if (found == listings_.end() || found->second.next >= found->second.entries.size()) return kErrorNoMoreFiles;
    entry = found->second.entries[found->second.next++];
    return kErrorSuccess;
}

void MemoryProfileFiles::CloseListing(Listing listing) {
    faults_.Hit("FindClose");
    listings_.erase(listing);
}

std::uint32_t MemoryProfileFiles::ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& content) {
    if (const auto fault = faults_.Hit("ReadFile")) return *fault;
    const Node* node = Find(path);
    if (node == nullptr) return kErrorFileNotFound;
    if (node->folder) return kErrorAccessDenied;
    if (node->held) return kErrorSharingViolation;
    if (node->content.size() > maxBytes) return kErrorFileTooLarge;
    content = node->content;
    return kErrorSuccess;
}

std::uint32_t MemoryProfileFiles::RemoveFile(const std::string& path) {
    if (const auto fault = faults_.Hit("DeleteFile")) return *fault;
    const auto found = nodes_.find(Key(path));
    if (found == nodes_.end()) return kErrorFileNotFound;
    if (found->second.folder || found->second.readOnly) return kErrorAccessDenied;
    if (found->second.held) return kErrorSharingViolation;
    nodes_.erase(found);
    return kErrorSuccess;
}

std::uint32_t MemoryProfileFiles::TryOpenForWriting(const std::string& path) {
    if (const auto fault = faults_.Hit("CreateFile")) return *fault;
    const Node* node = Find(path);
    if (node == nullptr) return kErrorFileNotFound;
    if (node->folder || node->readOnly) return kErrorAccessDenied;
    return node->held ? kErrorSharingViolation : kErrorSuccess;
}
