// The pass over the URL cache: a walk without a pattern, then the cookie and history containers
// when it met none of theirs; one growing block for all; each entry sorted by its type and
// deleted where it stands.
#include "sweep/cache_sweep.h"

#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "sweep/kept_cookie_filter.h"
#include "sweep/source.h"

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

// The failures that mean the entry is in use: the service deletes it once it is released.
bool InUse(std::uint32_t error) {
    return error == kErrorAccessDenied || error == kErrorSharingViolation;
}

// One pass: its walks share the block, the counts and what they have met so far.
class CachePass {
public:
    CachePass(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer, KeptCookieFilter& keep)
        : cache_(cache), block_(heap), request_(request), observer_(observer), keep_(keep) {}

    CacheWalkResult Run();

private:
    WalkEnd Walk(const char* pattern);
    // A container under the reference's spelling, then under its own when that found nothing
    // at once: a service that knows only one of the two finds nothing under the other.
    WalkEnd WalkContainer(const char* pattern, const char* containerPrefix);
    void Take(const CacheEntryRecord& entry);
    bool Deletes(Kind kind);

    UrlCache& cache_;
    EntryBlock block_;
    const CacheRequest& request_;
    SweepObserver& observer_;
    KeptCookieFilter& keep_;
    CacheWalkResult result_;
    bool metCookie_ = false;
    bool metVisited_ = false;
};

bool CachePass::Deletes(Kind kind) {
    if (!request_.counted.Has(kind) || !request_.deleted.Has(kind)) return false;
    return kind != Kind::Cookies || !keep_.Unreadable();
}

void CachePass::Take(const CacheEntryRecord& entry) {
    const Store store = CacheEntryStore(entry.CacheEntryType, entry.lpszSourceUrlName);
    metCookie_ = metCookie_ || store == Store::Cookie;
    metVisited_ = metVisited_ || store == Store::Visited;
    const SweepItem item{store, entry.lpszSourceUrlName != nullptr ? entry.lpszSourceUrlName : ""};
    const Kind kind = KindOf(store);
    Tally& tally = result_.counts[kind];
    const bool asked = request_.counted.Has(kind);
    if (store == Store::Cookie && asked && keep_.KeepsCookie(item.name)) {
        ++tally.kept;
        keep_.RememberKeptFile(entry.lpszLocalFileName);
        observer_.OnKept(item);
        return;
    }
    if (asked) ++tally.found;
    observer_.OnVisit(item);
    if (!Deletes(kind) || entry.lpszSourceUrlName == nullptr) return;
    if (cache_.DeleteEntry(entry.lpszSourceUrlName)) {
        ++tally.deleted;
    } else if (InUse(cache_.LastError())) {
        ++tally.pending;
        observer_.OnDeletePending(item);
    } else {
        observer_.OnStayed(item);
    }
}

// The pass's first walk allocates the block at kInitialBlockSize; the walks after it keep it.
WalkEnd CachePass::Walk(const char* pattern) {
    ScopedCacheWalk walk(cache_, pattern);
    std::uint32_t status = kErrorInsufficientBuffer;
    std::uint32_t wanted = kInitialBlockSize;
    bool metAny = false;

    // On want of room, wanted is what the service asks for. A failed call whose error reads 0
    // has left the block as it was: the last entry is not to be taken for a new one.
    auto fetch = [&] {
        std::uint32_t size = block_.size();
        const bool ok = walk.Fetch(block_.record(), size);
        status = ok ? kErrorSuccess : cache_.LastError();
        if (!ok && status == kErrorSuccess) status = kFailedWithoutReason;
        if (!ok) wanted = size;
    };
    auto end = [&](WalkEnd::How how) { return WalkEnd{how, metAny}; };

    if (block_.size() != 0) fetch();
    for (;;) {
        if (status == kErrorSuccess) {
            if (observer_.StopRequested()) return end(WalkEnd::How::Stopped);
            metAny = true;
            Take(*block_.record());
            fetch();
        } else if (status == kErrorInsufficientBuffer) {
            // A service that refuses a block as large as the one it asks for would be asked
            // for ever; a block that cannot be had ends the walk the same way.
            if (block_.size() != 0 && wanted <= block_.size()) return end(WalkEnd::How::Failed);
            if (!block_.Replace(wanted)) return end(WalkEnd::How::Failed);
            fetch();
        } else {
            return end(status == kErrorNoMoreItems ? WalkEnd::How::Complete : WalkEnd::How::Failed);
        }
    }
}

