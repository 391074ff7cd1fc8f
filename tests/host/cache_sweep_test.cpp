// The URL cache as a source: each walk it makes, its block, what it counts and deletes, and where
// it ends; then the cookie folder in the same pass.
#include "sweep/cache_sweep.h"

#include <algorithm>

#include "platform/errors.h"
#include "sweep_fixture.h"

namespace {

class CacheSweepTest : public SweepTest {};

const KindSet kContent{Kind::CachedFiles, Kind::Cookies};
const KindSet kContentAndPages{Kind::CachedFiles, Kind::Cookies, Kind::VisitedPages};

TEST_F(CacheSweepTest, CountingTheCacheVisitsEveryEntryInOrderAndDeletesNothing) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    // The cookie bit makes a cookie entry, whatever else the entry is.
    p.cache.Add("Cookie:user@c.example/", kCookieCacheEntry | kNormalCacheEntry);
    p.files.AddFile(kCookieFolder, "user@b.txt");
    const SweepResult result = Run(kContent, false);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/1.gif", "visit cookie Cookie:user@a.example/",
                                        "visit cookie Cookie:user@c.example/", "swept cached",
                                        "visit cookie-file user@b.txt", "swept cookies"}));
    EXPECT_EQ(result.counts[Kind::CachedFiles].found, 1);
    EXPECT_EQ(result.BySource(SourceId::UrlCache).counts[Kind::Cookies].found, 2);
    EXPECT_EQ(result.BySource(SourceId::CookieFolder).counts[Kind::Cookies].found, 1);
    EXPECT_EQ(result.counts[Kind::Cookies].found, 3);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.counts[Kind::CachedFiles].deleted + result.counts[Kind::Cookies].deleted, 0);
    EXPECT_EQ(p.cache.Size(), 3u);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "user@b.txt"));
    ExpectNothingOpen();
}

// An entry in use (locked, or refused with access denied) is pending: the service deletes it once
// released. Any other refusal leaves it not deleted. The walk goes on.
TEST_F(CacheSweepTest, EntriesInUseArePendingAndOtherRefusalsAreNotDeleted) {
    p.cache.Add("http://a.example/locked", kNormalCacheEntry, 0, true);
    p.cache.Add("http://a.example/2");
    p.cache.Add("http://a.example/3");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.faults.FailCall("DeleteUrlCacheEntry", kErrorAccessDenied, 2);
    p.faults.FailCall("DeleteUrlCacheEntry", kErrorInternetInternalError, 3);
    const CacheWalkResult result =
        WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = {Kind::CachedFiles}}, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/locked", "pending cache http://a.example/locked",
                                        "visit cache http://a.example/2", "pending cache http://a.example/2",
                                        "visit cache http://a.example/3", "stayed cache http://a.example/3",
                                        "visit cookie Cookie:user@a.example/"}));
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.counts[Kind::CachedFiles].found, 3);
    EXPECT_EQ(result.counts[Kind::CachedFiles].deleted, 0);
    EXPECT_EQ(result.counts[Kind::CachedFiles].pending, 2);
    EXPECT_EQ(p.cache.Size(), 4u);
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, WalkFailingMidwayOrWithNoErrorNamedIsIncompleteWithTheCountsSoFar) {
    for (int i = 0; i < 4; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = kContent}, recorder);
    EXPECT_EQ(result.counts[Kind::CachedFiles].found, 2);
    EXPECT_EQ(result.counts[Kind::CachedFiles].deleted, 2);
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"http://a.example/2", "http://a.example/3"}));

    // A failed call whose last error reads 0 has left the previous entry in the block.
    p.faults.Clear();
    recorder.heard.clear();
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult next = WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = kContent}, recorder);
    EXPECT_EQ(next.counts[Kind::CachedFiles].found, 1);
    EXPECT_EQ(next.counts[Kind::CachedFiles].deleted, 1);
    EXPECT_FALSE(next.complete);
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"visit cache http://a.example/2"});

    p.faults.Clear();
    p.faults.FailCall("FindFirstUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult first = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(first.counts[Kind::CachedFiles].found, 0);
    EXPECT_FALSE(first.complete);
    ExpectNothingOpen();
}

