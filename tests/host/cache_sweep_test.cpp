// The URL cache pass: each walk it makes, its block, what it counts and deletes, and where it
// ends; then the cookie folder with the same request.
#include "sweep/cache_sweep.h"

#include <algorithm>

#include "platform/errors.h"
#include "sweep_fixture.h"

namespace {

class CacheSweepTest : public SweepTest {};

TEST_F(CacheSweepTest, CountingTheCacheVisitsEveryEntryInOrderAndDeletesNothing) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    // The cookie bit makes a cookie entry, whatever else the entry is.
    p.cache.Add("Cookie:user@c.example/", kCookieCacheEntry | kNormalCacheEntry);
    p.files.AddFile(kCookieFolder, "user@b.txt");
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{false, true}, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/1.gif", "visit cookie Cookie:user@a.example/",
                                        "visit cookie Cookie:user@c.example/", "visit file user@b.txt"}));
    EXPECT_EQ(result.walk.cachedFiles, 1);
    EXPECT_EQ(result.walk.cookieEntries, 2);
    EXPECT_EQ(result.cookieFiles.count, 1);
    EXPECT_EQ(result.Cookies(), 3);
    EXPECT_TRUE(result.walk.complete);
    EXPECT_EQ(result.walk.deletedFiles + result.walk.deletedCookieEntries + result.cookieFiles.deleted, 0);
    EXPECT_EQ(p.cache.Size(), 3u);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "user@b.txt"));
    ExpectNothingOpen();
}

// An entry in use (locked, or refused with access denied) is pending whatever its kind: the
// service deletes it once released. Any other refusal leaves it not deleted. The walk goes on.
TEST_F(CacheSweepTest, EntriesInUseArePendingAndOtherRefusalsAreNotDeleted) {
    p.cache.Add("http://a.example/locked", kNormalCacheEntry, 0, true);
    p.cache.Add("http://a.example/2");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry, 0, true);
    p.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    p.cache.Add("http://a.example/3");
    p.faults.FailCall("DeleteUrlCacheEntry", kErrorAccessDenied, 4);
    p.faults.FailCall("DeleteUrlCacheEntry", kErrorInternetInternalError, 5);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true, true}, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/locked", "pending cache http://a.example/locked",
                                        "visit cache http://a.example/2", "visit cookie Cookie:user@a.example/",
                                        "pending cookie Cookie:user@a.example/",
                                        "visit visited Visited: user@http://a.example/",
                                        "pending visited Visited: user@http://a.example/",
                                        "visit cache http://a.example/3", "kept cache http://a.example/3"}));
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.cachedFiles, 3);
    EXPECT_EQ(result.deletedFiles, 1);
    EXPECT_EQ(result.pendingDeletions, 3);
    EXPECT_EQ(result.deletedCookieEntries + result.deletedVisitedPages, 0);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"http://a.example/locked", "Cookie:user@a.example/",
                                                        "Visited: user@http://a.example/", "http://a.example/3"}));
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, WalkFailingMidwayOrWithNoErrorNamedIsIncompleteWithTheCountsSoFar) {
    for (int i = 0; i < 4; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true}, recorder);
    EXPECT_EQ(result.cachedFiles, 2);
    EXPECT_EQ(result.deletedFiles, 2);
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"http://a.example/2", "http://a.example/3"}));

    // A failed call whose last error reads 0 has left the previous entry in the block.
    p.faults.Clear();
    recorder.heard.clear();
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult next = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true}, recorder);
    EXPECT_EQ(next.cachedFiles, 1);
    EXPECT_EQ(next.deletedFiles, 1);
    EXPECT_FALSE(next.complete);
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"visit cache http://a.example/2"});

    p.faults.Clear();
    p.faults.FailCall("FindFirstUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult first = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(first.cachedFiles, 0);
    EXPECT_FALSE(first.complete);
    ExpectNothingOpen();
}

