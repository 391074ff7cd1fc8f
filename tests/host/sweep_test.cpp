// The pass over the table of sources: the typed addresses first, then the cache, then the cookie
// folder, each kind said once its last source has run; a stop inside one leaves those after it.
#include "sweep/sweep.h"

#include <algorithm>

#include "platform/errors.h"
#include "sweep/browser_choice.h"
#include "sweep_fixture.h"
#include "tests/support/chromium_fixture.h"

namespace {

class PassTest : public SweepTest {};

const KindSet kTempAndHistory{Kind::CachedFiles, Kind::TypedUrls};
const KindSet kContent{Kind::CachedFiles, Kind::Cookies};

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
// Another browser is a source like the others, run only when chosen, after the system browser's
// stores: its figures join the totals, the cookies to keep are the same filter, a list that
// cannot be read keeps its cookies too, and one not installed holds nothing.
class BrowserPassTest : public PassTest {
protected:
    BrowserPassTest() {
        p.userFolders.paths[UserFolder::LocalAppData] = kLocal;
        p.userFolders.paths[UserFolder::RoamingAppData] = "C:\\Users\\ann\\AppData\\Roaming";
        const FixtureCookie cookies[] = {{".bank.example"}, {"tracker.example"}};
        p.profileFiles.WriteFile(kCookies, CookiesFile(cookies));
    }
    std::int64_t CookieRows() {
        return CountIn(p.profileFiles.ReadFile(kCookies).value_or(""), "SELECT COUNT(*) FROM cookies");
    }

    static constexpr char kLocal[] = "C:\\Users\\ann\\AppData\\Local";
    const std::string kCookies = std::string(kLocal) + "\\Microsoft\\Edge\\User Data\\Default\\Network\\Cookies";
    const SourceSet kWithEdge = SourceSet::SystemBrowser() | SourceSet::Only(SourceId::Edge);
};

TEST_F(BrowserPassTest, AChosenBrowserIsOneMoreSourceOfTheSameKinds) {
    KeepSites({"login.bank.example"});
    Run(kContent, true);
    EXPECT_EQ(CookieRows(), 2) << "not chosen, not touched";

    p.cache.Add("Cookie:ann@tracker.example/", kCookieCacheEntry);
    recorder.heard.clear();

    const SweepResult result = Run(kContent, true, kNt, kWithEdge | SourceSet::Only(SourceId::Chrome));
    EXPECT_EQ(CookieRows(), 1) << "the kept site's parent domain keeps its cookie";
    const SourceResult& edge = result.BySource(SourceId::Edge);
    EXPECT_TRUE(edge.browser.installed);
    EXPECT_EQ(edge.browser.profiles, 1);
    EXPECT_EQ(edge.counts[Kind::Cookies].deleted, 1);
    EXPECT_EQ(edge.counts[Kind::Cookies].kept, 1);
    EXPECT_EQ(result.counts[Kind::Cookies].found, 2) << "the cache's and the browser's, together";
    const SourceResult& chrome = result.BySource(SourceId::Chrome);
    EXPECT_TRUE(chrome.ran && !chrome.browser.installed && chrome.Whole());
    EXPECT_TRUE(result.Complete());
    // The cookies are swept once the last of their sources, the browsers too, has run.
    EXPECT_EQ(recorder.heard.back(), "swept cookies");
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "swept cookies"), 1);
    EXPECT_NE(
        std::find(recorder.heard.begin(), recorder.heard.end(), "visit cookie edge:Default:Cookie:id@tracker.example/"),
        recorder.heard.end());
}

TEST_F(BrowserPassTest, AnUnreadableListOrABrowserInUseLeavesItsCookies) {
    p.registry.SetValue(kSettingsPath, "keep_cookies", kRegSz, {'a', 0});
    const SweepResult held = Run(kContent, true, kNt, kWithEdge);
    EXPECT_EQ(CookieRows(), 2);
    EXPECT_TRUE(held.CookiesHeld());
    EXPECT_EQ(held.BySource(SourceId::Edge).counts[Kind::Cookies].found, 2);

    KeepSites({});
    p.profileFiles.WriteFile(std::string(kLocal) + "\\Microsoft\\Edge\\User Data\\lockfile", "");
    p.profileFiles.Hold(std::string(kLocal) + "\\Microsoft\\Edge\\User Data\\lockfile");
    const SweepResult inUse = Run(kContent, true, kNt, kWithEdge);
    EXPECT_EQ(CookieRows(), 2);
    EXPECT_TRUE(inUse.BySource(SourceId::Edge).browser.inUse);
    EXPECT_FALSE(inUse.Complete()) << "a browser in use was not cleared";
}

