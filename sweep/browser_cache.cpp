// The cache walk: a stack of folders, each listed once, files deleted as they are met.
#include "sweep/browser_cache.h"

#include <vector>

#include "platform/errors.h"

namespace {

// Deeper than any cache's own layout; a folder below it is left, and the pass not complete.
constexpr int kMaxCacheDepth = 16;

}  // namespace

void SweepCacheFolder(BrowserPass& pass, const std::string& root, std::string_view relative) {
    struct Folder {
        std::string path;
        std::string relative;
        int depth;
    };
    ProfileFiles& files = pass.services.files;
    const bool deleting = pass.Deletes(Kind::CachedFiles);
    std::vector<Folder> folders{{root, std::string(relative), 0}};
    while (!folders.empty()) {
        const Folder folder = std::move(folders.back());
        folders.pop_back();
        ScopedListing listing(files);
        FolderEntry entry;
        std::uint32_t status = listing.Start(folder.path, entry);
        for (; status == kErrorSuccess; status = listing.Next(entry)) {
            if (entry.folder) {
                if (entry.link) continue;
                if (folder.depth >= kMaxCacheDepth) {
                    pass.result.complete = false;
                    continue;
                }
                folders.push_back(
                    {folder.path + "\\" + entry.name, folder.relative + "\\" + entry.name, folder.depth + 1});
                continue;
            }
            if (pass.Stop()) return;
            pass.Found(Store::Cache, Kind::CachedFiles, pass.Name({folder.relative, "\\", entry.name}));
            if (!deleting) continue;
            const std::uint32_t removed = files.RemoveFile(folder.path + "\\" + entry.name);
            if (removed == kErrorSuccess) {
                ++pass.result[Kind::CachedFiles].deleted;
            } else if (removed != kErrorFileNotFound) {
                pass.Stayed(Store::Cache, pass.Name({folder.relative, "\\", entry.name}));
            }
        }
        if (status != kErrorNoMoreFiles && status != kErrorPathNotFound && status != kErrorFileNotFound)
            pass.result.complete = false;
    }
}
