// The non-NT family, as Wine's per-executable version override presents it: the version
// query's answer and the cookie folder sweep over C:\windows\Cookies.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "res/resource.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_files.h"
#include "ui/globals.h"

namespace {

constexpr char kElsewhere[] = "C:\\brumix-elsewhere";

TEST(Win98SystemFactsTest, VersionQueryReportsTheNonNtFamily) {
    Win32SystemFacts system;
    std::uint32_t platform = 0;
    ASSERT_TRUE(system.QueryPlatformId(platform));
    EXPECT_EQ(platform, kPlatformWin32Windows) << "run with wine-run --win98 <this exe>";
}

class CookieFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = CookieFolderPath();
        MakeEmptyFolder(folder);
        ASSERT_TRUE(MakeFile(folder, "user@alpha.txt"));
        ASSERT_TRUE(MakeFile(folder, "user@beta.txt"));
        ASSERT_TRUE(MakeFile(folder, "user@gamma.txt"));
        ASSERT_TRUE(MakeFile(folder, "index.dat"));
        ASSERT_TRUE(ClearCache()) << "the throwaway prefix's cache could not be emptied";
        // What the window's initialisation would record, taken from the real system.
        std::uint32_t platform = 0;
        ASSERT_TRUE(wine.stores.system.QueryPlatformId(platform));
        g_bIsNT = platform == kPlatformWin32Nt ? 1 : 0;
        ASSERT_TRUE(wine.stores.system.QueryWindowsDirectory(g_strWindowsDir));
    }
    void TearDown() override {
        RemoveFolder(folder);
        RemoveFolder(kElsewhere);
        ClearCache();
    }

    std::vector<std::string> Left() { return Sorted(FindNames(folder)); }

    std::string folder;
    WineDialog wine;
};

TEST_F(CookieFolderTest, InitialisationFindsTheFamilyAndCountsTheCookieFiles) {
    g_bIsNT = 1;
    g_strWindowsDir.clear();
    wine.dlg.OnInitDialog();
    EXPECT_EQ(g_bIsNT, 0);
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 3");
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_TRUE(wine.Visible(IDC_FOUND_MARK));
    EXPECT_EQ(Left().size(), 4u);
}

TEST_F(CookieFolderTest, CountingSweepsCountTxtFilesAndDeleteNothing) {
    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 1), 3);
    EXPECT_EQ(wine.dlg.SweepCookieFolder(0, 0), 3);
    EXPECT_EQ(wine.dlg.SweepCookieFolder(0, 1), 3);
    EXPECT_EQ(Left().size(), 4u);
}

TEST_F(CookieFolderTest, DeletingSweepRemovesEveryTxtFileAndNothingElse) {
    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(Left(), std::vector<std::string>{"index.dat"});
}

// The search matches "*.txt" against 8.3 aliases as well, and "notes.txtold" may be
// NOTES~1.TXT to it; a cookie file is only a name whose own extension is .txt.
TEST_F(CookieFolderTest, LongNameWhoseAliasEndsInTxtIsLeftAlone) {
    ASSERT_TRUE(MakeFile(folder, "notes.txtold"));
    const std::vector<std::string> matched = FindNames(folder, "*.txt");
    const bool aliasMatched = std::find(matched.begin(), matched.end(), "notes.txtold") != matched.end();
    RecordProperty("search_matches_alias", aliasMatched ? "yes" : "no");

    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 1), 3);
    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(Left(), (std::vector<std::string>{"index.dat", "notes.txtold"}));
}

// The walk stands on the read-only file once in every search that reaches it: the first
// search, and the fresh one after each deletion of a file that the search meets after it.
TEST_F(CookieFolderTest, ReadOnlyFileStaysAndIsCountedOncePerSearchThatReachesIt) {
    ASSERT_TRUE(MakeFile(folder, "user@readonly.txt", true));
    const std::vector<std::string> order = FindNames(folder, "*.txt");
    ASSERT_EQ(order.size(), 4u);
    const auto readOnlyAt = std::find(order.begin(), order.end(), "user@readonly.txt") - order.begin();
    const int deletableAfter = static_cast<int>(order.size()) - 1 - static_cast<int>(readOnlyAt);

    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 0), 3 + 1 + deletableAfter);
    EXPECT_EQ(Left(), (std::vector<std::string>{"index.dat", "user@readonly.txt"}));

    ASSERT_TRUE(wine.stores.files.SetCurrentDir(folder));
    EXPECT_FALSE(wine.stores.files.DeleteByName("user@readonly.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(kErrorAccessDenied));
}

// A file held open with FILE_SHARE_DELETE (here by the test itself) reports its deletion but
// stays until that handle closes; the fresh search after the deletion meets it again, and the
// sweep must end there rather than delete and restart for ever.
TEST_F(CookieFolderTest, FileHeldOpenForDeletionEndsTheSweepAndGoesWhenReleased) {
    for (const std::string& name : FindNames(folder, "*.txt")) ASSERT_TRUE(DeleteFileA((folder + "\\" + name).c_str()));
    ASSERT_TRUE(MakeFile(folder, "user@held.txt"));
    const std::string held = folder + "\\user@held.txt";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const int counted = wine.dlg.SweepCookieFolder(1, 0);
    const std::vector<std::string> whileHeld = FindNames(folder, "*.txt");
    CloseHandle(holder);

    EXPECT_EQ(counted, 2) << "stood on the file before its deletion and once after it";
    EXPECT_EQ(whileHeld, std::vector<std::string>{"user@held.txt"});
    EXPECT_EQ(Left(), std::vector<std::string>{"index.dat"});
}

TEST_F(CookieFolderTest, MissingFolderCountsNothingAndLeavesOtherFoldersAlone) {
    RemoveFolder(folder);
    MakeEmptyFolder(kElsewhere);
    ASSERT_TRUE(MakeFile(kElsewhere, "stray.txt"));
    ASSERT_TRUE(SetCurrentDirectoryA(kElsewhere));

    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 1), 0);
    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(FindNames(kElsewhere), std::vector<std::string>{"stray.txt"});
}

TEST_F(CookieFolderTest, CacheSweepAddsCookieFilesAndClearsThemOnlyWithCookies) {
    ASSERT_TRUE(CommitEntry("http://files.brumix.example/a.gif"));
    ASSERT_TRUE(SetPersistentCookie("http://alpha.brumix.example/", "a=1"));

    EXPECT_EQ(wine.dlg.ScanCache(0, 0), 1);
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 4");
    EXPECT_EQ(Left().size(), 4u);
    EXPECT_EQ(CacheUrls().size(), 1u);

    EXPECT_EQ(wine.dlg.ScanCache(1, 0), 1);
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 1") << "cookie entry once, and no file left to count";
    EXPECT_EQ(Left(), std::vector<std::string>{"index.dat"});
    EXPECT_TRUE(CacheUrls().empty());

    wine.dlg.ScanCache(1, 1);
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_TRUE(wine.Visible(IDC_CLEAN_MARK));
}

}  // namespace
