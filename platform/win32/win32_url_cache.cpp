// wininet's cache walk behind the UrlCache interface; the entry block is the caller's, and
// wininet comes from the system folder, never from beside the program.
#include "platform/win32/win32_url_cache.h"

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <type_traits>

#include "platform/win32/system_dll.h"

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
static_assert(kCookieCacheEntry == COOKIE_CACHE_ENTRY && kNormalCacheEntry == NORMAL_CACHE_ENTRY &&
              kUrlHistoryCacheEntry == URLHISTORY_CACHE_ENTRY);

// The four calls of the walk, resolved once per process.
struct WininetCalls {
    decltype(&FindFirstUrlCacheEntryA) findFirst = nullptr;
    decltype(&FindNextUrlCacheEntryA) findNext = nullptr;
    decltype(&DeleteUrlCacheEntryA) deleteEntry = nullptr;
    decltype(&FindCloseUrlCache) findClose = nullptr;
    SystemDllFailure failure;
};

namespace {

constexpr char kWininet[] = "wininet.dll";

INTERNET_CACHE_ENTRY_INFOA* Published(CacheEntryRecord* block) {
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block);
}

WininetCalls ResolveWininet() {
    WininetCalls calls;
    HMODULE dll = LoadSystemDll(L"wininet.dll");
    if (dll == nullptr) {
        calls.failure = {kWininet, nullptr, GetLastError()};
        return calls;
    }
    auto resolve = [&](auto& call, const char* name) {
        if (calls.failure) return;
        call = SystemDllFunction<std::remove_reference_t<decltype(call)>>(dll, name);
        if (call == nullptr) calls.failure = {kWininet, name, GetLastError()};
    };
    resolve(calls.findFirst, "FindFirstUrlCacheEntryA");
    resolve(calls.findNext, "FindNextUrlCacheEntryA");
    resolve(calls.deleteEntry, "DeleteUrlCacheEntryA");
    resolve(calls.findClose, "FindCloseUrlCache");
    return calls;
}

const WininetCalls& Wininet() {
    static const WininetCalls calls = ResolveWininet();
    return calls;
}

}  // namespace

SystemDllFailure Win32UrlCache::LoadWininet() {
    return Wininet().failure;
}

Win32UrlCache::Win32UrlCache() : calls_(Wininet()) {}

UrlCache::WalkHandle Win32UrlCache::FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) {
    if (calls_.failure) {
        Unavailable();
        return kNoWalk;
    }
    DWORD room = size;
    HANDLE walk = calls_.findFirst(pattern, Published(block), &room);
    if (walk == nullptr) lastError_ = GetLastError();
    size = room;
    return reinterpret_cast<WalkHandle>(walk);
}

bool Win32UrlCache::FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) {
    if (calls_.failure) return Unavailable();
    DWORD room = size;
    const BOOL found = calls_.findNext(reinterpret_cast<HANDLE>(walk), Published(block), &room);
    if (!found) lastError_ = GetLastError();
    size = room;
    return found != FALSE;
}

bool Win32UrlCache::DeleteEntry(const char* sourceUrl) {
    if (calls_.failure) return Unavailable();
    const BOOL deleted = calls_.deleteEntry(sourceUrl);
    if (!deleted) lastError_ = GetLastError();
    return deleted != FALSE;
}

void Win32UrlCache::CloseWalk(WalkHandle walk) {
    if (!calls_.failure) calls_.findClose(reinterpret_cast<HANDLE>(walk));
}

bool Win32UrlCache::Unavailable() {
    lastError_ = ERROR_PROC_NOT_FOUND;
    return false;
}
