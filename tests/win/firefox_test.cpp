// Firefox's pass over the Win32 adapters and real files in the prefix: a relative profile and one
// given by its full path, under a user name outside ASCII, with places.sqlite's write-ahead log
// and page size kept; Firefox holding parent.lock, or its places, from another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/browser_services.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/firefox_sweep.h"
#include "tests/support/firefox_fixture.h"
#include "tests/win/wine_profiles.h"

namespace {

// "Zoë Ñ": a user name outside ASCII, and outside most code pages together.
const std::string kUser = "C:\\users\\Zo\xC3\xAB \xC3\x91";
const std::string kRoaming = kUser + "\\AppData\\Roaming";
const std::string kLocal = kUser + "\\AppData\\Local";
const std::string kRelative = kRoaming + "\\Mozilla\\Firefox\\Profiles\\x1y2z3.default-release";
const std::string kRelativeCache = kLocal + "\\Mozilla\\Firefox\\Profiles\\x1y2z3.default-release";
const std::string kAbsolute = "C:\\Firefox Profiles\\Zo\xC3\xAB";
constexpr KindSet kAll = KindSet::All();
const char* const kUntouched[] = {"\\logins.json", "\\key4.db", "\\formhistory.sqlite"};

class WinFirefoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8ToWide(kLocal).c_str());
        SetEnvironmentVariableW(L"APPDATA", Utf8ToWide(kRoaming).c_str());
        const FixtureIniProfile listed[] = {{"default-release", "Profiles/x1y2z3.default-release"},
                                            {"work", kAbsolute, false}};
        WriteFileBytes(kRoaming + "\\Mozilla\\Firefox\\profiles.ini", ProfilesIniText(listed));
        AddProfile(kRelative, kRelativeCache);
        AddProfile(kAbsolute, kAbsolute);
    }
    // places.sqlite as Firefox keeps it: pages of 32 KB, in write-ahead-log mode.
    static void AddProfile(const std::string& profile, const std::string& cache) {
        WriteFileBytes(cache + "\\cache2\\entries\\0A1B2C3D", "entry");
        WriteFileBytes(cache + "\\startupCache\\scriptCache-current.bin", "scripts");
        const FixtureCookie cookies[] = {{".bank.example"}, {"shop.example"}};
        WriteFileBytes(profile + "\\cookies.sqlite", FirefoxCookiesFile(cookies));
        FixtureDatabase places = PlacesDatabase(32768);
        AddPlace(places, {"https://typed.example/", true, 1});
        AddPlace(places, {"https://a.example/", false, 2});
        Bookmark(places, AddPlace(places, {"https://kept.example/", false, 1}), "Kept", "tag", "kw");
        std::string bytes = places.Bytes();
        bytes[18] = bytes[19] = 2;
        WriteFileBytes(profile + "\\places.sqlite", bytes);
        WriteFileBytes(profile + "\\parent.lock", "");
        WriteFileBytes(profile + "\\logins.json", std::string(kLoginsJson));
        WriteFileBytes(profile + "\\key4.db", Key4File());
        WriteFileBytes(profile + "\\formhistory.sqlite", FormHistoryFile());
    }
    BrowserResult Clear() {
        SweepObserver observer;
        return SweepFirefox(services, {kAll, kAll, {}}, observer);
    }

    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    BrowserServices services{folders, files, databases};
};

TEST_F(WinFirefoxTest, ARelativeProfileAndOneByItsFullPathAreClearedKeepingTheirJournalModeAndPageSize) {
    const std::string header = ReadFileBytes(kRelative + "\\places.sqlite").substr(16, 4);
    std::vector<std::string> untouched;
    for (const std::string& profile : {kRelative, kAbsolute})
        for (const char* file : kUntouched) untouched.push_back(ReadFileBytes(profile + file));

    const BrowserResult result = Clear();
    EXPECT_EQ(result.profiles, 2);
    EXPECT_TRUE(result.complete && !result.inUse && result.layoutProblems.empty());
    EXPECT_EQ(result[Kind::CachedFiles].deleted, 4);
    EXPECT_EQ(result[Kind::Cookies].deleted, 4);
    EXPECT_EQ(result[Kind::TypedUrls].deleted, 4);
    EXPECT_EQ(result[Kind::VisitedPages].deleted, 4);
    EXPECT_FALSE(Exists(kRelativeCache + "\\cache2\\entries\\0A1B2C3D"));
    EXPECT_TRUE(Exists(kRelativeCache + "\\cache2\\entries"));
    EXPECT_FALSE(Exists(kAbsolute + "\\startupCache\\scriptCache-current.bin"));
    for (const std::string& profile : {kRelative, kAbsolute}) {
        const std::string places = profile + "\\places.sqlite";
        EXPECT_EQ(ReadFileBytes(places).substr(16, 4), header) << profile;
        EXPECT_FALSE(Exists(places + "-wal")) << profile;
        FixtureDatabase after = OpenDatabaseFile(places);
        EXPECT_EQ(after.Text("SELECT group_concat(url, ' ') FROM moz_places"), "https://kept.example/") << profile;
        EXPECT_EQ(after.Text("SELECT count(*) FROM moz_bookmarks WHERE fk IS NOT NULL") + " " +
                      after.Text("SELECT keyword FROM moz_keywords"),
                  "2 kw")
            << profile;
        EXPECT_EQ(after.Text("PRAGMA integrity_check"), "ok") << profile;
        EXPECT_EQ(after.Number("SELECT count(*) FROM pragma_foreign_key_check"), 0) << profile;
        EXPECT_EQ(OpenDatabaseFile(profile + "\\cookies.sqlite").Number("SELECT count(*) FROM moz_cookies"), 0);
        EXPECT_TRUE(Exists(profile + "\\parent.lock"));
    }
    std::size_t next = 0;
    for (const std::string& profile : {kRelative, kAbsolute})
        for (const char* file : kUntouched) EXPECT_TRUE(ReadFileBytes(profile + file) == untouched[next++]) << file;
}

TEST_F(WinFirefoxTest, FirefoxHoldingParentLockOrItsPlacesFromAnotherProcessLeavesEveryProfileWhole) {
    const struct {
        const wchar_t* mode;
        std::string path;
    } holds[] = {
        {L"parentlock", kAbsolute + "\\parent.lock"},
        {L"exclusive", kRelative + "\\places.sqlite"},
    };
    for (const auto& hold : holds) {
        const std::string places = ReadFileBytes(kRelative + "\\places.sqlite");
        const std::string cookies = ReadFileBytes(kAbsolute + "\\cookies.sqlite");
        BrowserResult result;
        {
            Holder holder(hold.mode, hold.path);
            ASSERT_TRUE(holder.Holding()) << hold.path;
            result = Clear();
        }
        EXPECT_TRUE(result.inUse) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].found, 4) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].deleted, 0) << hold.path;
        EXPECT_TRUE(Exists(kRelativeCache + "\\cache2\\entries\\0A1B2C3D")) << hold.path;
        // Compared whole, printed by name: the bytes of a database say nothing read.
        EXPECT_TRUE(ReadFileBytes(kRelative + "\\places.sqlite") == places) << hold.path;
        EXPECT_TRUE(ReadFileBytes(kAbsolute + "\\cookies.sqlite") == cookies) << hold.path;
    }
    // Firefox leaves parent.lock behind when it ends: the file there and let go says nothing.
    ASSERT_TRUE(Exists(kAbsolute + "\\parent.lock"));
    const BrowserResult result = Clear();
    EXPECT_FALSE(result.inUse);
    EXPECT_EQ(result[Kind::CachedFiles].deleted, 4);
}

}  // namespace