// Which walks a pass makes: the cookies on their own only after a whole walk without a pattern
// that met none, under the reference's spelling first and the container's own after it.
TEST_F(CacheSweepTest, CookiesAreWalkedOnTheirOwnOnlyAfterAWholeWalkThatMetNone) {
    auto patterns = [](CachePatternReading reading, bool withCookie, bool failMidway) {
        MemoryPlatform q;
        q.cache.ReadPatternsAs(reading);
        q.cache.Add("http://a.example/1");
        q.cache.Add("http://a.example/2");
        if (withCookie) q.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        if (failMidway) q.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
        SweepObserver quiet;
        WalkUrlCache(q.cache, q.heap, CacheRequest{}, quiet);
        return q.cache.PatternsWalked();
    };
    using Patterns = std::vector<std::string>;
    EXPECT_EQ(patterns(CachePatternReading::EveryContainer, true, false), Patterns{"(null)"});
    EXPECT_EQ(patterns(CachePatternReading::EveryContainer, false, false), (Patterns{"(null)", "cookie:", "Cookie:"}));
    EXPECT_EQ(patterns(CachePatternReading::Documented, true, false), (Patterns{"(null)", "cookie:"}));
    EXPECT_EQ(patterns(CachePatternReading::Documented, true, true), Patterns{"(null)"});
}

// Under either reading of a walk without a pattern, a pass meets every cookie entry once.
class CookieReadingTest : public CacheSweepTest, public ::testing::WithParamInterface<CachePatternReading> {
protected:
    CookieReadingTest() {
        p.cache.ReadPatternsAs(GetParam());
        p.cache.Add("http://a.example/1.gif");
        p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        p.cache.Add("http://a.example/2.js", kNormalCacheEntry, 5000);
        p.cache.Add("Cookie:user@b.example/", kCookieCacheEntry, 7000);
    }
};

TEST_P(CookieReadingTest, CountKeepAndClearReachEveryCookieOnce) {
    const CacheWalkResult counted = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(counted.cachedFiles, 2);
    EXPECT_EQ(counted.cookieEntries, 2);
    EXPECT_TRUE(counted.complete);

    const CacheWalkResult kept = WalkUrlCache(p.cache, p.heap, CacheRequest{true, false}, recorder);
    EXPECT_EQ(kept.deletedFiles, 2);
    EXPECT_EQ(kept.cookieEntries, 2);
    EXPECT_EQ(kept.deletedCookieEntries, 0);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"Cookie:user@a.example/", "Cookie:user@b.example/"}));

    const CacheWalkResult cleared = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true}, recorder);
    EXPECT_EQ(cleared.deletedCookieEntries, 2);
    EXPECT_TRUE(cleared.complete);
    EXPECT_EQ(p.cache.Size(), 0u);
    ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(Engine, CookieReadingTest,
                         ::testing::Values(CachePatternReading::EveryContainer, CachePatternReading::Documented));

TEST(CacheEntrySort, TheCookieBitThenTheHistoryBitThenAVisitedUrlInAnyCase) {
    EXPECT_EQ(CacheEntryStore(kCookieCacheEntry | kUrlHistoryCacheEntry, "Visited: u@http://a/"), Store::Cookie);
    EXPECT_EQ(CacheEntryStore(kNormalCacheEntry | kUrlHistoryCacheEntry, "http://a/"), Store::Visited);
    EXPECT_EQ(CacheEntryStore(kNormalCacheEntry, "vIsItEd: u@http://a/"), Store::Visited);
    EXPECT_EQ(CacheEntryStore(kNormalCacheEntry, "Visited"), Store::Cache);
    EXPECT_EQ(CacheEntryStore(kNormalCacheEntry, "http://a/Visited:"), Store::Cache);
    EXPECT_EQ(CacheEntryStore(kNormalCacheEntry, nullptr), Store::Cache);
}

