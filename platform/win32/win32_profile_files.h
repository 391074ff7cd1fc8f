// A browser's profile files over kernel32's wide file calls.
#pragma once

#include "platform/profile_files.h"

// Holds no state: each listing belongs to whoever started it and ends with CloseListing.
class Win32ProfileFiles final : public ProfileFiles {
public:
    bool IsFolder(const std::string& path) override;
    Listing FirstEntry(const std::string& folder, FolderEntry& entry, std::uint32_t& error) override;
    std::uint32_t NextEntry(Listing listing, FolderEntry& entry) override;
    void CloseListing(Listing listing) override;
    std::uint32_t ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& content) override;
    std::uint32_t RemoveFile(const std::string& path) override;
    std::uint32_t TryOpenForWriting(const std::string& path) override;
};
