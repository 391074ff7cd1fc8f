// The engine's sweeps with no window at all: counts, deletions, what the observer hears and
// when, and a stop between two items.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/memory/memory_platform.h"
#include "sweep/store_sweep.h"

namespace {

constexpr std::uint32_t kRegBinary = 3;
constexpr char kCookieFolder[] = "C:\\WINDOWS\\Cookies";
const CookieFolderPlace kWin98{false, "C:\\WINDOWS"};
const CookieFolderPlace kNt{true, "C:\\WINDOWS"};

// Writes down every call as "visit STORE NAME", "kept STORE NAME" or "typed done" /
// "cache done", and can stop after a given number of visits.
class Recorder : public StoreSweepObserver {
public:
    std::vector<std::string> heard;
    int stopAfterVisits = -1;
    std::function<void(const SweepItem&)> whileNotDeleted;
    std::function<void(std::vector<std::string>&)> orderTyped;

    bool StopRequested() override { return stopAfterVisits >= 0 && visits_ >= stopAfterVisits; }
    void OnVisit(const SweepItem& item) override {
        ++visits_;
        heard.push_back("visit " + StoreName(item.store) + " " + std::string(item.name));
    }
    void OnNotDeleted(const SweepItem& item) override {
        heard.push_back("kept " + StoreName(item.store) + " " + std::string(item.name));
        if (whileNotDeleted) whileNotDeleted(item);
    }
    void OnTypedUrlsListed(std::vector<std::string>& names) override {
        if (orderTyped) orderTyped(names);
    }
    void OnTypedUrlsSwept(const TypedUrlResult&) override { heard.emplace_back("typed done"); }
    void OnCacheSwept(const CacheSweepResult&) override { heard.emplace_back("cache done"); }

private:
    static std::string StoreName(Store store) {
        switch (store) {
            case Store::Cache:
                return "cache";
            case Store::Cookie:
                return "cookie";
            case Store::CookieFile:
                return "file";
            case Store::Typed:
                return "typed";
        }
        return "?";
    }
    int visits_ = 0;
};

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        p.files.AddFolder("C:\\WINDOWS");
        p.files.AddFolder(kCookieFolder);
    }
    void SeedTyped(std::initializer_list<const char*> names) {
        p.registry.AddKey(kTypedUrlsKey);
        for (const char* name : names) p.registry.SetText(kTypedUrlsKey, name, std::string("http://") + name + "/");
    }
    void ExpectNothingOpen() {
        EXPECT_EQ(p.registry.OpenKeys(), 0);
        EXPECT_EQ(p.cache.OpenWalks(), 0);
        EXPECT_EQ(p.files.OpenSearches(), 0);
        EXPECT_EQ(p.heap.Live(), 0);
    }

    MemoryPlatform p;
    Recorder recorder;
};

TEST_F(EngineTest, CountingTheCacheVisitsEveryEntryInOrderAndDeletesNothing) {
    p.cache.Add("http://a.example/1.gif");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    p.files.AddFile(kCookieFolder, "user@b.txt");
    const CacheSweepResult result = SweepCache(p.Services(), kWin98, CacheRequest{false, true}, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/1.gif", "visit cookie Cookie:user@a.example/",
                                        "visit file user@b.txt"}));
    EXPECT_EQ(result.walk.cachedFiles, 1);
    EXPECT_EQ(result.walk.cookieEntries, 1);
    EXPECT_EQ(result.cookieFiles.count, 1);
    EXPECT_EQ(result.Cookies(), 2);
    EXPECT_TRUE(result.walk.complete);
    EXPECT_EQ(result.walk.deletedFiles + result.walk.deletedCookieEntries + result.cookieFiles.deleted, 0);
    EXPECT_EQ(p.cache.Size(), 2u);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "user@b.txt"));
    ExpectNothingOpen();
}

TEST_F(EngineTest, LockedEntryIsReportedInlineAndTheWalkGoesOn) {
    p.cache.Add("http://a.example/1");
    p.cache.Add("http://a.example/locked", kNormalCacheEntry, 0, true);
    p.cache.Add("http://a.example/3");
    p.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{true, false}, recorder);
    EXPECT_EQ(recorder.heard,
              (std::vector<std::string>{"visit cache http://a.example/1", "visit cache http://a.example/locked",
                                        "kept cache http://a.example/locked", "visit cache http://a.example/3",
                                        "visit cookie Cookie:user@a.example/"}));
    EXPECT_EQ(result.cachedFiles, 3);
    EXPECT_EQ(result.deletedFiles, 2);
    EXPECT_EQ(result.deletedCookieEntries, 0);
    EXPECT_EQ(p.cache.Urls(), (std::vector<std::string>{"http://a.example/locked", "Cookie:user@a.example/"}));
    ExpectNothingOpen();
}

TEST_F(EngineTest, WalkFailingMidwayIsIncompleteWithTheCountsSoFar) {
    for (int i = 0; i < 4; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    const CacheWalkResult result = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(result.cachedFiles, 2);
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.stopped);
    ExpectNothingOpen();
}

