// The Chromium browsers' pass over the Win32 adapters and real files in the prefix: a profile
// under a user name outside ASCII, a write-ahead log and a page size kept, and a browser that
// holds its files, from another process, left whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/browser_services.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_databases.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_user_folders.h"
#include "sweep/chromium_sweep.h"
#include "tests/support/chromium_fixture.h"
#include "tests/win/wine_profiles.h"

namespace {

// "Zoë Ñ": a user name outside ASCII, and outside most code pages together.
const std::string kUser = "C:\\users\\Zo\xC3\xAB \xC3\x91";
const std::string kLocal = kUser + "\\AppData\\Local";
const std::string kEdge = kLocal + "\\Microsoft\\Edge\\User Data";
const std::string kDefault = kEdge + "\\Default";
constexpr KindSet kAll = KindSet::All();

class WinBrowsersTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8ToWide(kLocal).c_str());
        SetEnvironmentVariableW(L"APPDATA", Utf8ToWide(kUser + "\\AppData\\Roaming").c_str());
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

    Win32UserFolders folders;
    Win32ProfileFiles files;
    Win32Databases databases;
    BrowserServices services{folders, files, databases};
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
    const struct {
        const wchar_t* mode;
        std::string path;
    } holds[] = {
        {L"lockfile", kEdge + "\\lockfile"},
        {L"nosharing", kDefault + "\\Network\\Cookies"},
        {L"exclusive", kDefault + "\\History"},
    };
    for (const auto& hold : holds) {
        const std::string cookies = ReadFileBytes(kDefault + "\\Network\\Cookies");
        const std::string history = ReadFileBytes(kDefault + "\\History");
        BrowserResult result;
        {
            Holder holder(hold.mode, hold.path);
            ASSERT_TRUE(holder.Holding()) << hold.path;
            result = Clear();
        }
        EXPECT_TRUE(result.inUse) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].found, 2) << hold.path;
        EXPECT_EQ(result[Kind::CachedFiles].deleted, 0) << hold.path;
        EXPECT_TRUE(Exists(kDefault + "\\Cache\\Cache_Data\\f_000001")) << hold.path;
        // Compared whole, printed by name: the bytes of a database say nothing read.
        EXPECT_TRUE(ReadFileBytes(kDefault + "\\Network\\Cookies") == cookies) << hold.path;
        EXPECT_TRUE(ReadFileBytes(kDefault + "\\History") == history) << hold.path;
    }
    EXPECT_FALSE(Exists(kEdge + "\\lockfile"));
}

}  // namespace
