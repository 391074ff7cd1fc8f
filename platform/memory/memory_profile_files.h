// An in-memory tree of folders and files for the browsers' profiles, with files another
// process holds, files that refuse deletion and folders that are links. Paths compare without
// regard to case, as the system's do.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/faults.h"
#include "platform/profile_files.h"

class MemoryProfileFiles final : public ProfileFiles {
public:
    explicit MemoryProfileFiles(Faults& faults) : faults_(faults) {}

    // Each makes the folders on the path that are missing.
    void AddFolder(const std::string& path);
    // A junction: listed as a folder that is a link, with the entries of whatever it points at.
    void AddLink(const std::string& path);
    void WriteFile(const std::string& path, std::string content);
    // Another process holds the file open without sharing writes: it cannot be opened for
    // writing or deleted, and as a database it refuses to open.
    void Hold(const std::string& path, bool held = true);
    // Deletion is refused with access denied; as a database it can be read but not written.
    void MakeReadOnly(const std::string& path);

    std::optional<std::string> ReadFile(const std::string& path) const;
    bool IsHeld(const std::string& path) const;
    bool IsReadOnly(const std::string& path) const;
    // The full paths of the files in the folder and every folder under it, in order.
    std::vector<std::string> FilesUnder(const std::string& folder) const;
    int OpenListings() const { return static_cast<int>(listings_.size()); }

    bool IsFolder(const std::string& path) override;
    Listing FirstEntry(const std::string& folder, FolderEntry& entry, std::uint32_t& error) override;
    std::uint32_t NextEntry(Listing listing, FolderEntry& entry) override;
    void CloseListing(Listing listing) override;
    std::uint32_t ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& content) override;
    std::uint32_t RemoveFile(const std::string& path) override;
    std::uint32_t TryOpenForWriting(const std::string& path) override;

private:
    struct Node {
        std::string path;
        bool folder = false;
        bool link = false;
        bool held = false;
        bool readOnly = false;
        std::string content;
    };
    struct OpenListing {
        std::vector<FolderEntry> entries;
        std::size_t next = 0;
    };
    static std::string Key(const std::string& path);
    const Node* Find(const std::string& path) const;
    Node& Make(const std::string& path, bool folder);

    Faults& faults_;
    std::map<std::string, Node> nodes_;
    std::map<Listing, OpenListing> listings_;
    Listing nextListing_ = 0x300;
};
