// The pass over the URL cache: a walk without a pattern, the cookie container's when that met no
// cookie, one growing block for both, deletion where an entry stands.
#include "sweep/cache_sweep.h"

#include "platform/errors.h"

namespace {

constexpr std::uint32_t kInitialBlockSize = 4096;
// Stands for the error of a call that failed without naming one; no Windows error has it.
constexpr std::uint32_t kFailedWithoutReason = 0xFFFFFFFF;

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

// How one walk ended, and whether it returned any entry.
struct WalkEnd {
    enum class How { Complete, Failed, Stopped } how;
    bool metAny;
};

// One walk over what the pattern names, into the pass's block, adding to the pass's counts.
// The pass's first walk allocates the block at kInitialBlockSize; the walks after it keep it.
WalkEnd WalkEntries(UrlCache& cache, const char* pattern, EntryBlock& block, const CacheRequest& request,
                    SweepObserver& observer, CacheWalkResult& result) {
    ScopedCacheWalk walk(cache, pattern);
    std::uint32_t status = kErrorInsufficientBuffer;
    std::uint32_t wanted = kInitialBlockSize;
    bool metAny = false;

    // On want of room, wanted is what the service asks for. A failed call whose error reads 0
    // has left the block as it was: the last entry is not to be taken for a new one.
    auto fetch = [&] {
        std::uint32_t size = block.size();
        const bool ok = walk.Fetch(block.record(), size);
        status = ok ? kErrorSuccess : cache.LastError();
        if (!ok && status == kErrorSuccess) status = kFailedWithoutReason;
        if (!ok) wanted = size;
    };
    auto end = [&](WalkEnd::How how) { return WalkEnd{how, metAny}; };

    if (block.size() != 0) fetch();
    for (;;) {
        if (status == kErrorSuccess) {
            if (observer.StopRequested()) return end(WalkEnd::How::Stopped);
            metAny = true;
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
            if (block.size() != 0 && wanted <= block.size()) return end(WalkEnd::How::Failed);
            if (!block.Replace(wanted)) return end(WalkEnd::How::Failed);
            fetch();
        } else {
            return end(status == kErrorNoMoreItems ? WalkEnd::How::Complete : WalkEnd::How::Failed);
        }
    }
}

}  // namespace

CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer) {
    CacheWalkResult result;
    EntryBlock block(heap);
    WalkEnd end = WalkEntries(cache, nullptr, block, request, observer, result);
    // The service's reference says a walk without a pattern returns the content entries
    // alone; Wine's cache and the older one return the cookies in it too. Only a whole walk
    // that met none is followed by one over the cookies, so where it met them nothing changes.
    if (end.how == WalkEnd::How::Complete && result.cookieEntries == 0) {
        end = WalkEntries(cache, kCookiePattern, block, request, observer, result);
        // A service that knows only the container's own spelling finds nothing under the other.
        if (end.how == WalkEnd::How::Complete && !end.metAny) {
            end = WalkEntries(cache, kCookieContainerPrefix, block, request, observer, result);
        }
    }
    result.stopped = end.how == WalkEnd::How::Stopped;
    result.complete = end.how == WalkEnd::How::Complete;
    return result;
}

CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place,
                            const CacheRequest& request, SweepObserver& observer) {
    CacheSweepResult result;
    result.walk = WalkUrlCache(services.urlCache, services.heap, request, observer);
    if (result.walk.stopped) return result;
    result.cookieFiles =
        SweepCookieFiles(services.files, place, request.deleteEntries && request.includeCookies, observer);
    return result;
}