// Under either reading of a walk without a pattern, a page visited is never a cached file; it is
// counted once when asked for, and deleted only when asked for.
class VisitedReadingTest : public CacheSweepTest, public ::testing::WithParamInterface<CachePatternReading> {
protected:
    VisitedReadingTest() {
        p.cache.ReadPatternsAs(GetParam());
        p.cache.Add("http://a.example/1.gif");
        p.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
        p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        // Without the history bit: the service files it by its URL, and the pass sorts it so.
        p.cache.Add("Visited: user@http://b.example/page", kNormalCacheEntry, 5000);
        p.cache.Add("http://a.example/2.js");
    }
};

TEST_P(VisitedReadingTest, PagesVisitedAreCountedAndClearedOnlyWhenAskedForAndNeverAsCachedFiles) {
    const CacheWalkResult off = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(off.cachedFiles, 2);
    EXPECT_EQ(off.cookieEntries, 1);
    EXPECT_EQ(off.visitedPages, 0);
    EXPECT_TRUE(off.complete);

    const CacheWalkResult counted = WalkUrlCache(p.cache, p.heap, CacheRequest{false, false, true}, recorder);
    EXPECT_EQ(counted.cachedFiles, 2);
    EXPECT_EQ(counted.cookieEntries, 1);
    EXPECT_EQ(counted.visitedPages, 2);
    EXPECT_TRUE(counted.complete);

    const CacheWalkResult temp = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true}, recorder);
    EXPECT_EQ(temp.deletedFiles, 2);
    EXPECT_EQ(temp.deletedCookieEntries, 1);
    EXPECT_EQ(temp.deletedVisitedPages, 0);
    const std::vector<std::string> pages = {"Visited: user@http://a.example/", "Visited: user@http://b.example/page"};
    EXPECT_EQ(p.cache.Urls(), pages);

    // Pages visited alone are found only by a pass that asks for them.
    EXPECT_FALSE(SweepCache(p.Services(), kNt, CacheRequest{}, recorder).FoundAnything());
    EXPECT_TRUE(SweepCache(p.Services(), kNt, CacheRequest{false, false, true}, recorder).FoundAnything());

    recorder.heard.clear();
    const CacheWalkResult cleared = WalkUrlCache(p.cache, p.heap, CacheRequest{true, false, true, false}, recorder);
    EXPECT_EQ(cleared.visitedPages, 2);
    EXPECT_EQ(cleared.deletedVisitedPages, 2);
    EXPECT_TRUE(cleared.complete);
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"visit visited " + pages[0], "visit visited " + pages[1]}));
    EXPECT_EQ(p.cache.Size(), 0u);
    ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(Engine, VisitedReadingTest,
                         ::testing::Values(CachePatternReading::EveryContainer, CachePatternReading::Documented));

// The history container is walked on its own only when the pages are asked for and no whole walk
// before met one, under the reference's spelling first and the container's own after it; a pass
// over the pages alone makes no other walk.
TEST_F(CacheSweepTest, HistoryIsWalkedOnItsOwnOnlyWhenAskedForAndNotMetBefore) {
    auto patterns = [](CachePatternReading reading, bool withPage, CacheRequest request, bool failMidway = false) {
        MemoryPlatform q;
        q.cache.ReadPatternsAs(reading);
        q.cache.Add("http://a.example/1");
        q.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        if (withPage) q.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
        if (failMidway) q.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
        SweepObserver quiet;
        WalkUrlCache(q.cache, q.heap, request, quiet);
        return q.cache.PatternsWalked();
    };
    using Patterns = std::vector<std::string>;
    const CacheRequest asked{false, false, true};
    const CacheRequest alone{false, false, true, false};
    constexpr auto kWine = CachePatternReading::EveryContainer;
    constexpr auto kDocumented = CachePatternReading::Documented;
    EXPECT_EQ(patterns(kWine, true, asked), Patterns{"(null)"});
    EXPECT_EQ(patterns(kWine, false, asked), (Patterns{"(null)", "visited:", "Visited:"}));
    EXPECT_EQ(patterns(kDocumented, true, asked), (Patterns{"(null)", "cookie:", "visited:"}));
    EXPECT_EQ(patterns(kDocumented, true, CacheRequest{}), (Patterns{"(null)", "cookie:"}));
    EXPECT_EQ(patterns(kDocumented, true, asked, true), Patterns{"(null)"});
    EXPECT_EQ(patterns(kWine, true, alone), (Patterns{"visited:", "Visited:"}));
    EXPECT_EQ(patterns(kDocumented, true, alone), Patterns{"visited:"});
}

