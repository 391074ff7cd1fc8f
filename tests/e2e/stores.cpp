// Seeds and reads the stores the program works on (registry, URL cache, files) from outside it.
#include "tests/e2e/stores.h"

#include <wininet.h>

#include <atomic>
#include <cstdio>

namespace e2e {
namespace {

class KeyGuard {
public:
    KeyGuard() = default;
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    ~KeyGuard() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool OpenKey(const std::string& path, REGSAM access, KeyGuard& key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, key.Out()) == ERROR_SUCCESS;
}

bool CreateKey(const std::string& path, KeyGuard& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
}

bool SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size) {
    KeyGuard key;
    if (!CreateKey(path, key)) return false;
    return RegSetValueExA(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

// Walks the whole cache once; a record larger than the buffer is fetched again into a grown one.
template <typename Visit>
bool WalkCache(Visit visit) {
    std::vector<unsigned char> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    auto entry = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()); };
    entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
    HANDLE walk = FindFirstUrlCacheEntryA(nullptr, entry(), &size);
    if (!walk && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        entry()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        walk = FindFirstUrlCacheEntryA(nullptr, entry(), &size);
    }
    if (!walk) return GetLastError() == ERROR_NO_MORE_ITEMS;
    bool complete = false;
    for (;;) {
        visit(*entry());
        size = static_cast<DWORD>(buffer.size());
        if (FindNextUrlCacheEntryA(walk, entry(), &size)) continue;
        DWORD error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            buffer.resize(size);
            if (FindNextUrlCacheEntryA(walk, entry(), &size)) continue;
            error = GetLastError();
        }
        complete = error == ERROR_NO_MORE_ITEMS;
        break;
    }
    FindCloseUrlCache(walk);
    return complete;
}

}  // namespace

bool DeleteKeyTree(const std::string& path) {
    LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    return RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS || !KeyExists(path);
}

bool KeyExists(const std::string& path) {
    KeyGuard key;
    return OpenKey(path, KEY_READ, key);
}

bool SetString(const std::string& path, const std::string& name, const std::string& text) {
    return SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool SetDword(const std::string& path, const std::string& name, DWORD value) {
    return SetRaw(path, name, REG_DWORD, &value, sizeof value);
}

std::optional<RegValue> ReadValue(const std::string& path, const std::string& name) {
    KeyGuard key;
    if (!OpenKey(path, KEY_READ, key)) return std::nullopt;
    RegValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::vector<std::string> ValueNames(const std::string& path) {
    std::vector<std::string> names;
    KeyGuard key;
    if (!OpenKey(path, KEY_READ, key)) return names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD chars = sizeof name;
        if (RegEnumValueA(key.Get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, chars);
    }
    return names;
}

RegValue SzValue(const std::string& text) {
    RegValue value;
    value.type = REG_SZ;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return value;
}

std::string Describe(const std::optional<RegValue>& value) {
    if (!value) return "(missing)";
    std::string out = "type " + std::to_string(value->type) + ", bytes";
    char hex[4];
    for (unsigned char byte : value->data) {
        std::snprintf(hex, sizeof hex, " %02x", byte);
        out += hex;
    }
    return out;
}

bool AddCacheEntry(const std::string& url) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const char body[] = "<html>seeded</html>";
    DWORD written = 0;
    BOOL wrote = WriteFile(handle, body, sizeof body - 1, &written, nullptr);
    CloseHandle(handle);
    if (!wrote) return false;
    FILETIME none = {};
    return CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr) !=
           FALSE;
}

bool AddCookie(const std::string& domain, const std::string& name) {
    // Only a cookie with an expiry date is persistent, and only a persistent one reaches the cache.
    std::string data = "value-of-" + name + "; expires=Sat, 01-Jan-2050 00:00:00 GMT";
    std::string url = "http://" + domain + "/";
    return InternetSetCookieA(url.c_str(), name.c_str(), data.c_str()) != FALSE;
}

CacheCensus TakeCensus() {
    CacheCensus census;
    census.complete = WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
        std::string url = entry.lpszSourceUrlName ? entry.lpszSourceUrlName : "";
        if (entry.CacheEntryType & COOKIE_CACHE_ENTRY) {
            census.cookies.push_back(url);
        } else {
            census.files.push_back(url);
        }
    });
    return census;
}

bool WipeCache() {
    std::vector<std::string> urls;
    if (!WalkCache([&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
            if (entry.lpszSourceUrlName) urls.emplace_back(entry.lpszSourceUrlName);
        })) {
        return false;
    }
    for (const std::string& url : urls) DeleteUrlCacheEntryA(url.c_str());
    CacheCensus after = TakeCensus();
    return after.complete && after.files.empty() && after.cookies.empty();
}

std::string UniqueName(const std::string& stem) {
    static std::atomic<unsigned> next{0};
    return stem + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(next++);
}

std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, length < MAX_PATH ? length : 0);
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(handle);
    return wrote && written == content.size();
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(handle);
    return content;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace e2e
