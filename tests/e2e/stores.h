// Seeds and reads the stores the program works on (registry, URL cache, files) from outside it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr char kIePath[] = "Software\\Microsoft\\Internet Explorer";
inline constexpr char kTypedUrlsPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr char kSettingsPath[] = "SOFTWARE\\Quellmar\\Win Brumix";

struct RegValue {
    DWORD type = 0;
    std::vector<unsigned char> data;
};

// Registry, always under HKEY_CURRENT_USER.
bool DeleteKeyTree(const std::string& path);
bool KeyExists(const std::string& path);
bool SetString(const std::string& path, const std::string& name, const std::string& text);
bool SetDword(const std::string& path, const std::string& name, DWORD value);
std::optional<RegValue> ReadValue(const std::string& path, const std::string& name);
// Empty when the key is missing.
std::vector<std::string> ValueNames(const std::string& path);
// The exact bytes RegSetValueExA stores for a REG_SZ text: the text and one NUL.
RegValue SzValue(const std::string& text);
std::string Describe(const std::optional<RegValue>& value);

// URL cache. Cookies are stored by wininet as one cookie entry per domain.
bool AddCacheEntry(const std::string& url);
bool AddCookie(const std::string& domain, const std::string& name);
struct CacheCensus {
    std::vector<std::string> files;    // source URLs of the entries without the cookie bit
    std::vector<std::string> cookies;  // source URLs of the cookie entries
    bool complete = false;             // the walk ended with ERROR_NO_MORE_ITEMS
};
CacheCensus TakeCensus();
// Deletes every entry; true when the cache is then empty.
bool WipeCache();
// A name no earlier call in this process returned, so that seeded entries never collide.
std::string UniqueName(const std::string& stem);

// Files, with Windows paths.
std::string WindowsDir();
bool WriteTextFile(const std::string& path, const std::string& content);
std::optional<std::string> ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
bool MakeDirectory(const std::string& path);

}  // namespace e2e