// The stop is asked before every entry of every walk, and the walks share one block.
TEST_F(CacheSweepTest, StopInsideTheHistoryWalkLeavesTheRestAndTheCookieFolder) {
    p.cache.ReadPatternsAs(CachePatternReading::Documented);
    p.cache.Add("http://a.example/1");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.cache.Add("Visited: user@http://a.example/0", kNormalCacheEntry | kUrlHistoryCacheEntry, 6000);
    p.cache.Add("Visited: user@http://a.example/1", kNormalCacheEntry | kUrlHistoryCacheEntry);
    p.files.AddFile(kCookieFolder, "a.txt");
    recorder.stopAfterVisits = 3;
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{true, true, true}, recorder);
    EXPECT_TRUE(result.walk.stopped);
    EXPECT_FALSE(result.walk.complete);
    EXPECT_EQ(result.walk.deletedVisitedPages, 1);
    EXPECT_EQ(recorder.heard.back(), "visit visited Visited: user@http://a.example/0");
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Visited: user@http://a.example/1"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    EXPECT_EQ(p.files.DeleteAttempts(), 0);
    EXPECT_EQ(p.heap.Sizes(),
              (std::vector<std::size_t>{4096, MemoryUrlCache::RecordSize("Visited: user@http://a.example/0", 6000)}));
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, StopBetweenTwoEntriesLeavesTheRestAndTheCookieFolder) {
    for (int i = 0; i < 4; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.files.AddFile(kCookieFolder, "a.txt");
    recorder.stopAfterVisits = 2;
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_TRUE(result.walk.stopped);
    EXPECT_FALSE(result.walk.complete);
    EXPECT_EQ(result.walk.deletedFiles, 2);
    EXPECT_EQ(p.cache.Size(), 2u);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    EXPECT_EQ(p.files.DeleteAttempts(), 0);
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, CookieFilesGoOnlyWithTheCookies) {
    p.files.AddFile(kCookieFolder, "a.txt");
    SweepCache(p.Services(), kWin98, CacheRequest{true, false}, recorder);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_FALSE(p.files.HasFile(kCookieFolder, "a.txt"));
}

// The block starts at 4096 bytes and grows to the size the service asks for, only for a record
// that does not fit; the walks after a growth keep it. One that cannot be grown ends the walk.
TEST_F(CacheSweepTest, BlockGrowsOnceForEachLargerRecordAndIsFreedOrEndsTheWalk) {
    p.cache.Add("http://a.example/small");
    p.cache.Add("http://a.example/x", kNormalCacheEntry, 5000);
    p.cache.Add("http://a.example/after");
    p.cache.Add("http://a.example/y", kNormalCacheEntry, 9000);
    const std::uint32_t x = MemoryUrlCache::RecordSize("http://a.example/x", 5000);
    const std::uint32_t y = MemoryUrlCache::RecordSize("http://a.example/y", 9000);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{true, false}, recorder);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.cachedFiles, 4);
    EXPECT_EQ(p.cache.Size(), 0u);
    // The two walks over the cookies, which follow a walk that met none, take the same block.
    EXPECT_EQ(p.cache.SizesOffered(), (std::vector<std::uint32_t>{4096, 4096, x, x, x, y, y, y, y}));
    EXPECT_EQ(p.heap.Sizes(), (std::vector<std::size_t>{4096, x, y}));
    ExpectNothingOpen();

    // A service that asks for no larger block than the one it refused would be asked for ever; a
    // block that cannot be had ends the walk the same way, with the counts so far.
    p.cache.Add("http://a.example/small");
    p.cache.Add("http://a.example/large", kNormalCacheEntry, 6000);
    p.faults.Clear();
    p.faults.FailCall("HeapAlloc", kErrorNotEnoughMemory, 2);
    const CacheWalkResult unallocated = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_FALSE(unallocated.complete);
    EXPECT_EQ(unallocated.cachedFiles, 1);

    p.cache.ReportNeededSize(4096);
    const CacheWalkResult refused = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_FALSE(refused.complete);
    EXPECT_EQ(refused.cachedFiles, 1);
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, WalkThatCannotStartLeavesNothingOpenAndTheCookieFolderIsStillSwept) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "u@a.txt");
    p.faults.FailCall("FindFirstUrlCacheEntry", kErrorAccessDenied);
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{}, recorder);
    EXPECT_FALSE(result.walk.complete);
    EXPECT_EQ(result.walk.cachedFiles + result.walk.cookieEntries, 0);
    EXPECT_EQ(result.cookieFiles.count, 1);
    ExpectNothingOpen();
}