TEST_F(BrowserPassTest, EachBrowserRowNamesItselfAndTellsWhetherItIsThere) {
    std::vector<std::string> ids;
    for (const Source& row : BrowserSources()) ids.emplace_back(row.browser);
    EXPECT_EQ(ids, (std::vector<std::string>{"edge", "chrome", "brave", "vivaldi", "opera", "firefox"}));
    ASSERT_NE(FindBrowserSource("firefox"), nullptr);
    EXPECT_EQ(FindBrowserSource("firefox")->browserName, "Mozilla Firefox");
    EXPECT_EQ(FindBrowserSource("safari"), nullptr);
    const PlatformServices services = p.Services();
    EXPECT_TRUE(FindBrowserSource("edge")->installed(services, *FindBrowserSource("edge")));
    EXPECT_FALSE(FindBrowserSource("chrome")->installed(services, *FindBrowserSource("chrome")));
    EXPECT_FALSE(FindBrowserSource("firefox")->installed(services, *FindBrowserSource("firefox")));
    p.profileFiles.WriteFile("C:\\Users\\ann\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini", "");
    EXPECT_TRUE(FindBrowserSource("firefox")->installed(services, *FindBrowserSource("firefox")));
}

// The list as the setting and --browsers write it, and what a first start and an upgrade choose.
TEST_F(BrowserPassTest, TheBrowsersChosenByListOrByWhatIsInstalled) {
    const auto only = [](std::initializer_list<SourceId> ids) {
        SourceSet set;
        for (SourceId id : ids) set |= SourceSet::Only(id);
        return set;
    };
    EXPECT_EQ(ReadBrowserList(" Edge , FIREFOX,").chosen, only({SourceId::Edge, SourceId::Firefox}));
    EXPECT_EQ(ReadBrowserList("all").chosen, only({SourceId::Edge, SourceId::Chrome, SourceId::Brave, SourceId::Vivaldi,
                                                   SourceId::Opera, SourceId::Firefox}));
    EXPECT_EQ(ReadBrowserList("none").chosen, SourceSet{});
    EXPECT_EQ(ReadBrowserList("").chosen, SourceSet{});
    const BrowserList odd = ReadBrowserList("chrome,safari,all");
    EXPECT_EQ(odd.chosen, only({SourceId::Chrome}));
    EXPECT_EQ(odd.unknown, (std::vector<std::string>{"safari", "all"}));
    EXPECT_EQ(BrowserListText(only({SourceId::Firefox, SourceId::Edge})), "edge,firefox");
    EXPECT_EQ(BrowserListText({}), "");

    EXPECT_EQ(BrowsersWithoutAList(p.Services(), true), only({SourceId::Edge})) << "a first start: what is installed";
    EXPECT_EQ(BrowsersWithoutAList(p.Services(), false), SourceSet{}) << "after an earlier release: none";
}

TEST(KindChoiceRule, CookiesOnlyWithTheTemporaryFilesPagesOnlyWithTheHistory) {
    EXPECT_EQ(ChosenKinds({.cookies = true, .visitedWithHistory = true}), KindSet{});
    EXPECT_EQ(ChosenKinds({.temporaryFiles = true, .cookies = true}), (KindSet{Kind::CachedFiles, Kind::Cookies}));
    EXPECT_EQ(ChosenKinds({.history = true, .visitedWithHistory = true}),
              (KindSet{Kind::TypedUrls, Kind::VisitedPages}));
    EXPECT_EQ(CountedKinds({Kind::CachedFiles}), (KindSet{Kind::CachedFiles, Kind::Cookies}));
    EXPECT_EQ(CountedKinds({Kind::VisitedPages}), KindSet{Kind::VisitedPages});
}

}  // namespace