// A failed call whose last error reads 0 has left the previous entry in the block.
TEST_F(EngineTest, FailedCallThatNamesNoErrorEndsTheWalkIncomplete) {
    for (int i = 0; i < 3; ++i) p.cache.Add("http://a.example/" + std::to_string(i));
    p.faults.FailCall("FindNextUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult next = WalkUrlCache(p.cache, p.heap, CacheRequest{true, true}, recorder);
    EXPECT_EQ(next.cachedFiles, 1);
    EXPECT_EQ(next.deletedFiles, 1);
    EXPECT_FALSE(next.complete);
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"visit cache http://a.example/0"});

    p.faults.Clear();
    p.faults.FailCall("FindFirstUrlCacheEntry", kErrorSuccess);
    const CacheWalkResult first = WalkUrlCache(p.cache, p.heap, CacheRequest{}, recorder);
    EXPECT_EQ(first.cachedFiles, 0);
    EXPECT_FALSE(first.complete);
    ExpectNothingOpen();
}

// Which walks a pass makes: the cookies on their own only after a whole walk without a pattern
// that met none, under the reference's spelling first and the container's own after it.
TEST_F(EngineTest, CookiesAreWalkedOnTheirOwnOnlyAfterAWholeWalkThatMetNone) {
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
class CookieReadingTest : public EngineTest, public ::testing::WithParamInterface<CachePatternReading> {
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

TEST_F(EngineTest, StopBetweenTwoEntriesLeavesTheRestAndTheCookieFolder) {
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

TEST_F(EngineTest, CookieFilesOnlyOutsideNtAndOnlyWithTheCookies) {
    p.files.AddFile(kCookieFolder, "a.txt");
    EXPECT_EQ(SweepCookieFiles(p.files, kNt, true, recorder).count, 0);
    EXPECT_EQ(SweepCookieFiles(p.files, CookieFolderPlace{false, ""}, true, recorder).count, 0);
    EXPECT_TRUE(recorder.heard.empty());
    SweepCache(p.Services(), kWin98, CacheRequest{true, false}, recorder);
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    SweepCache(p.Services(), kWin98, CacheRequest{true, true}, recorder);
    EXPECT_FALSE(p.files.HasFile(kCookieFolder, "a.txt"));
}

TEST_F(EngineTest, UndeletableCookieFileIsReportedOnceThoughMetAgain) {
    p.files.AddFile(kCookieFolder, "stuck.txt", true);
    p.files.AddFile(kCookieFolder, "b.txt");
    p.files.AddFile(kCookieFolder, "c.txt");
    const CookieFolderResult result = SweepCookieFiles(p.files, kWin98, true, recorder);
    EXPECT_EQ(result.count, 5);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "kept file stuck.txt"), 1);
    EXPECT_EQ(p.files.Files(kCookieFolder), std::vector<std::string>{"stuck.txt"});
    ExpectNothingOpen();
}

TEST_F(EngineTest, OnlyNamesWhoseOwnExtensionIsTxtAreCookieFiles) {
    // The search hands these out through their 8.3 aliases (NOTES~1.TXT, ...), as the real one does.
    p.files.AddFile(kCookieFolder, "notes.txtold");
    p.files.AddFile(kCookieFolder, "archive.txt.bak");
    p.files.AddFile(kCookieFolder, "USER@A.TXT");
    p.files.AddFile(kCookieFolder, "user@b.Txt");
    ASSERT_EQ(MemoryFileSearch::ShortAlias("notes.txtold"), "NOTES~1.TXT");

    EXPECT_EQ(SweepCookieFiles(p.files, kWin98, false, recorder).count, 2);
    const CookieFolderResult cleared = SweepCookieFiles(p.files, kWin98, true, recorder);
    EXPECT_EQ(cleared.deleted, 2);
    EXPECT_EQ(cleared.count, 0);
    EXPECT_EQ(p.files.Files(kCookieFolder), (std::vector<std::string>{"notes.txtold", "archive.txt.bak"}));
    for (const std::string& line : recorder.heard) EXPECT_EQ(line.find("notes"), std::string::npos) << line;
    ExpectNothingOpen();
}

TEST_F(EngineTest, TypedNamesAreListedThenDeletedInCaseBlindOrder) {
    SeedTyped({"url2", "URL10", "url1"});
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_TRUE(result.opened);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 3);
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"visit typed url2", "visit typed URL10", "visit typed url1"}));
    EXPECT_EQ(p.registry.DeletedNames(), (std::vector<std::string>{"url1", "URL10", "url2"}));
    ExpectNothingOpen();
}

// The caller's order is taken only when it holds exactly the names listed.
TEST_F(EngineTest, TypedNamesAreDeletedInTheCallersOrderWhenItHoldsTheSameNames) {
    SeedTyped({"a", "b", "c"});
    recorder.orderTyped = [](std::vector<std::string>& names) { std::reverse(names.begin(), names.end()); };
    SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(p.registry.DeletedNames(), (std::vector<std::string>{"c", "b", "a"}));

    SeedTyped({"a", "b", "c"});
    recorder.orderTyped = [](std::vector<std::string>& names) { names = {"c", "x", "a"}; };
    SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(p.registry.DeletedNames(), (std::vector<std::string>{"c", "b", "a", "a", "b", "c"}));
}