// Which walks a pass makes: a container on its own only when its entries are asked for and a
// whole walk without a pattern met none of them, under the reference's spelling first and the
// container's own after it; a pass over the pages visited alone makes no other walk.
TEST_F(CacheSweepTest, AContainerIsWalkedOnItsOwnOnlyAfterAWholeWalkThatMetNone) {
    auto walks = [](CachePatternReading reading, bool withCookie, bool withPage, CacheRequest request,
                    bool failMidway = false) {
        MemoryPlatform q;
        q.cache.ReadPatternsAs(reading);
        q.cache.Add("http://a.example/1");
        if (withCookie) q.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        if (withPage) q.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
        if (failMidway) q.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
        SweepObserver quiet;
        WalkUrlCache(q.cache, q.heap, request, quiet);
        return q.cache.PatternsWalked();
    };
    using Patterns = std::vector<std::string>;
    constexpr auto kWine = CachePatternReading::EveryContainer;
    constexpr auto kDocumented = CachePatternReading::Documented;
    const CacheRequest pages{.counted = kContentAndPages, .deleted = {}};
    EXPECT_EQ(walks(kWine, true, true, pages), Patterns{"(null)"});
    EXPECT_EQ(walks(kWine, false, true, CacheRequest{}), (Patterns{"(null)", "cookie:", "Cookie:"}));
    EXPECT_EQ(walks(kDocumented, true, true, pages), (Patterns{"(null)", "cookie:", "visited:"}));
    EXPECT_EQ(walks(kDocumented, true, true, CacheRequest{}), (Patterns{"(null)", "cookie:"}));
    EXPECT_EQ(walks(kDocumented, true, true, pages, true), Patterns{"(null)"});
    EXPECT_EQ(walks(kWine, true, true, CacheRequest{.counted = {Kind::VisitedPages}, .deleted = {}}),
              (Patterns{"visited:", "Visited:"}));
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
    EXPECT_EQ(counted.counts[Kind::CachedFiles].found, 2);
    EXPECT_EQ(counted.counts[Kind::Cookies].found, 2);
    EXPECT_TRUE(counted.complete);

    const CacheWalkResult kept = WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = {Kind::CachedFiles}}, recorder);
    EXPECT_EQ(kept.counts[Kind::CachedFiles].deleted, 2);
    EXPECT_EQ(kept.counts[Kind::Cookies].found, 2);
    EXPECT_EQ(kept.counts[Kind::Cookies].deleted, 0);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"Cookie:user@a.example/", "Cookie:user@b.example/"}));

    const CacheWalkResult cleared = WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = kContent}, recorder);
    EXPECT_EQ(cleared.counts[Kind::Cookies].deleted, 2);
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

// A page visited is never a cached file: counted only when asked for, deleted only when asked
// for, found by a pass over the pages alone.
TEST_F(CacheSweepTest, PagesVisitedAreCountedAndClearedOnlyWhenAskedFor) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    // Without the history bit: the service files it by its URL, and the pass sorts it so.
    p.cache.Add("Visited: user@http://b.example/page");
    EXPECT_EQ(WalkUrlCache(p.cache, p.heap, CacheRequest{.counted = kContentAndPages, .deleted = {}}, recorder)
                  .counts[Kind::VisitedPages]
                  .found,
              2);

    const SweepResult temp = Run(kContent, true, kNt);
    EXPECT_EQ(temp.counts[Kind::VisitedPages].found, 0);
    EXPECT_EQ(p.cache.Size(), 2u);

    const SweepResult alone = Run({Kind::VisitedPages}, true, kNt);
    EXPECT_EQ(alone.counts[Kind::VisitedPages].deleted, 2);
    EXPECT_EQ(p.cache.Size(), 0u);
    ExpectNothingOpen();
}

