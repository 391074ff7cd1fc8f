// The pass over the table of sources: the typed addresses first, then the cache, then the cookie
// folder, each kind said once its last source has run; a stop inside one leaves those after it.
#include "sweep/sweep.h"

#include <algorithm>

#include "platform/errors.h"
#include "sweep_fixture.h"

namespace {

class PassTest : public SweepTest {};

const KindSet kTempAndHistory{Kind::CachedFiles, Kind::TypedUrls};

// The cookies come with the temporary files: counted, in the cache and the folder alike, but
// deleted only when selected. Each source's share stays its own.
TEST_F(PassTest, SourcesGoInTheTablesOrderEachKindSweptAfterItsLastSource) {
    SeedTyped({"a"});
    p.cache.Add("http://a.example/1");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "c.txt");
    const SweepResult result = Run(kTempAndHistory, true);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit typed a", "swept typed", "visit cache http://a.example/1",
                                        "visit cookie Cookie:user@a.example/", "swept cached",
                                        "visit cookie-file c.txt", "swept cookies"}));
    EXPECT_TRUE(result.Complete());
    EXPECT_FALSE(result.stopped);
    const std::vector<std::string>& calls = p.faults.Calls();
    const auto lastRegistryDelete = std::find(calls.rbegin(), calls.rend(), "RegDeleteValue");
    const auto firstCacheDelete = std::find(calls.begin(), calls.end(), "DeleteUrlCacheEntry");
    ASSERT_NE(lastRegistryDelete, calls.rend());
    ASSERT_NE(firstCacheDelete, calls.end());
    EXPECT_LT(lastRegistryDelete.base(), firstCacheDelete);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "c.txt"));
    EXPECT_TRUE(p.registry.ValueNames(kTypedUrlsPath).empty());
    EXPECT_EQ(result.counts[Kind::Cookies].found, 2);
    EXPECT_EQ(result.counts[Kind::Cookies].deleted, 0);
    EXPECT_EQ(result.BySource(SourceId::CookieFolder).counts[Kind::Cookies].found, 1);
    EXPECT_EQ(result.counts[Kind::TypedUrls].deleted, 1);
}

// The pages visited without the cache, as a clear of the history takes them: one walk of the
// history container alone, and no cookie folder.
TEST_F(PassTest, PagesVisitedWithoutTheCacheAreOneHistoryWalk) {
    p.cache.ReadPatternsAs(CachePatternReading::Documented);
    p.cache.Add("http://a.example/1");
    p.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    p.files.AddFile(kCookieFolder, "c.txt");
    const SweepResult result = Run({Kind::VisitedPages}, true);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit visited Visited: user@http://a.example/", "swept visited"}));
    EXPECT_EQ(p.cache.PatternsWalked(), std::vector<std::string>{"visited:"});
    EXPECT_FALSE(result.BySource(SourceId::CookieFolder).ran);
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"http://a.example/1"});
}

TEST_F(PassTest, UnselectedStoresAreNotTouchedAndCountingDeletesNothing) {
    SeedTyped({"a"});
    p.cache.Add("http://a.example/1");
    Run({Kind::TypedUrls}, true);
    EXPECT_EQ(p.cache.Size(), 1u);
    EXPECT_EQ(p.faults.Calls().end(),
              std::find(p.faults.Calls().begin(), p.faults.Calls().end(), "FindFirstUrlCacheEntry"));

    SeedTyped({"b"});
    const SweepResult counted = Run(KindSet::All(), false);
    EXPECT_EQ(counted.counts[Kind::TypedUrls].found, 1);
    EXPECT_EQ(counted.counts[Kind::CachedFiles].found, 1);
    EXPECT_EQ(p.cache.Size(), 1u);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath).size(), 1u);
}

// Nothing is said of a kind after the stop: its counts are not the store's.
TEST_F(PassTest, StopInsideTheTypedAddressesLeavesTheCacheUntouched) {
    SeedTyped({"a", "b"});
    p.cache.Add("http://a.example/1");
    recorder.stopAfterVisits = 2;
    const SweepResult result = Run(KindSet::All(), true);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.BySource(SourceId::UrlCache).ran);
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "swept typed"), 0);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsPath).size(), 2u);
    EXPECT_EQ(p.cache.Size(), 1u);
    ExpectNothingOpen();
}

// A missing key holds nothing; one that is there but refused was not reached.
TEST_F(PassTest, AMissingTypedKeyIsWholeAndEmptyARefusedOneIsNeither) {
    const SweepResult missing = Run(KindSet::All(), false, kNt);
    EXPECT_FALSE(missing.Reached(Kind::TypedUrls));
    EXPECT_TRUE(missing.Reached(Kind::CachedFiles));
    EXPECT_TRUE(missing.Complete());

    SeedTyped({"a"});
    p.registry.DenyAccess(kTypedUrlsPath);
    const SweepResult refused = Run(KindSet::All(), false, kNt);
    EXPECT_FALSE(refused.Complete());
    EXPECT_EQ(refused.BySource(SourceId::TypedUrls).openStatus, static_cast<std::int32_t>(kErrorAccessDenied));
}

// The cookie folder on its own has no cache walk to name the files of the kept cookies: with a
// list that keeps a site, it holds every file; with none, it deletes as ever.
TEST_F(PassTest, TheCookieFolderAloneHoldsEveryFileWhileTheListKeepsASite) {
    p.files.AddFile(kCookieFolder, "ann@bank[1].txt");
    const SourceSet folder = SourceSet::Only(SourceId::CookieFolder);
    KeepSites({"bank.example"});
    EXPECT_EQ(Run({Kind::Cookies}, true, kWin98, folder).counts[Kind::Cookies].found, 1);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "ann@bank[1].txt"));
    EXPECT_FALSE(std::any_of(p.faults.Calls().begin(), p.faults.Calls().end(),
                             [](const std::string& call) { return call.find("UrlCache") != std::string::npos; }));

    KeepSites({});
    Run({Kind::Cookies}, true, kWin98, folder);
    EXPECT_FALSE(p.files.HasFile(kCookieFolder, "ann@bank[1].txt"));
}

// One home for what a user's choice selects, both front ends reading it.
TEST(KindChoiceRule, CookiesOnlyWithTheTemporaryFilesPagesOnlyWithTheHistory) {
    EXPECT_EQ(ChosenKinds({.cookies = true, .visitedWithHistory = true}), KindSet{});
    EXPECT_EQ(ChosenKinds({.temporaryFiles = true, .cookies = true}), (KindSet{Kind::CachedFiles, Kind::Cookies}));
    EXPECT_EQ(ChosenKinds({.history = true, .visitedWithHistory = true}),
              (KindSet{Kind::TypedUrls, Kind::VisitedPages}));
    EXPECT_EQ(CountedKinds({Kind::CachedFiles}), (KindSet{Kind::CachedFiles, Kind::Cookies}));
    EXPECT_EQ(CountedKinds({Kind::VisitedPages}), KindSet{Kind::VisitedPages});
}

}  // namespace