// The cookies to keep: a kept cookie is reported instead of visited, in no count and never
// deleted, whichever walk meets it; the list is read once a pass.
class KeptCookieTest : public CacheSweepTest, public ::testing::WithParamInterface<CachePatternReading> {
protected:
    KeptCookieTest() {
        p.cache.ReadPatternsAs(GetParam());
        KeepSites({"www.bank.example"});
        p.cache.Add("http://a.example/1.gif");
        p.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
        p.cache.Add("Cookie:ann@mail.bank.example/", kCookieCacheEntry);
        p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    }
    int ListReads() const {
        const auto& calls = p.faults.Calls();
        return static_cast<int>(std::count(calls.begin(), calls.end(), "RegQueryValueEx"));
    }
};

TEST_P(KeptCookieTest, AKeptCookieIsReportedNeitherCountedNorDeleted) {
    const CacheSweepResult counted = SweepCache(p.Services(), kNt, CacheRequest{}, recorder);
    EXPECT_EQ(counted.walk.cookieEntries, 1);
    EXPECT_EQ(counted.walk.cookiesKept, 2);
    EXPECT_EQ(counted.Cookies(), 1);
    EXPECT_EQ(counted.CookiesKept(), 2);
    EXPECT_FALSE(counted.walk.keptListUnreadable);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/1.gif", "keep cookie Cookie:ann@bank.example/",
                                        "keep cookie Cookie:ann@mail.bank.example/",
                                        "visit cookie Cookie:ann@tracker.example/"}));
    EXPECT_EQ(ListReads(), 1);

    const CacheSweepResult cleared = SweepCache(p.Services(), kNt, CacheRequest{true, true}, recorder);
    EXPECT_EQ(cleared.walk.deletedCookieEntries, 1);
    EXPECT_EQ(cleared.walk.cookiesKept, 2);
    EXPECT_EQ(ListReads(), 2);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"Cookie:ann@bank.example/", "Cookie:ann@mail.bank.example/"}));

    const CacheSweepResult after = SweepCache(p.Services(), kNt, CacheRequest{}, recorder);
    EXPECT_FALSE(after.FoundAnything()) << "kept cookies are no traces";
    EXPECT_EQ(after.CookiesKept(), 2);
    ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(Engine, KeptCookieTest,
                         ::testing::Values(CachePatternReading::EveryContainer, CachePatternReading::Documented));