// Windows keeps the History pane's by-day views in containers no walk reaches: the history's own
// clear empties them once a clear of the pages visited has run to its end, and only then. It is
// asked nothing by a count, a clear without the pages, or one cut short; a stub that answers
// E_NOTIMPL (Wine) changes nothing else.
TEST_F(CacheSweepTest, TheDayViewsOfTheHistoryGoOnlyAfterAWholeClearOfThePagesVisited) {
    p.cache.ReadPatternsAs(CachePatternReading::Documented);
    const auto seed = [&] {
        p.cache.Add("Visited: ann@https://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
        p.cache.AddDayEntry("MSHist012026120920261210", ":2026120920261210: ann@https://a.example/");
    };
    const auto cleared = [&] {
        return std::count(p.faults.Calls().begin(), p.faults.Calls().end(), std::string("ClearHistory"));
    };
    seed();
    Run({Kind::VisitedPages}, false);
    Run(kContent, true);
    const auto calls = std::count(p.faults.Calls().begin(), p.faults.Calls().end(), "FindNextUrlCacheEntry");
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, static_cast<int>(calls) + 1);
    EXPECT_FALSE(Run({Kind::VisitedPages}, true).Complete());
    EXPECT_EQ(cleared(), 0);
    EXPECT_EQ(p.cache.DayEntries().size(), 1u);

    seed();
    const SweepResult result = Run({Kind::VisitedPages}, true);
    EXPECT_EQ(cleared(), 1);
    EXPECT_TRUE(p.cache.DayEntries().empty());
    EXPECT_EQ(result.counts[Kind::VisitedPages].deleted, 1) << "the day views are no pages of their own";

    p.cache.ClearHistoryAs(HistoryClearing::NotImplemented);
    seed();
    EXPECT_TRUE(Run({Kind::VisitedPages}, true).Complete());
    EXPECT_TRUE(recorder.heard.end() ==
                std::find_if(recorder.heard.begin(), recorder.heard.end(),
                             [](const std::string& line) { return line.rfind("stayed", 0) == 0; }));
}

TEST_F(CacheSweepTest, StopBetweenTwoEntriesLeavesTheRestAndTheCookieFolder) {
    for (int i = 0; i < 4; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.files.AddFile(kCookieFolder, "a.txt");
    recorder.stopAfterVisits = 2;
    const SweepResult result = Run(kContent, true);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.counts[Kind::CachedFiles].deleted, 2);
    EXPECT_EQ(p.cache.Size(), 2u);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    EXPECT_EQ(p.files.DeleteAttempts(), 0);
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, CookieFilesGoOnlyWithTheCookies) {
    p.files.AddFile(kCookieFolder, "a.txt");
    Run({Kind::CachedFiles}, true);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    Run(kContent, true);
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
    const CacheWalkResult result =
        WalkUrlCache(p.cache, p.heap, CacheRequest{.deleted = {Kind::CachedFiles}}, recorder);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.counts[Kind::CachedFiles].found, 4);
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
    EXPECT_EQ(unallocated.counts[Kind::CachedFiles].found, 1);

    p.cache.ReportNeededSize(4096);
    const CacheWalkResult refused = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_FALSE(refused.complete);
    EXPECT_EQ(refused.counts[Kind::CachedFiles].found, 1);
    ExpectNothingOpen();
}

TEST_F(CacheSweepTest, WalkThatCannotStartLeavesNothingOpenAndTheCookieFolderIsStillSwept) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "u@a.txt");
    p.faults.FailCall("FindFirstUrlCacheEntry", kErrorAccessDenied);
    const SweepResult result = Run(kContent, false);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.BySource(SourceId::UrlCache).counts[Kind::CachedFiles].found +
                  result.BySource(SourceId::UrlCache).counts[Kind::Cookies].found,
              0);
    EXPECT_EQ(result.counts[Kind::Cookies].found, 1);
    ExpectNothingOpen();
}

