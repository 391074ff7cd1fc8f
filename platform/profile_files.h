// The files of a browser's profile: its folders listed, small files read, files deleted, and
// whether another process holds a file. Paths are full, in UTF-8, with backslashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FolderEntry {
    // The bare name; never "." or "..".
    std::string name;
    bool folder = false;
    // A junction or symbolic link: a walk never follows one out of the folder it lists.
    bool link = false;
};

class ProfileFiles {
public:
    using Listing = std::uintptr_t;
    static constexpr Listing kNoListing = ~Listing{0};

    virtual ~ProfileFiles() = default;

    virtual bool IsFolder(const std::string& path) = 0;
    // The folder's first entry; kNoListing when there is none, with error kErrorNoMoreFiles for
    // an empty folder, kErrorPathNotFound for a missing one, or what else ended the listing.
    virtual Listing FirstEntry(const std::string& folder, FolderEntry& entry, std::uint32_t& error) = 0;
    // kErrorSuccess with the next entry, kErrorNoMoreFiles at the end, or the error that ended it.
    virtual std::uint32_t NextEntry(Listing listing, FolderEntry& entry) = 0;
    virtual void CloseListing(Listing listing) = 0;
    // The whole file: kErrorSuccess, kErrorFileTooLarge when it is longer than maxBytes, or the
    // error of opening or reading it. It is opened sharing everything, as a running browser
    // expects of its readers.
    virtual std::uint32_t ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& content) = 0;
    virtual std::uint32_t RemoveFile(const std::string& path) = 0;
    // The error of opening the file for writing, closed again at once: kErrorSharingViolation
    // while another process holds it open without sharing writes (a running browser its
    // lockfile), kErrorFileNotFound when it is not there.
    virtual std::uint32_t TryOpenForWriting(const std::string& path) = 0;
};

// One listing, closed when the owner goes.
class ScopedListing {
public:
    explicit ScopedListing(ProfileFiles& files) : files_(files) {}
    ~ScopedListing() { Close(); }
    ScopedListing(const ScopedListing&) = delete;
    ScopedListing& operator=(const ScopedListing&) = delete;

    // kErrorSuccess with the first entry, or why there is none (see FirstEntry).
    std::uint32_t Start(const std::string& folder, FolderEntry& entry) {
        Close();
        std::uint32_t error = 0;
        listing_ = files_.FirstEntry(folder, entry, error);
        return listing_ == ProfileFiles::kNoListing ? error : 0;
    }
    std::uint32_t Next(FolderEntry& entry) { return files_.NextEntry(listing_, entry); }
    void Close() {
        if (listing_ != ProfileFiles::kNoListing) files_.CloseListing(listing_);
        listing_ = ProfileFiles::kNoListing;
    }

private:
    ProfileFiles& files_;
    ProfileFiles::Listing listing_ = ProfileFiles::kNoListing;
};
