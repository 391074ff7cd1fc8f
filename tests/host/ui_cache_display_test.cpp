// What a cache pass leaves on screen (the counters, the found and clean marks, the title) and
// what ScanCache's and SweepCookieFolder's integer flags and results mean.
#include "platform/errors.h"
#include "ui_fixture.h"

namespace {

class CacheDisplayTest : public DialogTest {
protected:
    void SeedMixed() {
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        platform.cache.Add("http://a.example/2.js");
    }
    void SeedCookieFiles(std::initializer_list<const char*> names) {
        g_bIsNT = 0;
        platform.files.AddFolder(kWindowsCookies);
        for (const char* name : names) platform.files.AddFile(kWindowsCookies, name);
    }
};

// bCountOnly 1 only counts, whatever bDeleteCookies says; any other value deletes, and takes
// the cookies only for bDeleteCookies 1. The counters show what the pass met, deleted or not.
TEST_F(CacheDisplayTest, OnlyOneCountsAndOnlyOneTakesTheCookies) {
    SeedMixed();
    EXPECT_EQ(dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(dlg.ScanCache(0, 1), 1);
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_CLEAN_MARK).visible);

    dlg.ScanCache(2, 2);
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2");
    dlg.ScanCache(1, 0);
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
}

TEST_F(CacheDisplayTest, MinimisedTitleCarriesTheCounts) {
    for (int i = 0; i < 12; ++i) platform.cache.Add("http://a.example/" + std::to_string(i));
    for (int i = 0; i < 3; ++i) platform.cache.Add("Cookie:u@" + std::to_string(i), kCookieCacheEntry);
    SeedCookieFiles({"u@a.txt", "u@b.txt"});
    platform.window.minimised = true;
    dlg.ScanCache(1, 1);
    EXPECT_EQ(platform.window.Title(), "t:12-c:5");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 5");
}

// An empty cache is clean; cookie entries alone, or cookie files alone (here behind a walk that
// could not start), are something found.
TEST_F(CacheDisplayTest, EmptyCacheShowsTheCleanMarkCookiesAloneTheFoundMark) {
    EXPECT_EQ(dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_FALSE(Control(IDC_FOUND_MARK).visible);
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);
    EXPECT_EQ(platform.window.Title(), "Win Brumix");

    platform.cache.Add("Cookie:u@a/", kCookieCacheEntry);
    platform.cache.Add("Cookie:u@b/", kCookieCacheEntry);
    dlg.ScanCache(1, 1);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 2");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);

    SeedCookieFiles({"u@a.txt"});
    platform.faults.Clear();
    platform.faults.FailCall("FindFirstUrlCacheEntry", kErrorAccessDenied);
    EXPECT_EQ(dlg.ScanCache(1, 1), 0);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
}

TEST_F(CacheDisplayTest, WalkFailingMidwayGivesZeroAndShowsTheCountsSoFar) {
    SeedMixed();
    platform.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    EXPECT_EQ(dlg.ScanCache(1, 0), 0);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
}

// SweepCookieFolder deletes only for bDelete 1 with a bCountOnly other than 1, and looks only
// where the start-up's facts put the folder: outside the NT family, under a known directory.
TEST_F(CacheDisplayTest, CookieFolderIsClearedOnlyWhenAskedAndOnlyWhereTheFactsPutIt) {
    SeedCookieFiles({"a.txt", "b.txt"});
    g_bIsNT = 1;
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    g_bIsNT = 0;
    g_strWindowsDir.clear();
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(platform.files.Files(kWindowsCookies).size(), 2u);

    g_strWindowsDir = "C:\\WINDOWS";
    EXPECT_EQ(dlg.SweepCookieFolder(0, 1), 2);
    EXPECT_EQ(dlg.SweepCookieFolder(1, 1), 2);
    EXPECT_EQ(dlg.SweepCookieFolder(0, 0), 2);
    EXPECT_EQ(platform.files.Files(kWindowsCookies).size(), 2u);
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_TRUE(platform.files.Files(kWindowsCookies).empty());
}

}  // namespace
