// The pass over the URL cache: one walk, one growing block, deletion where an entry stands.
#include "sweep/cache_sweep.h"

#include "platform/errors.h"

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

}  // namespace

CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer) {
    CacheWalkResult result;
    EntryBlock block(heap);
    ScopedCacheWalk walk(cache);
    std::uint32_t status = kErrorInsufficientBuffer;
    std::uint32_t wanted = kInitialBlockSize;

    // On want of room, wanted is what the service asks for.
    auto fetch = [&] {
        std::uint32_t size = block.size();
        const bool ok = walk.Fetch(block.record(), size);
        status = ok ? kErrorSuccess : cache.LastError();
        if (!ok) wanted = size;
    };

    for (;;) {
        if (status == kErrorSuccess) {
            if (observer.StopRequested()) {
                result.stopped = true;
                return result;
            }
            const CacheEntryRecord& entry = *block.record();
            const bool isCookie = (entry.CacheEntryType & kCookieCacheEntry) != 0;
            const char* url = entry.lpszSourceUrlName != nullptr ? entry.lpszSourceUrlName : "";
            const SweepItem item{isCookie ? Store::Cookie : Store::Cache, url};
            ++(isCookie ? result.cookieEntries : result.cachedFiles);
            observer.OnVisit(item);
            if (request.deleteEntries && (request.includeCookies || !isCookie) && entry.lpszSourceUrlName != nullptr) {
                if (cache.DeleteEntry(entry.lpszSourceUrlName)) {
                    ++(isCookie ? result.deletedCookieEntries : result.deletedFiles);
                } else {
                    observer.OnNotDeleted(item);
                }
            }
            fetch();
        } else if (status == kErrorInsufficientBuffer) {
            // A service that refuses a block as large as the one it asks for would be asked
            // for ever; a block that cannot be had ends the walk the same way.
            if (block.size() != 0 && wanted <= block.size()) return result;
            if (!block.Replace(wanted)) return result;
            fetch();
        } else {
            result.complete = status == kErrorNoMoreItems;
            return result;
        }
    }
}

CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place, const CacheRequest& request,
                            SweepObserver& observer) {
    CacheSweepResult result;
    result.walk = WalkUrlCache(services.urlCache, services.heap, request, observer);
    if (result.walk.stopped) return result;
    result.cookieFiles =
        SweepCookieFiles(services.files, place, request.deleteEntries && request.includeCookies, observer);
    return result;
}
