// The run over the selected stores: typed addresses first, then the cache, each reported when
// done; a stop inside one leaves those after it.
#include "sweep/store_sweep.h"

#include <algorithm>

#include "sweep_fixture.h"

namespace {

class StoreSweepTest : public SweepTest {};

TEST_F(StoreSweepTest, StoresGoTypedFirstThenCacheEachReportedWhenDone) {
    SeedTyped({"a"});
    p.cache.Add("http://a.example/1");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "c.txt");
    const StoreSweepResult result =
        SweepStores(p.Services(), kWin98, StoreSelection{true, false, true}, true, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit typed a", "typed done", "visit cache http://a.example/1",
                                        "visit cookie Cookie:user@a.example/", "visit file c.txt", "cache done"}));
    EXPECT_TRUE(result.Complete());
    EXPECT_FALSE(result.Stopped());
    const std::vector<std::string>& calls = p.faults.Calls();
    const auto lastRegistryDelete = std::find(calls.rbegin(), calls.rend(), "RegDeleteValue");
    const auto firstCacheDelete = std::find(calls.begin(), calls.end(), "DeleteUrlCacheEntry");
    ASSERT_NE(lastRegistryDelete, calls.rend());
    ASSERT_NE(firstCacheDelete, calls.end());
    EXPECT_LT(lastRegistryDelete.base(), firstCacheDelete);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "c.txt"));
    EXPECT_TRUE(p.registry.ValueNames(kTypedUrlsPath).empty());
}

// The pages visited without the cache, as a clear of the history takes them: one walk of the
// history container alone, and no cookie folder.
TEST_F(StoreSweepTest, PagesVisitedWithoutTheCacheAreOneHistoryWalk) {
    p.cache.ReadPatternsAs(CachePatternReading::Documented);
    p.cache.Add("http://a.example/1");
    p.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    p.files.AddFile(kCookieFolder, "c.txt");
    const StoreSweepResult result =
        SweepStores(p.Services(), kWin98, StoreSelection{false, false, false, true}, true, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit visited Visited: user@http://a.example/", "cache done"}));
    EXPECT_EQ(p.cache.PatternsWalked(), std::vector<std::string>{"visited:"});
    EXPECT_TRUE(result.visitedSwept);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"http://a.example/1"});
}

TEST_F(StoreSweepTest, UnselectedStoresAreNotTouchedAndCountingDeletesNothing) {
    SeedTyped({"a"});
    p.cache.Add("http://a.example/1");
    SweepStores(p.Services(), kWin98, StoreSelection{false, false, true}, true, recorder);
    EXPECT_EQ(p.cache.Size(), 1u);
    EXPECT_EQ(p.faults.Calls().end(),
              std::find(p.faults.Calls().begin(), p.faults.Calls().end(), "FindFirstUrlCacheEntry"));

    SeedTyped({"b"});
    const StoreSweepResult counted =
        SweepStores(p.Services(), kWin98, StoreSelection{true, true, true}, false, recorder);
    EXPECT_EQ(counted.typedUrls.listed, 1);
    EXPECT_EQ(counted.cache.walk.cachedFiles, 1);
    EXPECT_EQ(p.cache.Size(), 1u);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath).size(), 1u);
}

TEST_F(StoreSweepTest, StopInsideTheTypedAddressesLeavesTheCacheUntouched) {
    SeedTyped({"a", "b"});
    p.cache.Add("http://a.example/1");
    recorder.stopAfterVisits = 2;
    const StoreSweepResult result = SweepStores(p.Services(), kWin98, StoreSelection{true, true, true}, true, recorder);
    EXPECT_TRUE(result.Stopped());
    EXPECT_FALSE(result.cacheSwept);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath).size(), 2u);
    EXPECT_EQ(p.cache.Size(), 1u);
    ExpectNothingOpen();
}

TEST_F(StoreSweepTest, MissingTypedKeyCountsAsCompleteAndEmpty) {
    const StoreSweepResult result = SweepStores(p.Services(), kNt, StoreSelection{true, true, true}, false, recorder);
    EXPECT_FALSE(result.typedUrls.opened);
    EXPECT_TRUE(result.Complete());
}

}  // namespace
