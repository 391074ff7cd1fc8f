// The Chromium browsers' pass over the Win32 adapters and real files in the prefix: a profile
// under a user name outside ASCII, a write-ahead log and a page size kept, and a browser that
// holds its files, from another process, left whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sweep/chromium_sweep.h"
#include "tests/support/chromium_fixture.h"
#include "tests/win/wine_profiles.h"

namespace {

const std::string kLocal = kNonAsciiUser + "\\AppData\\Local";
const std::string kEdge = kLocal + "\\Microsoft\\Edge\\User Data";
const std::string kDefault = kEdge + "\\Default";
constexpr KindSet kAll = KindSet::All();

class WinBrowsersTest : public ::testing::Test, protected Win32Browsers {
protected:
    void SetUp() override {
        const std::string profiles[] = {"Default"};
        WriteFileBytes(kEdge + "\\Local State", LocalStateJson(profiles));
        WriteFileBytes(kDefault + "\\Cache\\Cache_Data\\f_000001", "entry");
        WriteFileBytes(kDefault + "\\GPUCache\\data_0", "shader");
        const FixtureCookie cookies[] = {{".bank.example"}, {"shop.example"}};
        WriteFileBytes(kDefault + "\\Network\\Cookies", CookiesFile(cookies));
        const FixtureUrl urls[] = {{"https://typed.example/", 1}, {"https://a.example/"}};
        WriteFileBytes(kDefault + "\\History", HistoryFile(urls));
        WriteFileBytes(kDefault + "\\Bookmarks", "{}");
    }
    BrowserResult Clear() {
        SweepObserver observer;
        return SweepChromiumBrowser(services, *FindChromiumBrowser("edge"), {kAll, kAll, {}}, observer);
    }
};

TEST_F(WinBrowsersTest, AProfileUnderAUserNameOutsideAsciiIsClearedKeepingItsJournalModeAndPageSize) {
    // History in write-ahead-log mode with pages of 1 KB: what the clear must leave as it found it.
    FixtureDatabase history("PRAGMA page_size = 1024;");
    history.Execute(kHistorySchema);
    history.Execute(
        "INSERT INTO urls VALUES (1, 'https://a.example/', 't', 1, 0, 1, 0);"
        "INSERT INTO visits (id, url, visit_time) VALUES (1, 1, 1)");
    std::string bytes = history.Bytes();
    bytes[18] = bytes[19] = 2;
    WriteFileBytes(kDefault + "\\History", bytes);
    const std::string header = bytes.substr(16, 4);

    const BrowserResult result = Clear();
    EXPECT_EQ(result.profiles, 1);
    EXPECT_TRUE(result.complete && !result.inUse && result.layoutProblems.empty());
    EXPECT_EQ(result[Kind::CachedFiles].deleted, 2);
    EXPECT_EQ(result[Kind::Cookies].deleted, 2);
    EXPECT_EQ(result[Kind::VisitedPages].deleted, 1);
    EXPECT_FALSE(Exists(kDefault + "\\Cache\\Cache_Data\\f_000001"));
    EXPECT_TRUE(Exists(kDefault + "\\Cache\\Cache_Data"));
    EXPECT_EQ(ReadFileBytes(kDefault + "\\History").substr(16, 4), header);
    EXPECT_FALSE(Exists(kDefault + "\\History-wal"));
    EXPECT_EQ(OpenDatabaseFile(kDefault + "\\History").Number("SELECT count(*) FROM visits"), 0);
    EXPECT_EQ(OpenDatabaseFile(kDefault + "\\History").Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(OpenDatabaseFile(kDefault + "\\Network\\Cookies").Number("SELECT count(*) FROM cookies"), 0);
    EXPECT_EQ(ReadFileBytes(kDefault + "\\Bookmarks"), "{}");
}

TEST_F(WinBrowsersTest, ABrowserHoldingItsFilesFromAnotherProcessIsLeftWhole) {
    ExpectEachHoldLeavesTheBrowserWhole({{L"lockfile", kEdge + "\\lockfile"},
                                         {L"nosharing", kDefault + "\\Network\\Cookies"},
                                         {L"exclusive", kDefault + "\\History"}},
                                        [&] { return Clear(); }, 2, kDefault + "\\Cache\\Cache_Data\\f_000001",
                                        {kDefault + "\\Network\\Cookies", kDefault + "\\History"});
    EXPECT_FALSE(Exists(kEdge + "\\lockfile"));
}

}  // namespace