// Never delete what the user may have asked to keep: every cookie stays, and is a cookie in the
// counts; the rest of the clear goes on.
TEST_F(CacheSweepTest, AListThatCannotBeReadDeletesNoCookieAndEverythingElse) {
    p.registry.SetText(kSettingsPath, "keep_cookies", "bank.example");
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    p.cache.Add("Visited: ann@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    p.files.AddFile(kCookieFolder, "ann@tracker[1].txt");
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{true, true, true}, recorder);
    EXPECT_TRUE(result.walk.keptListUnreadable);
    EXPECT_TRUE(result.walk.complete);
    EXPECT_EQ(result.walk.deletedFiles, 1);
    EXPECT_EQ(result.walk.deletedVisitedPages, 1);
    EXPECT_EQ(result.Cookies(), 2);
    EXPECT_EQ(result.walk.deletedCookieEntries + result.cookieFiles.deleted, 0);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:ann@tracker.example/"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "ann@tracker[1].txt"));
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "list unreadable"), 1);
    EXPECT_EQ(recorder.heard[1], "list unreadable") << "said before the first cookie";

    // The cookie folder reads the list itself when no cookie entry did.
    MemoryPlatform filesOnly;
    filesOnly.registry.SetText(kSettingsPath, "keep_cookies", "bank.example");
    filesOnly.files.AddFolder("C:\\WINDOWS");
    filesOnly.files.AddFolder(kCookieFolder);
    filesOnly.files.AddFile(kCookieFolder, "ann@tracker[1].txt");
    const CacheSweepResult folder = SweepCache(filesOnly.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_TRUE(folder.walk.keptListUnreadable);
    EXPECT_EQ(folder.cookieFiles.deleted, 0);
    EXPECT_TRUE(filesOnly.files.HasFile(kCookieFolder, "ann@tracker[1].txt"));
    ExpectNothingOpen();
}

// Outside the NT family a kept cookie entry names the file that holds it, which is kept with it;
// a file's own name is never read for a site, so a file no kept entry names goes.
TEST_F(CacheSweepTest, ACookieFileIsKeptWhenAKeptEntryNamesIt) {
    KeepSites({"bank.example"});
    p.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
    p.cache.SetLocalFile("Cookie:ann@bank.example/", "C:\\WINDOWS\\Cookies\\ANN@BANK[1].TXT");
    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    p.cache.SetLocalFile("Cookie:ann@tracker.example/", "C:\\WINDOWS\\Cookies\\ann@tracker[1].txt");
    for (const char* name : {"ann@bank[1].txt", "ann@tracker[1].txt", "ann@bank[2].txt"})
        p.files.AddFile(kCookieFolder, name);

    const CacheSweepResult counted = SweepCache(p.Services(), kWin98, CacheRequest{}, recorder);
    EXPECT_EQ(counted.cookieFiles.count, 2);
    EXPECT_EQ(counted.cookieFiles.kept, 1);
    EXPECT_EQ(counted.CookiesKept(), 2);
    EXPECT_NE(std::find(recorder.heard.begin(), recorder.heard.end(), "keep file ann@bank[1].txt"),
              recorder.heard.end());

    const CacheSweepResult cleared = SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_EQ(cleared.cookieFiles.deleted, 2);
    EXPECT_EQ(cleared.cookieFiles.kept, 1);
    EXPECT_EQ(p.files.Files(kCookieFolder), std::vector<std::string>{"ann@bank[1].txt"});
    ExpectNothingOpen();
}

// A kept entry the walk did not reach could name any file, so none goes.
TEST_F(CacheSweepTest, NoCookieFileGoesWhenAListKeepsASiteAndTheWalkBrokeOff) {
    KeepSites({"bank.example"});
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "ann@tracker[1].txt");
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_FALSE(result.walk.complete);
    EXPECT_EQ(result.cookieFiles.count, 1);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "ann@tracker[1].txt"));

    KeepSites({});
    p.faults.Clear();
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
    SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_FALSE(p.files.HasFile(kCookieFolder, "ann@tracker[1].txt")) << "a list that keeps nothing holds nothing";
    ExpectNothingOpen();
}

}  // namespace