TEST_F(EngineTest, ValueThatStaysIsReportedWhileTheKeyIsOpenAndBeforeTheNext) {
    SeedTyped({"a", "b", "c"});
    p.registry.ProtectValue(kTypedUrlsKey, "b");
    std::vector<std::string> deletedWhenReported;
    recorder.whileNotDeleted = [&](const SweepItem&) {
        EXPECT_EQ(p.registry.OpenKeys(), 1);
        deletedWhenReported = p.registry.DeletedNames();
    };
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(deletedWhenReported, std::vector<std::string>{"a"});
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsKey), std::vector<std::string>{"b"});
    ExpectNothingOpen();
}

TEST_F(EngineTest, TypedNameTooLongForTheBufferIsSkippedNotTheEnd) {
    // Longest name of the registry in a double-byte code page: two bytes a character.
    const std::string doubleByte(kMaxValueNameChars * 2, 'x');
    const std::string tooLong(kMaxValueNameChars * 2 + 1, 'y');
    p.registry.AddKey(kTypedUrlsKey);
    p.registry.SetText(kTypedUrlsKey, "url1", "http://a/");
    p.registry.SetText(kTypedUrlsKey, tooLong, "http://b/");
    p.registry.SetText(kTypedUrlsKey, doubleByte, "http://c/");
    p.registry.SetText(kTypedUrlsKey, "url2", "http://d/");
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 3);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsKey), std::vector<std::string>{tooLong});
}

TEST_F(EngineTest, TypedListingEndedByAnErrorIsIncomplete) {
    SeedTyped({"a", "b"});
    p.faults.FailCall("RegEnumValue", kErrorAccessDenied, 2);
    const TypedUrlResult result = SweepTypedUrls(p.registry, false, recorder);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.listed, 1);
    p.registry.DenyAccess(kTypedUrlsKey);
    EXPECT_FALSE(SweepTypedUrls(p.registry, true, recorder).opened);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsKey).size(), 2u);
}

// Each address deleted takes the time it was typed; every other time stays, and one that
// cannot be deleted is neither counted nor reported.
TEST_F(EngineTest, EachDeletedAddressTakesItsTimeAndNoOther) {
    SeedTyped({"url1", "url2", "url3"});
    p.registry.ProtectValue(kTypedUrlsKey, "url2");
    const std::vector<std::uint8_t> when{0x00, 0x5e, 0x8a, 0x3c, 0x7b, 0x2d, 0xd9, 0x01};
    for (const char* name : {"url1", "url2", "url3", "url4"})
        p.registry.SetValue(kTypedUrlsTimeKey, name, kRegBinary, when);
    p.registry.ProtectValue(kTypedUrlsTimeKey, "url3");

    const TypedUrlResult counted = SweepTypedUrls(p.registry, false, recorder);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsTimeKey).size(), 4u) << "a count deletes no time";
    const TypedUrlResult result = SweepTypedUrls(p.registry, true, recorder);
    EXPECT_EQ(counted.listed, 3);
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsTimeKey), (std::vector<std::string>{"url2", "url3", "url4"}));
    std::vector<std::string> kept;
    std::copy_if(recorder.heard.begin(), recorder.heard.end(), std::back_inserter(kept),
                 [](const std::string& heard) { return heard.rfind("kept", 0) == 0; });
    EXPECT_EQ(kept, std::vector<std::string>{"kept typed url2"});
    EXPECT_TRUE(p.registry.HasKey(kTypedUrlsTimeKey));
    ExpectNothingOpen();
}

TEST_F(EngineTest, StoresGoTypedFirstThenCacheEachReportedWhenDone) {
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
    EXPECT_EQ(p.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "c.txt"));
    EXPECT_TRUE(p.registry.ValueNames(kTypedUrlsKey).empty());
}

TEST_F(EngineTest, UnselectedStoresAreNotTouchedAndCountingDeletesNothing) {
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
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsKey).size(), 1u);
}

TEST_F(EngineTest, StopInsideTheTypedAddressesLeavesTheCacheUntouched) {
    SeedTyped({"a", "b"});
    p.cache.Add("http://a.example/1");
    recorder.stopAfterVisits = 2;
    const StoreSweepResult result = SweepStores(p.Services(), kWin98, StoreSelection{true, true, true}, true, recorder);
    EXPECT_TRUE(result.Stopped());
    EXPECT_FALSE(result.cacheSwept);
    EXPECT_EQ(p.registry.ValueNames(kTypedUrlsKey).size(), 2u);
    EXPECT_EQ(p.cache.Size(), 1u);
    ExpectNothingOpen();
}

TEST_F(EngineTest, MissingTypedKeyCountsAsCompleteAndEmpty) {
    const StoreSweepResult result = SweepStores(p.Services(), kNt, StoreSelection{true, true, true}, false, recorder);
    EXPECT_FALSE(result.typedUrls.opened);
    EXPECT_TRUE(result.Complete());
}

}  // namespace
