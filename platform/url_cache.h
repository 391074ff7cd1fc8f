// The browser's URL cache service: a walk over its entries, and deletion by URL.
#pragma once

#include <cstdint>

// The leading fields of the platform's published cache entry record, in its order and
// with its field sizes; the Win32 layer checks at compile time that the layouts agree,
// so an entry block written by the real service reads the same through this type.
struct CacheFileTime {
    std::uint32_t low;
    std::uint32_t high;
};

struct CacheEntryRecord {
    std::uint32_t dwStructSize;
    char* lpszSourceUrlName;
    char* lpszLocalFileName;
    std::uint32_t CacheEntryType;
    std::uint32_t dwUseCount;
    std::uint32_t dwHitRate;
    std::uint32_t dwSizeLow;
    std::uint32_t dwSizeHigh;
    CacheFileTime LastModifiedTime;
    CacheFileTime ExpireTime;
    CacheFileTime LastAccessTime;
    CacheFileTime LastSyncTime;
    char* lpHeaderInfo;
    std::uint32_t dwHeaderInfoSize;
    char* lpszFileExtension;
    std::uint32_t dwExemptDelta;
};

inline constexpr std::uint32_t kCookieCacheEntry = 0x00100000;
inline constexpr std::uint32_t kUrlHistoryCacheEntry = 0x00200000;
inline constexpr std::uint32_t kNormalCacheEntry = 0x00000001;

// Each container's prefix as the service's reference spells it, and as the container names
// itself; a service may match only one of the two.
inline constexpr char kCookiePattern[] = "cookie:";
inline constexpr char kCookieContainerPrefix[] = "Cookie:";
inline constexpr char kVisitedPattern[] = "visited:";
inline constexpr char kVisitedContainerPrefix[] = "Visited:";

class UrlCache {
public:
    using WalkHandle = std::uintptr_t;
    static constexpr WalkHandle kNoWalk = 0;

    virtual ~UrlCache() = default;

    // pattern: null for the service's default walk, or a container's prefix such as
    // kCookiePattern. On failure kNoWalk, with the reason in LastError(); for
    // kErrorInsufficientBuffer the needed size is left in size.
    virtual WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) = 0;
    // False when there is no next entry (kErrorNoMoreItems) or it does not fit.
    virtual bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) = 0;
    // May be called on the entry just returned; the walk goes on after it. An entry in use
    // fails with kErrorAccessDenied or kErrorSharingViolation and is deleted once released.
    virtual bool DeleteEntry(const char* sourceUrl) = 0;
    virtual void CloseWalk(WalkHandle walk) = 0;
    virtual std::uint32_t LastError() = 0;
};

// One cache walk, closed when the owner goes. The walk starts with the first entry fetched.
class ScopedCacheWalk {
public:
    explicit ScopedCacheWalk(UrlCache& cache, const char* pattern = nullptr) : cache_(cache), pattern_(pattern) {}
    ~ScopedCacheWalk() {
        if (walk_ != UrlCache::kNoWalk) cache_.CloseWalk(walk_);
    }
    ScopedCacheWalk(const ScopedCacheWalk&) = delete;
    ScopedCacheWalk& operator=(const ScopedCacheWalk&) = delete;

    // The first entry while no walk is open, the next one after that; false with the
    // reason in the cache's LastError() (and the needed size in size for want of room).
    bool Fetch(CacheEntryRecord* block, std::uint32_t& size) {
        if (walk_ != UrlCache::kNoWalk) return cache_.FindNextEntry(walk_, block, size);
        walk_ = cache_.FindFirstEntry(pattern_, block, size);
        return walk_ != UrlCache::kNoWalk;
    }

private:
    UrlCache& cache_;
    const char* pattern_;
    UrlCache::WalkHandle walk_ = UrlCache::kNoWalk;
};
