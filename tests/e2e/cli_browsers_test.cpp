// brumix.exe and the other browsers, over profiles written into the prefix's user folders in the
// browsers' own layouts: --browsers counted and cleared, an unknown id refused, a browser that
// holds its files from another process left whole with exit 3, and the choice without the
// option on a first start and after an earlier release.
#include <string>

#include "platform/win32/wide_text.h"
#include "tests/e2e/cli_e2e_fixture.h"
#include "tests/support/firefox_fixture.h"
#include "tests/win/wine_profiles.h"

namespace e2e {
namespace {

std::string Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WideToUtf8(value) : std::string();
}

// The folder and everything in it; the profiles live only in the throwaway prefix.
void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Utf8ToWide(path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::string child = path + "\\" + WideToUtf8(name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(Utf8ToWide(child).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Utf8ToWide(path).c_str());
}

// The number a JSON path leads to, or -1 when it is not there or no number.
double Number(const JsonValue& root, std::initializer_list<const char*> keys) {
    const JsonValue* value = &root;
    for (const char* key : keys) {
        value = value->Get(key);
        if (value == nullptr) return -1;
    }
    return value->kind == JsonValue::Kind::Number ? value->number : -1;
}

// Edge with one profile (a cached file, two cookies, a typed address and a page visited) and
// Firefox with one (a cached file, a cookie, a typed place with the address bar's memory of it).
class CliBrowsers : public CliE2e {
protected:
    void SetUp() override {
        CliE2e::SetUp();
        local_ = Environment(L"LOCALAPPDATA");
        roaming_ = Environment(L"APPDATA");
        ASSERT_FALSE(local_.empty() || roaming_.empty());
        edge_ = local_ + "\\Microsoft\\Edge\\User Data";
        firefoxProfile_ = roaming_ + "\\Mozilla\\Firefox\\Profiles\\p1.default";
        WriteFileBytes(edgeDefault() + "\\Cache\\Cache_Data\\f_000001", "entry");
        const FixtureCookie cookies[] = {{".bank.example"}, {"tracker.example"}};
        WriteFileBytes(edgeDefault() + "\\Network\\Cookies", CookiesFile(cookies));
        const FixtureUrl urls[] = {{"https://typed.example/", 1, 1}, {"https://b.example/", 0, 1}};
        WriteFileBytes(edgeDefault() + "\\History", HistoryFile(urls));
        WriteFileBytes(edgeDefault() + "\\Bookmarks", "{}");

        const FixtureIniProfile listed[] = {{"default", "Profiles/p1.default"}};
        WriteFileBytes(roaming_ + "\\Mozilla\\Firefox\\profiles.ini", ProfilesIniText(listed));
        WriteFileBytes(local_ + "\\Mozilla\\Firefox\\Profiles\\p1.default\\cache2\\entries\\A1", "entry");
        const FixtureCookie firefoxCookies[] = {{"www.shop.example"}};
        WriteFileBytes(firefoxProfile_ + "\\cookies.sqlite", FirefoxCookiesFile(firefoxCookies));
        FixtureDatabase places = PlacesDatabase();
        AddPlace(places, {"https://ff-typed.example/", true, 1});
        WriteFileBytes(firefoxProfile_ + "\\places.sqlite", places.Bytes());
    }
    void TearDown() override {
        RemoveTree(local_ + "\\Microsoft\\Edge");
        RemoveTree(local_ + "\\Mozilla");
        RemoveTree(roaming_ + "\\Mozilla");
        CliE2e::TearDown();
    }
    std::string edgeDefault() const { return edge_ + "\\Default"; }
    std::int64_t EdgeCookies() const {
        return OpenDatabaseFile(edgeDefault() + "\\Network\\Cookies").Number("SELECT count(*) FROM cookies");
    }

    std::string local_;
    std::string roaming_;
    std::string edge_;
    std::string firefoxProfile_;
};

TEST_F(CliBrowsers, CountsAndClearsTheChosenBrowsersAsTheirShares) {
    CliResult run = RunCli({"count", "--browsers", "edge,firefox", "--json"});
    ASSERT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue counts = ParseOrFail(run.out);
    EXPECT_EQ(Number(counts, {"browsers", "edge", "profiles"}), 1) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "edge", "cached_files"}), 1) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "edge", "cookies"}), 2) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "edge", "typed_urls"}), 1) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "edge", "visited_pages"}), 1) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "firefox", "cookies"}), 1) << run.out;
    EXPECT_EQ(Number(counts, {"browsers", "firefox", "typed_urls"}), 2) << run.out;
    EXPECT_EQ(Number(counts, {"cookies"}), 3) << "the totals hold the browsers' shares: " << run.out;
    const JsonValue* browsers = counts.Get("browsers");
    EXPECT_TRUE(browsers != nullptr && browsers->members.size() == 2) << run.out;
    EXPECT_EQ(EdgeCookies(), 2);

    run = RunCli({"clear", "--temp", "--cookies", "--history", "--visited", "--browsers", "edge,firefox", "--json"});
    ASSERT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue cleared = ParseOrFail(run.out);
    EXPECT_EQ(Number(cleared, {"browsers", "edge", "deleted", "cookies"}), 2) << run.out;
    EXPECT_EQ(Number(cleared, {"browsers", "firefox", "deleted", "typed_urls"}), 2) << run.out;
    EXPECT_EQ(EdgeCookies(), 0);
    EXPECT_FALSE(Exists(edgeDefault() + "\\Cache\\Cache_Data\\f_000001"));
    EXPECT_EQ(OpenDatabaseFile(firefoxProfile_ + "\\cookies.sqlite").Number("SELECT count(*) FROM moz_cookies"), 0);
    EXPECT_EQ(OpenDatabaseFile(edgeDefault() + "\\History").Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(ReadFileBytes(edgeDefault() + "\\Bookmarks"), "{}");

    run = RunCli({"count", "--browsers", "edge,firefox"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out,
                {"Microsoft Edge (1 profile): Cached Files 0, Cookies 0, URLs In History 0, Pages Visited 0",
                 "Mozilla Firefox (1 profile): Cached Files 0, Cookies 0, URLs In History 0, Pages Visited 0"});
    ExpectNeighboursIntact();
}

TEST_F(CliBrowsers, AnUnknownBrowserIsAUsageErrorAndTouchesNothing) {
    const CliResult run = RunCli({"clear", "--temp", "--cookies", "--browsers", "nosuch"});
    EXPECT_EQ(run.exitCode, 2u) << Said(run);
    EXPECT_NE(run.err.find("unknown browser 'nosuch'"), std::string::npos) << Said(run);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(EdgeCookies(), 2);
}

// Held from another process as the running browser holds it: Edge's lockfile, Firefox's
// parent.lock.
TEST_F(CliBrowsers, ABrowserHoldingItsFilesIsLeftWholeNamedAndGivesExitThree) {
    {
        Holder holder(L"lockfile", edge_ + "\\lockfile");
        ASSERT_TRUE(holder.Holding());
        const CliResult run = RunCli({"clear", "--temp", "--cookies", "--browsers", "edge"});
        EXPECT_EQ(run.exitCode, 3u) << Said(run);
        EXPECT_NE(run.err.find("brumix: Microsoft Edge is running, so it was left whole"), std::string::npos)
            << Said(run);
        EXPECT_NE(run.err.find("Startup boost"), std::string::npos) << Said(run);
        ExpectLines(run.out, {"Microsoft Edge (1 profile, in use): Cached Files deleted 0, Cookies deleted 0, "
                              "URLs In History deleted 0"});
    }
    EXPECT_EQ(EdgeCookies(), 2);
    EXPECT_TRUE(Exists(edgeDefault() + "\\Cache\\Cache_Data\\f_000001"));

    Holder holder(L"parentlock", firefoxProfile_ + "\\parent.lock");
    ASSERT_TRUE(holder.Holding());
    const CliResult run = RunCli({"count", "--browsers", "firefox", "--json"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    EXPECT_NE(run.err.find("brumix: Mozilla Firefox is running, so a clear leaves it whole"), std::string::npos)
        << Said(run);
    const JsonValue counts = ParseOrFail(run.out);
    const JsonValue* browsers = counts.Get("browsers");
    const JsonValue* firefox = browsers != nullptr ? browsers->Get("firefox") : nullptr;
    const JsonValue* inUse = firefox != nullptr ? firefox->Get("in_use") : nullptr;
    EXPECT_TRUE(inUse && inUse->kind == JsonValue::Kind::Bool && inUse->boolean) << run.out;
}

// Nothing stored: every browser installed now; the seven choices stored without a list, as an
// earlier release left them: none. brumix writes no setting either way.
TEST_F(CliBrowsers, WithoutTheOptionAFirstStartTakesWhatIsInstalledAnUpgradeNone) {
    const auto before = SettingsSnapshot();
    CliResult run = RunCli({"count", "--json"});
    ASSERT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue counts = ParseOrFail(run.out);
    const JsonValue* browsers = counts.Get("browsers");
    ASSERT_NE(browsers, nullptr) << run.out;
    EXPECT_EQ(browsers->members.size(), 2u) << run.out;
    EXPECT_NE(browsers->Get("edge"), nullptr) << run.out;
    EXPECT_NE(browsers->Get("firefox"), nullptr) << run.out;
    EXPECT_EQ(SettingsSnapshot(), before);

    for (const char* name : {"cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "timer", "modal"})
        ASSERT_EQ(SetTextValue(kSettingsPath, name, "0"), ERROR_SUCCESS) << name;
    const auto upgraded = SettingsSnapshot();
    run = RunCli({"count", "--json"});
    ASSERT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(ParseOrFail(run.out).Get("browsers"), nullptr) << run.out;
    EXPECT_EQ(Number(ParseOrFail(run.out), {"cookies"}), 0) << run.out;
    EXPECT_EQ(SettingsSnapshot(), upgraded);
}

}  // namespace
}  // namespace e2e
