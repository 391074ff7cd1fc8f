// The stores of the end-to-end drivers, laid out straight through the Windows API.
#include "tests/support/e2e_stores.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace {

constexpr char kSiblingPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsBackup";
constexpr char kNestedPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs\\Nested";
constexpr char kOtherToolPath[] = "SOFTWARE\\Quellmar\\Other Tool";
constexpr char kIeNeighbour[] = "TypedURLsNeighbour";

struct Neighbour {
    const char* path;
    const char* name;
    const char* text;
};

const Neighbour kNeighbours[] = {
    {kSiblingPath, "url1", "http://sibling.example/"},
    {kIePath, kIeNeighbour, "keep me"},
    {kNestedPath, "url1", "http://nested.example/"},
    {kOtherToolPath, "cached_urls", "1"},
    {kOtherToolPath, "timer", "45"},
    {kSettingsPath, "", "default value of the settings key"},
    {kSettingsPath, "extra", "not one of the seven"},
};

std::string VersionOverridePath(const std::string& exe) {
    return "Software\\Wine\\AppDefaults\\" + exe;
}

std::string OldCookieFolder() {
    return WindowsDir() + "\\CookiesOld";
}

void ExpectSz(const std::string& path, const char* name, const char* text) {
    const std::optional<RegValue> value = ReadValue(path, name);
    const RegValue wanted = SzValue(text);
    EXPECT_TRUE(value && value->type == wanted.type && value->data == wanted.data)
        << path << "\\" << name << ": " << Describe(value) << " instead of " << Describe(wanted);
}

}  // namespace

void EmptyStores() {
    ASSERT_TRUE(ClearCache()) << "the URL cache could not be emptied before the case";
    ASSERT_TRUE(DeleteKeyTree(kTypedUrlsPath));
    ASSERT_TRUE(DeleteKeyTree(kSettingsPath));
}

std::vector<std::string> SeedCacheFiles(int count) {
    std::vector<std::string> urls;
    for (int i = 0; i < count; ++i) {
        urls.push_back("http://" + UniqueName("files") + ".example/page.htm");
        EXPECT_TRUE(CommitEntryWithFile(urls.back(), "<html>seeded</html>")) << urls.back();
    }
    return urls;
}

std::vector<std::string> SeedVisitedPages(int count) {
    std::vector<std::string> urls;
    for (int i = 0; i < count; ++i) {
        urls.push_back("Visited: user@http://" + UniqueName("pages") + ".example/page.htm");
        EXPECT_TRUE(CommitVisitedPage(urls.back())) << urls.back();
    }
    return urls;
}

void SeedCookieDomains(int count) {
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(SetPersistentCookie("http://" + UniqueName("crumbs") + ".example/", "session=value-of-session"));
    }
}

void SeedCookiesFor(const std::vector<std::string>& hosts) {
    for (const std::string& host : hosts) {
        EXPECT_TRUE(SetPersistentCookie("http://" + host + "/", "session=value-of-session")) << host;
    }
}

// In UTF-16, as a Unicode editor (regedit, a policy) writes it; the sites are ASCII.
void StoreKeptSites(const std::vector<std::string>& sites) {
    std::vector<std::uint8_t> data;
    auto add = [&data](char c) {
        data.push_back(static_cast<std::uint8_t>(c));
        data.push_back(0);
    };
    for (const std::string& site : sites) {
        for (char c : site) add(c);
        add(0);
    }
    add(0);
    ASSERT_EQ(SetRawValue(kSettingsPath, L"keep_cookies", REG_MULTI_SZ, data), ERROR_SUCCESS);
}

void SeedTypedUrls(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ASSERT_EQ(SetTextValue(kTypedUrlsPath, name, "http://typed.example/" + name), ERROR_SUCCESS);
    }
}

void SeedCookieFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        ASSERT_TRUE(WriteTextFile(CookieFolderPath() + "\\" + name, "cookie file")) << name;
    }
}

void Remember(const std::vector<Stored>& values) {
    for (const Stored& stored : values) {
        ASSERT_EQ(SetTextValue(kSettingsPath, stored.name, stored.text), ERROR_SUCCESS) << stored.name;
    }
}

void ExpectStored(const std::vector<Stored>& values) {
    for (const Stored& stored : values) ExpectSz(kSettingsPath, stored.name, stored.text);
}

void ReportNonNtFamily(const std::string& exe) {
    ASSERT_EQ(SetTextValue(VersionOverridePath(exe), "Version", "win98"), ERROR_SUCCESS);
}

void ForgetVersionOverride(const std::string& exe) {
    EXPECT_TRUE(DeleteKeyTree(VersionOverridePath(exe)));
}

void Neighbours::Plant() {
    for (const char* path : {kSiblingPath, kOtherToolPath}) ASSERT_TRUE(DeleteKeyTree(path)) << path;
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kIePath, kIeNeighbour);
    for (const Neighbour& n : kNeighbours) {
        ASSERT_EQ(SetTextValue(n.path, n.name, n.text), ERROR_SUCCESS) << n.path << "\\" << n.name;
    }

    const std::string windows = WindowsDir();
    ASSERT_FALSE(windows.empty());
    const std::string cookies = CookieFolderPath();
    RemoveFolder(cookies);
    ASSERT_TRUE(MakeDirectory(cookies));
    ASSERT_TRUE(MakeDirectory(OldCookieFolder()));
    files_ = {cookies + "\\index.dat", cookies + "\\keep.txt.bak", cookies + "\\notes.text",
              windows + "\\cookie-canary.txt", OldCookieFolder() + "\\old@site.txt"};
    for (const std::string& path : files_) ASSERT_TRUE(WriteTextFile(path, "canary " + path));
}

void Neighbours::ExpectIntact() const {
    for (const Neighbour& n : kNeighbours) ExpectSz(n.path, n.name, n.text);
    EXPECT_EQ(ValueNames(kSiblingPath).size(), 1u);
    EXPECT_EQ(ValueNames(kNestedPath).size(), 1u);
    EXPECT_EQ(ValueNames(kOtherToolPath).size(), 2u);
    for (const std::string& path : files_) {
        const std::optional<std::string> content = ReadTextFile(path);
        EXPECT_TRUE(content && *content == "canary " + path) << path;
    }
}

void Neighbours::Remove() {
    for (const std::string& path : files_) DeleteFileA(path.c_str());
    RemoveFolder(CookieFolderPath());
    RemoveFolder(OldCookieFolder());
    for (const char* path : {kSiblingPath, kOtherToolPath, kNestedPath}) DeleteKeyTree(path);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kIePath, kIeNeighbour);
}
