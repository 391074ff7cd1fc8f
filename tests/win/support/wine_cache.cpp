// wininet calls that seed and inspect the cache for the Windows-side tests and the benchmark.
#include "tests/win/support/wine_cache.h"

#include <windows.h>
#include <wininet.h>

namespace {

// Walks every entry, growing the buffer whenever wininet asks; visit sees each entry once.
template <typename Visit>
void WalkCache(Visit visit) {
    std::vector<char> buffer(4096);
    auto record = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()); };
    DWORD size = static_cast<DWORD>(buffer.size());
    HANDLE walk = FindFirstUrlCacheEntryA(nullptr, record(), &size);
    if (walk == nullptr && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        walk = FindFirstUrlCacheEntryA(nullptr, record(), &size);
    }
    if (walk == nullptr) return;
    for (;;) {
        visit(*record());
        size = static_cast<DWORD>(buffer.size());
        if (FindNextUrlCacheEntryA(walk, record(), &size)) continue;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        buffer.resize(size);
        if (!FindNextUrlCacheEntryA(walk, record(), &size)) break;
    }
    FindCloseUrlCache(walk);
}

}  // namespace

bool CommitEntry(const std::string& url, std::size_t headerBytes) {
    const FILETIME never{};
    std::string header(headerBytes, 'h');
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY,
                                headerBytes == 0 ? nullptr : reinterpret_cast<BYTE*>(header.data()),
                                static_cast<DWORD>(headerBytes), nullptr, nullptr) != FALSE;
}

bool CommitEntryWithFile(const std::string& url) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(handle, "x", 1, &written, nullptr);
    CloseHandle(handle);
    const FILETIME never{};
    return wrote && CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                         nullptr) != FALSE;
}

bool SetPersistentCookie(const std::string& url, const std::string& nameValue) {
    const std::string cookie = nameValue + "; expires=Fri, 01 Jan 2038 00:00:00 GMT";
    return InternetSetCookieA(url.c_str(), nullptr, cookie.c_str()) != FALSE;
}

std::vector<std::string> CacheUrls() {
    std::vector<std::string> urls;
    WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) { urls.emplace_back(entry.lpszSourceUrlName); });
    return urls;
}

std::size_t ClearCache() {
    for (const std::string& url : CacheUrls()) DeleteUrlCacheEntryA(url.c_str());
    return CacheUrls().size();
}
