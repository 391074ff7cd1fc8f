// wininet's cache walk behind the UrlCache interface; the entry block is the caller's.
#include "platform/win32/win32_url_cache.h"

#include <windows.h>
#include <wininet.h>

#include <cstddef>

// The portable record is read in place of the published one, so every field must sit
// where wininet writes it.
#define BRUMIX_SAME_FIELD(field)                                                                      \
    static_assert(offsetof(CacheEntryRecord, field) == offsetof(INTERNET_CACHE_ENTRY_INFOA, field) && \
                      sizeof(CacheEntryRecord::field) == sizeof(INTERNET_CACHE_ENTRY_INFOA::field),   \
                  "CacheEntryRecord::" #field " does not match INTERNET_CACHE_ENTRY_INFOA")
static_assert(sizeof(CacheEntryRecord) == sizeof(INTERNET_CACHE_ENTRY_INFOA));
static_assert(alignof(CacheEntryRecord) == alignof(INTERNET_CACHE_ENTRY_INFOA));
static_assert(sizeof(CacheFileTime) == sizeof(FILETIME) &&
              offsetof(CacheFileTime, low) == offsetof(FILETIME, dwLowDateTime) &&
              offsetof(CacheFileTime, high) == offsetof(FILETIME, dwHighDateTime));
BRUMIX_SAME_FIELD(dwStructSize);
BRUMIX_SAME_FIELD(lpszSourceUrlName);
BRUMIX_SAME_FIELD(lpszLocalFileName);
BRUMIX_SAME_FIELD(CacheEntryType);
BRUMIX_SAME_FIELD(dwUseCount);
BRUMIX_SAME_FIELD(dwHitRate);
BRUMIX_SAME_FIELD(dwSizeLow);
BRUMIX_SAME_FIELD(dwSizeHigh);
BRUMIX_SAME_FIELD(LastModifiedTime);
BRUMIX_SAME_FIELD(ExpireTime);
BRUMIX_SAME_FIELD(LastAccessTime);
BRUMIX_SAME_FIELD(LastSyncTime);
BRUMIX_SAME_FIELD(lpHeaderInfo);
BRUMIX_SAME_FIELD(dwHeaderInfoSize);
BRUMIX_SAME_FIELD(lpszFileExtension);
BRUMIX_SAME_FIELD(dwExemptDelta);
#undef BRUMIX_SAME_FIELD
static_assert(kCookieCacheEntry == COOKIE_CACHE_ENTRY && kNormalCacheEntry == NORMAL_CACHE_ENTRY);

namespace {

INTERNET_CACHE_ENTRY_INFOA* Published(CacheEntryRecord* block) {
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block);
}

}  // namespace

UrlCache::WalkHandle Win32UrlCache::FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) {
    DWORD room = size;
    HANDLE walk = FindFirstUrlCacheEntryA(pattern, Published(block), &room);
    if (walk == nullptr) lastError_ = GetLastError();
    size = room;
    return reinterpret_cast<WalkHandle>(walk);
}

bool Win32UrlCache::FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) {
    DWORD room = size;
    const BOOL found = FindNextUrlCacheEntryA(reinterpret_cast<HANDLE>(walk), Published(block), &room);
    if (!found) lastError_ = GetLastError();
    size = room;
    return found != FALSE;
}

bool Win32UrlCache::DeleteEntry(const char* sourceUrl) {
    const BOOL deleted = DeleteUrlCacheEntryA(sourceUrl);
    if (!deleted) lastError_ = GetLastError();
    return deleted != FALSE;
}

void Win32UrlCache::CloseWalk(WalkHandle walk) {
    FindCloseUrlCache(reinterpret_cast<HANDLE>(walk));
}