// A kept cookie is reported instead of visited, in no count, never deleted and nothing found;
// the list is read once a pass.
TEST_F(CacheSweepTest, AKeptCookieIsReportedNeitherCountedNorDeleted) {
    KeepSites({"www.bank.example"});
    p.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    const SweepResult counted = Run(kContent, false, kNt);
    EXPECT_EQ(counted.counts[Kind::Cookies].found, 1);
    EXPECT_EQ(counted.counts[Kind::Cookies].kept, 1);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"kept cookie Cookie:ann@bank.example/",
                                        "visit cookie Cookie:ann@tracker.example/", "swept cached", "swept cookies"}));

    EXPECT_EQ(Run(kContent, true, kNt).counts[Kind::Cookies].deleted, 1);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:ann@bank.example/"});
    EXPECT_EQ(Run(kContent, false, kNt).counts[Kind::Cookies].found, 0);
    const auto& calls = p.faults.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "RegQueryValueEx"), 3) << "once in each of the three passes";
    ExpectNothingOpen();
}

// Never delete what the user may have asked to keep: every cookie stays, and is a cookie in the
// counts; the rest of the clear goes on.
TEST_F(CacheSweepTest, AListThatCannotBeReadDeletesNoCookieAndEverythingElse) {
    p.registry.SetText(kSettingsPath, "keep_cookies", "bank.example");
    p.files.AddFile(kCookieFolder, "ann@tracker[1].txt");
    EXPECT_TRUE(Run(kContent, true).keptListUnreadable)
        << "the cookie folder reads the list itself when no cookie entry did";
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "ann@tracker[1].txt"));

    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    p.cache.Add("Visited: ann@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    recorder.heard.clear();
    const SweepResult result = Run(kContentAndPages, true);
    EXPECT_EQ(result.counts[Kind::Cookies].found, 2);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:ann@tracker.example/"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "ann@tracker[1].txt"));
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "list unreadable"), 1);
    EXPECT_EQ(recorder.heard[1], "list unreadable") << "said before the first cookie";
    ExpectNothingOpen();
}

// Outside the NT family a kept cookie entry names the file that holds it, which is kept with it;
// a file's own name is never read for a site, so a file no kept entry names goes. A kept entry
// the walk did not reach could name any file, so then none goes, unless the list keeps nothing.
TEST_F(CacheSweepTest, ACookieFileIsKeptWhenAKeptEntryNamesIt) {
    KeepSites({"bank.example"});
    p.cache.Add("Cookie:ann@bank.example/", kCookieCacheEntry);
    p.cache.SetLocalFile("Cookie:ann@bank.example/", "C:\\WINDOWS\\Cookies\\ANN@BANK[1].TXT");
    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    p.cache.SetLocalFile("Cookie:ann@tracker.example/", "C:\\WINDOWS\\Cookies\\ann@tracker[1].txt");
    const std::vector<std::string> files = {"ann@bank[1].txt", "ann@tracker[1].txt", "ann@bank[2].txt"};
    for (const std::string& name : files) p.files.AddFile(kCookieFolder, name);
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
    Run(kContent, true);
    EXPECT_EQ(p.files.Files(kCookieFolder), files) << "the walk broke off after the kept entry";

    const SweepResult cleared = Run(kContent, true);
    EXPECT_EQ(cleared.counts[Kind::Cookies].kept, 2);
    EXPECT_EQ(p.files.Files(kCookieFolder), std::vector<std::string>{"ann@bank[1].txt"});

    KeepSites({});
    p.faults.Clear();
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
    Run(kContent, true);
    EXPECT_TRUE(p.files.Files(kCookieFolder).empty()) << "a list that keeps nothing holds nothing";
    ExpectNothingOpen();
}

}  // namespace
