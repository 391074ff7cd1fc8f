// The pass over the URL cache: a walk without a pattern, then the cookie and history containers
// when it met none of theirs; one growing block for all; each entry sorted by its type and
// deleted where it stands.
#include "sweep/cache_sweep.h"

#include <cstring>
#include <optional>
#include <set>
#include <string>

#include "platform/ascii_case.h"
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

// The failures that mean the entry is in use: the service deletes it once it is released.
bool InUse(std::uint32_t error) {
    return error == kErrorAccessDenied || error == kErrorSharingViolation;
}

// The last part of a local file's path, as a file search in its folder names it, lower-cased.
std::string BareFileName(const char* path) {
    if (path == nullptr) return {};
    const std::string_view whole(path);
    const std::size_t slash = whole.find_last_of("\\/");
    return AsciiLowered(std::string(slash == std::string_view::npos ? whole : whole.substr(slash + 1)));
}

// One pass: its walks share the block, the counts, what they have met so far and the list of
// cookies to keep; the cookie folder's sweep after them asks it which files are kept.
class CachePass final : public CookieFileKeeping {
public:
    CachePass(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer,
              const KeptListSource& keptList)
        : cache_(cache), block_(heap), request_(request), observer_(observer), keptSource_(keptList) {}

    CacheWalkResult Run();
    bool ListUnreadable() const { return kept_ && kept_->Unreadable(); }

    bool Keeps(std::string_view fileName) override;
    bool HoldsEveryFile() override;

private:
    WalkEnd Walk(const char* pattern);
    // A container under the reference's spelling, then under its own when that found nothing
    // at once: a service that knows only one of the two finds nothing under the other.
    WalkEnd WalkContainer(const char* pattern, const char* containerPrefix);
    void Take(const CacheEntryRecord& entry);
    bool Asked(Store store) const;
    bool Deletes(Store store);
    const KeptCookieList& KeptList();
    // A counted cookie entry that the list keeps: reported, and its local file remembered.
    bool KeepsEntry(const CacheEntryRecord& entry, const SweepItem& item);

    UrlCache& cache_;
    EntryBlock block_;
    const CacheRequest& request_;
    SweepObserver& observer_;
    const KeptListSource& keptSource_;
    std::optional<KeptCookieList> kept_;
    // The local files of the kept entries met, as BareFileName gives them.
    std::set<std::string, std::less<>> keptFiles_;
    CacheWalkResult result_;
    bool metCookie_ = false;
    bool metVisited_ = false;
};

const KeptCookieList& CachePass::KeptList() {
    if (!kept_) {
        kept_ = keptSource_ ? keptSource_() : KeptCookieList{};
        if (kept_->Unreadable()) {
            result_.keptListUnreadable = true;
            observer_.OnKeptListUnreadable();
        }
    }
    return *kept_;
}

bool CachePass::KeepsEntry(const CacheEntryRecord& entry, const SweepItem& item) {
    const KeptCookieList& list = KeptList();
    if (list.state != KeptCookieList::State::List || !list.sites.KeepsCookie(item.name)) return false;
    ++result_.cookiesKept;
    if (std::string file = BareFileName(entry.lpszLocalFileName); !file.empty()) keptFiles_.insert(std::move(file));
    observer_.OnKept(item);
    return true;
}

bool CachePass::Keeps(std::string_view fileName) {
    return !keptFiles_.empty() && keptFiles_.count(AsciiLowered(std::string(fileName))) != 0;
}

bool CachePass::HoldsEveryFile() {
    const KeptCookieList& list = KeptList();
    if (list.Unreadable()) return true;
    return list.state == KeptCookieList::State::List && !list.sites.Empty() && !result_.complete;
}

bool CachePass::Asked(Store store) const {
    return store == Store::Visited ? request_.includeVisited : request_.includeContent;
}

bool CachePass::Deletes(Store store) {
    if (!request_.deleteEntries || !Asked(store)) return false;
    return store != Store::Cookie || (request_.includeCookies && !KeptList().Unreadable());
}

void CachePass::Take(const CacheEntryRecord& entry) {
    const Store store = CacheEntryStore(entry.CacheEntryType, entry.lpszSourceUrlName);
    metCookie_ = metCookie_ || store == Store::Cookie;
    metVisited_ = metVisited_ || store == Store::Visited;
    const SweepItem item{store, entry.lpszSourceUrlName != nullptr ? entry.lpszSourceUrlName : ""};
    if (store == Store::Cookie && Asked(store) && KeepsEntry(entry, item)) return;
    int* counted = nullptr;
    int* deleted = nullptr;
    switch (store) {
        case Store::Cookie:
            counted = &result_.cookieEntries;
            deleted = &result_.deletedCookieEntries;
            break;
        case Store::Visited:
            counted = &result_.visitedPages;
            deleted = &result_.deletedVisitedPages;
            break;
        default:
            counted = &result_.cachedFiles;
            deleted = &result_.deletedFiles;
            break;
    }
    if (Asked(store)) ++*counted;
    observer_.OnVisit(item);
    if (!Deletes(store) || entry.lpszSourceUrlName == nullptr) return;
    if (cache_.DeleteEntry(entry.lpszSourceUrlName)) {
        ++*deleted;
    } else if (InUse(cache_.LastError())) {
        ++result_.pendingDeletions;
        observer_.OnDeletePending(item);
    } else {
        observer_.OnNotDeleted(item);
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
    if (request_.includeContent) {
        const WalkEnd end = Walk(nullptr);
        if (!note(end)) return result_;
        wholeDefaultWalk = end.how == WalkEnd::How::Complete;
        if (wholeDefaultWalk && !metCookie_ && !note(WalkContainer(kCookiePattern, kCookieContainerPrefix))) {
            return result_;
        }
    }
    if (request_.includeVisited && wholeDefaultWalk && !metVisited_ &&
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
                             const KeptListSource& keptList) {
    return CachePass(cache, heap, request, observer, keptList).Run();
}

CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place,
                            const CacheRequest& request, SweepObserver& observer) {
    const KeptListSource readList = [&registry = services.registry] { return ReadKeptCookieList(registry); };
    CachePass pass(services.urlCache, services.heap, request, observer, readList);
    CacheSweepResult result;
    result.walk = pass.Run();
    if (result.walk.stopped || !request.includeContent) return result;
    result.cookieFiles =
        SweepCookieFiles(services.files, place, request.deleteEntries && request.includeCookies, observer, &pass);
    result.walk.keptListUnreadable = pass.ListUnreadable();
    return result;
}
