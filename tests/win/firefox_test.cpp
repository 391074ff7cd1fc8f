// Firefox's pass over the Win32 adapters and real files in the prefix: a relative profile and one
// given by its full path, under a user name outside ASCII, with places.sqlite's write-ahead log
// and page size kept; Firefox holding parent.lock, or its places, from another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sweep/firefox_sweep.h"
#include "tests/support/firefox_fixture.h"
#include "tests/win/wine_profiles.h"

namespace {

const std::string kRoaming = kNonAsciiUser + "\\AppData\\Roaming";
const std::string kLocal = kNonAsciiUser + "\\AppData\\Local";
const std::string kRelative = kRoaming + "\\Mozilla\\Firefox\\Profiles\\x1y2z3.default-release";
const std::string kRelativeCache = kLocal + "\\Mozilla\\Firefox\\Profiles\\x1y2z3.default-release";
const std::string kAbsolute = "C:\\Firefox Profiles\\Zo\xC3\xAB";
constexpr KindSet kAll = KindSet::All();
const char* const kUntouched[] = {"\\logins.json", "\\key4.db", "\\formhistory.sqlite"};

class WinFirefoxTest : public ::testing::Test, protected Win32Browsers {
protected:
    void SetUp() override {
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
    ExpectEachHoldLeavesTheBrowserWhole(
        {{L"parentlock", kAbsolute + "\\parent.lock"}, {L"exclusive", kRelative + "\\places.sqlite"}},
        [&] { return Clear(); }, 4, kRelativeCache + "\\cache2\\entries\\0A1B2C3D",
        {kRelative + "\\places.sqlite", kAbsolute + "\\cookies.sqlite"});
    // Firefox leaves parent.lock behind when it ends: the file there and let go says nothing.
    ASSERT_TRUE(Exists(kAbsolute + "\\parent.lock"));
    const BrowserResult result = Clear();
    EXPECT_FALSE(result.inUse);
    EXPECT_EQ(result[Kind::CachedFiles].deleted, 4);
}

}  // namespace
