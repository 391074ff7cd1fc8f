// The pass over the URL cache: one walk, one growing block, deletion where an entry stands.
#include <cstddef>

#include "platform/errors.h"
#include "ui/brumix_dlg.h"
#include "ui/format_text.h"
#include "ui/resource_ids.h"
#include "ui/texts.h"

namespace {

constexpr std::uint32_t kInitialBlockSize = 4096;

// The entry block of one walk; it only ever grows, and is released on every path.
class EntryBlock {
public:
    explicit EntryBlock(Heap& heap) : heap_(heap) {}
    ~EntryBlock() { heap_.Free(data_); }
    EntryBlock(const EntryBlock&) = delete;
    EntryBlock& operator=(const EntryBlock&) = delete;

    bool Replace(std::uint32_t size) {
        heap_.Free(data_);
        size_ = 0;
        data_ = size >= sizeof(CacheEntryRecord) ? heap_.Allocate(size) : nullptr;
        if (data_ == nullptr) return false;
        size_ = size;
        record()->dwStructSize = size;
        return true;
    }
    CacheEntryRecord* record() const { return static_cast<CacheEntryRecord*>(data_); }
    std::uint32_t size() const { return size_; }

private:
    Heap& heap_;
    void* data_ = nullptr;
    std::uint32_t size_ = 0;
};

class WalkGuard {
public:
    explicit WalkGuard(UrlCache& cache) : cache_(cache) {}
    ~WalkGuard() {
        if (handle != UrlCache::kNoWalk) cache_.CloseWalk(handle);
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

    UrlCache::WalkHandle handle = UrlCache::kNoWalk;

private:
    UrlCache& cache_;
};

struct CacheCounts {
    int cachedFiles = 0;
    int cookieEntries = 0;
};

// Walks every entry once, deleting as asked; 1 when the walk reached its end.
int WalkCache(UrlCache& cache, Heap& heap, int bDeleteCookies, int bCountOnly, CacheCounts& counts) {
    EntryBlock block(heap);
    WalkGuard walk(cache);
    std::uint32_t status = kErrorInsufficientBuffer;
    std::uint32_t wanted = kInitialBlockSize;

    // Fetches the next (or first) entry into the block; on want of room, wanted is what
    // the service asks for.
    auto fetch = [&] {
        std::uint32_t size = block.size();
        bool ok;
        if (walk.handle == UrlCache::kNoWalk) {
            walk.handle = cache.FindFirstEntry(block.record(), size);
            ok = walk.handle != UrlCache::kNoWalk;
        } else {
            ok = cache.FindNextEntry(walk.handle, block.record(), size);
        }
        status = ok ? kErrorSuccess : cache.LastError();
        if (!ok) wanted = size;
    };

    for (;;) {
        if (status == kErrorSuccess) {
            const CacheEntryRecord& entry = *block.record();
            const bool isCookie = (entry.CacheEntryType & kCookieCacheEntry) != 0;
            ++(isCookie ? counts.cookieEntries : counts.cachedFiles);
            const bool deleteIt = bCountOnly != 1 && (bDeleteCookies == 1 || !isCookie);
            if (deleteIt && entry.lpszSourceUrlName != nullptr) cache.DeleteEntry(entry.lpszSourceUrlName);
            fetch();
        } else if (status == kErrorInsufficientBuffer) {
            // A service that refuses a block as large as the one it asks for would be asked
            // for ever; a block that cannot be had ends the walk the same way.
            if (block.size() != 0 && wanted <= block.size()) return 0;
            if (!block.Replace(wanted)) return 0;
            fetch();
        } else {
            return status == kErrorNoMoreItems ? 1 : 0;
        }
    }
}

}  // namespace

int CBrumixDlg::ScanCache(int bDeleteCookies, int bCountOnly) {
    CacheCounts counts;
    const int result = WalkCache(urlCache_, heap_, bDeleteCookies, bCountOnly, counts);

    const int cookieFiles = SweepCookieFolder(bDeleteCookies, bCountOnly);
    const int cookies = counts.cookieEntries + cookieFiles;
    window_.SetControlText(IDC_CACHED_COUNT, FormatText(kCachedCountFormat, counts.cachedFiles));
    window_.SetControlText(IDC_COOKIE_COUNT, FormatText(kCookieCountFormat, cookies));
    ShowFound(counts.cachedFiles != 0 || counts.cookieEntries != 0 || cookieFiles != 0);
    window_.SetTitle(window_.IsMinimised() ? FormatText(kTitleMinimisedFormat, counts.cachedFiles, cookies) : kTitle);
    return result;
}
