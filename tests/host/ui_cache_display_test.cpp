// The URL cache pass: counting, deleting, growing its block and ending on every failure.
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
};

TEST_F(CacheDisplayTest, EmptyCacheShowsZerosAndTheCleanMark) {
    EXPECT_EQ(dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_FALSE(Control(IDC_FOUND_MARK).visible);
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);
    EXPECT_EQ(platform.window.Title(), "Win Brumix");
}

TEST_F(CacheDisplayTest, CountingDeletesNothing) {
    SeedMixed();
    EXPECT_EQ(dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(dlg.ScanCache(0, 1), 1);
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_CLEAN_MARK).visible);
}

TEST_F(CacheDisplayTest, DeletingKeepsCookiesUnlessAsked) {
    SeedMixed();
    dlg.ScanCache(0, 0);
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2");
    dlg.ScanCache(1, 0);
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
}

TEST_F(CacheDisplayTest, MinimisedTitleCarriesTheCounts) {
    for (int i = 0; i < 12; ++i) platform.cache.Add("http://a.example/" + std::to_string(i));
    for (int i = 0; i < 3; ++i) platform.cache.Add("Cookie:u@" + std::to_string(i), kCookieCacheEntry);
    g_bIsNT = 0;
    platform.files.AddFolder("C:\\WINDOWS\\Cookies");
    platform.files.AddFile("C:\\WINDOWS\\Cookies", "u@a.txt");
    platform.files.AddFile("C:\\WINDOWS\\Cookies", "u@b.txt");
    platform.window.minimised = true;
    dlg.ScanCache(1, 1);
    EXPECT_EQ(platform.window.Title(), "t:12-c:5");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 5");
}

}  // namespace

namespace {

TEST_F(CacheDisplayTest, FlagsOtherThanOneCountAsNo) {
    SeedMixed();
    dlg.ScanCache(2, 2);
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
}

TEST_F(CacheDisplayTest, OnlyCookieEntriesStillShowTheFoundMark) {
    platform.cache.Add("Cookie:u@a/", kCookieCacheEntry);
    platform.cache.Add("Cookie:u@b/", kCookieCacheEntry | kNormalCacheEntry);
    dlg.ScanCache(1, 1);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 2");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
}

TEST_F(CacheDisplayTest, WalkFailingMidwayShowsCountsSoFar) {
    SeedMixed();
    platform.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    EXPECT_EQ(dlg.ScanCache(1, 0), 0);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"http://a.example/2.js"});
    EXPECT_EQ(platform.cache.OpenWalks(), 0);
    EXPECT_EQ(platform.heap.Live(), 0);
}

TEST_F(CacheDisplayTest, EntryThatCannotBeDeletedIsCountedAndTheWalkGoesOn) {
    platform.cache.Add("http://a.example/locked", kNormalCacheEntry, 0, true);
    platform.cache.Add("http://a.example/free");
    EXPECT_EQ(dlg.ScanCache(1, 0), 1);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2");
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"http://a.example/locked"});
}

TEST_F(CacheDisplayTest, WalkThatCannotStartShowsTheCookieFilesFound) {
    g_bIsNT = 0;
    platform.files.AddFolder("C:\\WINDOWS\\Cookies");
    platform.files.AddFile("C:\\WINDOWS\\Cookies", "u@a.txt");
    SeedMixed();
    platform.faults.FailCall("FindFirstUrlCacheEntry", kErrorAccessDenied);
    EXPECT_EQ(dlg.ScanCache(1, 1), 0);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
}

}  // namespace
