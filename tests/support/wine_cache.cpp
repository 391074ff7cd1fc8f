// wininet calls that seed and inspect the cache for the Windows-side tests, the end-to-end
// tests, the soak helper and the benchmark.
#include "tests/support/wine_cache.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstring>

namespace {

// Walks every entry, growing the buffer whenever wininet asks; visit sees each entry once.
// True when the walk ran to its end rather than breaking off.
template <typename Visit>
bool WalkCache(Visit visit) {
    std::vector<char> buffer(4096);
    auto record = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()); };
    DWORD size = static_cast<DWORD>(buffer.size());
    record()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
    HANDLE walk = FindFirstUrlCacheEntryA(nullptr, record(), &size);
    if (walk == nullptr && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        record()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        walk = FindFirstUrlCacheEntryA(nullptr, record(), &size);
    }
    if (walk == nullptr) return GetLastError() == ERROR_NO_MORE_ITEMS;
    bool complete = false;
    for (;;) {
        visit(*record());
        size = static_cast<DWORD>(buffer.size());
        if (FindNextUrlCacheEntryA(walk, record(), &size)) continue;
        DWORD error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            buffer.resize(size);
            if (FindNextUrlCacheEntryA(walk, record(), &size)) continue;
            error = GetLastError();
        }
        complete = error == ERROR_NO_MORE_ITEMS;
        break;
    }
    FindCloseUrlCache(walk);
    return complete;
}

std::string SourceUrl(const INTERNET_CACHE_ENTRY_INFOA& entry) {
    return entry.lpszSourceUrlName != nullptr ? entry.lpszSourceUrlName : "";
}

bool IsVisitedPage(const INTERNET_CACHE_ENTRY_INFOA& entry) {
    if ((entry.CacheEntryType & URLHISTORY_CACHE_ENTRY) != 0) return true;
    return _strnicmp(SourceUrl(entry).c_str(), "Visited:", 8) == 0;
}

}  // namespace

bool CommitEntry(const std::string& url, std::size_t headerBytes) {
    const FILETIME never{};
    std::string header(headerBytes, 'h');
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY,
                                headerBytes == 0 ? nullptr : reinterpret_cast<BYTE*>(header.data()),
                                static_cast<DWORD>(headerBytes), nullptr, nullptr) != FALSE;
}

bool CommitEntryWithFile(const std::string& url, const std::string& body) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(handle, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(handle);
    const FILETIME never{};
    return wrote && CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                         nullptr) != FALSE;
}

bool CommitVisitedPage(const std::string& url) {
    const FILETIME never{};
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY | URLHISTORY_CACHE_ENTRY,
                                nullptr, 0, nullptr, nullptr) != FALSE;
}

bool SetPersistentCookie(const std::string& url, const std::string& nameValue) {
    // Only a cookie with an expiry date is persistent, and only a persistent one reaches the cache.
    const std::string cookie = nameValue + "; expires=Sat, 01-Jan-2050 00:00:00 GMT";
    return InternetSetCookieA(url.c_str(), nullptr, cookie.c_str()) != FALSE;
}

std::string UniqueName(const std::string& stem) {
    static std::atomic<unsigned> next{0};
    return stem + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(next++);
}

CacheCensus TakeCensus() {
    CacheCensus census;
    census.complete = WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
        if ((entry.CacheEntryType & COOKIE_CACHE_ENTRY) != 0) {
            census.cookies.push_back(SourceUrl(entry));
        } else {
            (IsVisitedPage(entry) ? census.visited : census.files).push_back(SourceUrl(entry));
        }
    });
    return census;
}

std::vector<std::string> CacheUrls() {
    std::vector<std::string> urls;
    WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) { urls.push_back(SourceUrl(entry)); });
    return urls;
}

bool ClearCache() {
    std::vector<std::string> urls;
    const bool walked = WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
        if (entry.lpszSourceUrlName != nullptr) urls.emplace_back(entry.lpszSourceUrlName);
    });
    // Even after a broken-off walk the entries met are deleted, so that a clean-up does what it can.
    for (const std::string& url : urls) DeleteUrlCacheEntryA(url.c_str());
    if (!walked) return false;
    const CacheCensus after = TakeCensus();
    return after.complete && after.files.empty() && after.cookies.empty() && after.visited.empty();
}