WalkEnd CachePass::WalkContainer(const char* pattern, const char* containerPrefix) {
    const WalkEnd end = Walk(pattern);
    if (end.how == WalkEnd::How::Complete && !end.metAny) return Walk(containerPrefix);
    return end;
}

// The service's reference says a walk without a pattern returns the content entries alone;
// Wine's cache and the older one return the cookies and the history in it too. A container is
// walked on its own only after a whole walk that met none of its entries, so where that walk
// met them nothing is walked twice, and nothing counted twice.
CacheWalkResult CachePass::Run() {
    bool complete = true;
    auto note = [&](const WalkEnd& end) {
        result_.stopped = end.how == WalkEnd::How::Stopped;
        complete = complete && end.how == WalkEnd::How::Complete;
        return !result_.stopped;
    };
    bool wholeDefaultWalk = true;
    if (request_.counted.Meets({Kind::CachedFiles, Kind::Cookies})) {
        const WalkEnd end = Walk(nullptr);
        if (!note(end)) return result_;
        wholeDefaultWalk = end.how == WalkEnd::How::Complete;
        if (wholeDefaultWalk && !metCookie_ && !note(WalkContainer(kCookiePattern, kCookieContainerPrefix))) {
            return result_;
        }
    }
    if (request_.counted.Has(Kind::VisitedPages) && wholeDefaultWalk && !metVisited_ &&
        !note(WalkContainer(kVisitedPattern, kVisitedContainerPrefix))) {
        return result_;
    }
    result_.complete = complete;
    return result_;
}

}  // namespace

Store CacheEntryStore(std::uint32_t entryType, const char* sourceUrl) {
    if ((entryType & kCookieCacheEntry) != 0) return Store::Cookie;
    if ((entryType & kUrlHistoryCacheEntry) != 0) return Store::Visited;
    constexpr std::size_t kPrefixLength = sizeof kVisitedContainerPrefix - 1;
    if (sourceUrl != nullptr && strnlen(sourceUrl, kPrefixLength) == kPrefixLength &&
        EqualsIgnoringAsciiCase(std::string_view(sourceUrl, kPrefixLength), kVisitedContainerPrefix)) {
        return Store::Visited;
    }
    return Store::Cache;
}

CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer,
                             KeptCookieFilter* keep) {
    KeptCookieFilter noList({}, observer);
    return CachePass(cache, heap, request, observer, keep != nullptr ? *keep : noList).Run();
}

void RunUrlCache(SourceContext& context) {
    const CacheRequest request{.counted = context.counted, .deleted = context.Deleted()};
    const CacheWalkResult walk =
        WalkUrlCache(context.services.urlCache, context.services.heap, request, context.observer, &context.keep);
    context.result.counts += walk.counts;
    context.result.complete = walk.complete;
    context.result.stopped = walk.stopped;
    if (walk.complete) context.keep.KeptFilesKnown();
    // On Windows the History pane's by-day and by-week views live in containers of their own that
    // no walk of the history reaches; the history's own clear empties them, once the pages
    // visited went. Where it is a stub (Wine: E_NOTIMPL) there is nothing more to clear, and
    // nothing to say.
    if (walk.complete && context.Deletes(Kind::VisitedPages)) context.services.history.ClearHistory();
}
