// Win32UrlCache and the cache sweep against Wine's real URL cache. Every test starts from an
// emptied cache: a new prefix may already hold entries that Wine made for itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "res/resource.h"
#include "sweep/cache_sweep.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_files.h"
#include "ui/globals.h"

namespace {

constexpr std::size_t kLargeHeader = 6000;
const std::vector<std::string> kFiles = {"http://files.brumix.example/a.gif", "http://files.brumix.example/b.js",
                                         "http://files.brumix.example/c.css"};
const std::vector<std::string> kCookieSites = {"http://alpha.brumix.example/", "http://beta.brumix.example/"};

bool IsCookieUrl(const std::string& url) {
    return url.rfind("Cookie:", 0) == 0;
}

// Wine's real cache, read as the service's reference says: a walk without a pattern hands out
// the content entries alone, the cookies only to a walk of their own.
class ContentOnlyDefaultWalk final : public UrlCache {
public:
    explicit ContentOnlyDefaultWalk(UrlCache& real) : real_(real) {}

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override {
        const WalkHandle walk = real_.FindFirstEntry(pattern, block, size);
        if (pattern != nullptr || walk == kNoWalk) return walk;
        contentOnly_ = walk;
        if (IsCookie(*block) && !FindNextEntry(walk, block, size)) {
            CloseWalk(walk);
            return kNoWalk;
        }
        return walk;
    }
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override {
        bool found = real_.FindNextEntry(walk, block, size);
        while (found && walk == contentOnly_ && IsCookie(*block)) found = real_.FindNextEntry(walk, block, size);
        return found;
    }
    bool DeleteEntry(const char* sourceUrl) override { return real_.DeleteEntry(sourceUrl); }
    void CloseWalk(WalkHandle walk) override {
        if (walk == contentOnly_) contentOnly_ = kNoWalk;
        real_.CloseWalk(walk);
    }
    std::uint32_t LastError() override { return real_.LastError(); }

private:
    static bool IsCookie(const CacheEntryRecord& record) { return (record.CacheEntryType & kCookieCacheEntry) != 0; }

    UrlCache& real_;
    WalkHandle contentOnly_ = kNoWalk;
};

// The names a pass stood on, by kind.
class SeenItems final : public SweepObserver {
public:
    std::vector<std::string> files;
    std::vector<std::string> cookies;
    std::vector<std::string> visited;
    void OnVisit(const SweepItem& item) override {
        auto& names = item.store == Store::Cookie ? cookies : item.store == Store::Visited ? visited : files;
        names.emplace_back(item.name);
    }
};

class UrlCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The cookie folder belongs to the other family; here only the cache is counted.
        g_bIsNT = 1;
        ASSERT_TRUE(ClearCache()) << "the throwaway prefix's cache could not be emptied";
    }
    void TearDown() override {
        for (const std::string& url : locked_) UnlockUrlCacheEntryFileA(url.c_str(), 0);
        ClearCache();
    }

    void SeedFilesAndCookies() {
        for (const std::string& url : kFiles) ASSERT_TRUE(CommitEntry(url)) << url;
        ASSERT_TRUE(SetPersistentCookie(kCookieSites[0], "a=1"));
        ASSERT_TRUE(SetPersistentCookie(kCookieSites[1], "b=2"));
        const std::vector<std::string> urls = CacheUrls();
        ASSERT_EQ(urls.size(), 5u);
        ASSERT_EQ(std::count_if(urls.begin(), urls.end(), IsCookieUrl), 2) << "each site's cookie is one cookie entry";
    }

    // Retrieving an entry's file locks it until it is unlocked, which only TearDown does.
    void Lock(const std::string& url) {
        std::vector<char> buffer(8192);
        auto* record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        record->dwStructSize = sizeof(*record);
        DWORD size = static_cast<DWORD>(buffer.size());
        ASSERT_TRUE(RetrieveUrlCacheEntryFileA(url.c_str(), record, &size, 0)) << GetLastError();
        locked_.push_back(url);
    }

    WineDialog wine;
    Win32UrlCache cache;

private:
    std::vector<std::string> locked_;
};

TEST_F(UrlCacheTest, EmptyCacheReportsNoMoreItemsAndTheSweepShowsClean) {
    std::vector<std::uint8_t> block(4096);
    auto* record = reinterpret_cast<CacheEntryRecord*>(block.data());
    record->dwStructSize = 4096;
    std::uint32_t size = 4096;
    EXPECT_EQ(cache.FindFirstEntry(nullptr, record, size), UrlCache::kNoWalk);
    EXPECT_EQ(cache.LastError(), kErrorNoMoreItems);

    EXPECT_EQ(wine.dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_FALSE(wine.Visible(IDC_FOUND_MARK));
    EXPECT_TRUE(wine.Visible(IDC_CLEAN_MARK));
}

TEST_F(UrlCacheTest, CountingPassesSortEntriesAndDeleteNothing) {
    SeedFilesAndCookies();
    for (int bDeleteCookies : {1, 0}) {
        EXPECT_EQ(wine.dlg.ScanCache(bDeleteCookies, 1), 1);
        EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 3");
        EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 2");
        EXPECT_TRUE(wine.Visible(IDC_FOUND_MARK));
        EXPECT_FALSE(wine.Visible(IDC_CLEAN_MARK));
    }
    EXPECT_EQ(CacheUrls().size(), 5u);
    EXPECT_EQ(wine.heap.Live(), 0);

    wine.window.minimised = true;
    wine.dlg.ScanCache(1, 1);
    EXPECT_EQ(wine.window.Title(), "t:3-c:2");
}

TEST_F(UrlCacheTest, ClearingWithoutCookiesKeepsTheCookieEntries) {
    SeedFilesAndCookies();
    EXPECT_EQ(wine.dlg.ScanCache(0, 0), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 3");
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 2");
    const std::vector<std::string> left = CacheUrls();
    EXPECT_EQ(left.size(), 2u);
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), IsCookieUrl));

    wine.dlg.ScanCache(1, 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 2");
}

TEST_F(UrlCacheTest, ClearingWithCookiesEmptiesTheCache) {
    SeedFilesAndCookies();
    EXPECT_EQ(wine.dlg.ScanCache(1, 0), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 3");
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 2");
    EXPECT_TRUE(CacheUrls().empty());

    wine.dlg.ScanCache(1, 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 0");
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_TRUE(wine.Visible(IDC_CLEAN_MARK));
}

TEST_F(UrlCacheTest, FirstCallOnALargeRecordAsksForItsSizeAndThenFits) {
    const std::string url = "http://large.brumix.example/only";
    ASSERT_TRUE(CommitEntry(url, kLargeHeader));

    std::vector<std::uint8_t> small(4096);
    reinterpret_cast<CacheEntryRecord*>(small.data())->dwStructSize = 4096;
    std::uint32_t size = 4096;
    EXPECT_EQ(cache.FindFirstEntry(nullptr, reinterpret_cast<CacheEntryRecord*>(small.data()), size),
              UrlCache::kNoWalk);
    ASSERT_EQ(cache.LastError(), kErrorInsufficientBuffer);
    ASSERT_GT(size, sizeof(CacheEntryRecord) + kLargeHeader);

    std::vector<std::uint8_t> grown(size);
    auto* record = reinterpret_cast<CacheEntryRecord*>(grown.data());
    record->dwStructSize = size;
    const UrlCache::WalkHandle walk = cache.FindFirstEntry(nullptr, record, size);
    ASSERT_NE(walk, UrlCache::kNoWalk);
    EXPECT_EQ(std::string(record->lpszSourceUrlName), url);
    EXPECT_EQ(record->CacheEntryType & kNormalCacheEntry, kNormalCacheEntry);
    EXPECT_EQ(record->dwHeaderInfoSize, kLargeHeader);
    EXPECT_FALSE(cache.FindNextEntry(walk, record, size));
    EXPECT_EQ(cache.LastError(), kErrorNoMoreItems);
    cache.CloseWalk(walk);
}

// Two large records of different sizes, so that at least one of them is met by a next call
// whatever order the cache walks in.
TEST_F(UrlCacheTest, LargeRecordsAreFetchedWithTheReportedSizeAndCountedOnce) {
    for (const std::string& url : kFiles) ASSERT_TRUE(CommitEntry(url));
    ASSERT_TRUE(CommitEntry("http://large.brumix.example/six", kLargeHeader));
    ASSERT_TRUE(CommitEntry("http://large.brumix.example/nine", kLargeHeader + 3000));

    // A walk through the layer whose block is 4096 bytes except for the one call that was
    // told it needs more: every large record then asks, once, for its own size.
    std::vector<std::uint32_t> asked;
    int askedByNext = 0;
    std::vector<std::uint8_t> block(4096);
    UrlCache::WalkHandle walk = UrlCache::kNoWalk;
    int entries = 0;
    for (;;) {
        auto* record = reinterpret_cast<CacheEntryRecord*>(block.data());
        std::uint32_t size = static_cast<std::uint32_t>(block.size());
        const bool first = walk == UrlCache::kNoWalk;
        const bool ok = first ? (walk = cache.FindFirstEntry(nullptr, record, size)) != UrlCache::kNoWalk
                              : cache.FindNextEntry(walk, record, size);
        if (ok) {
            ++entries;
            block.resize(4096);
            continue;
        }
        if (cache.LastError() != kErrorInsufficientBuffer) break;
        ASSERT_GT(size, block.size());
        asked.push_back(size);
        askedByNext += first ? 0 : 1;
        block.resize(size);
    }
    EXPECT_EQ(cache.LastError(), kErrorNoMoreItems);
    if (walk != UrlCache::kNoWalk) cache.CloseWalk(walk);
    EXPECT_EQ(entries, 5);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_GE(askedByNext, 1);

    // The sweep's block starts at 4096, grows to exactly the first size asked, and grows
    // again only if the second record is larger still.
    std::vector<std::size_t> expectedBlocks = {4096, asked[0]};
    if (asked[1] > asked[0]) expectedBlocks.push_back(asked[1]);
    EXPECT_EQ(wine.dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 5");
    EXPECT_EQ(wine.heap.Sizes(), expectedBlocks);
    EXPECT_EQ(wine.heap.Live(), 0);

    EXPECT_EQ(wine.dlg.ScanCache(1, 0), 1);
    EXPECT_TRUE(CacheUrls().empty());
}

TEST_F(UrlCacheTest, LockedEntryRefusesDeletionStaysAndIsStillCounted) {
    const std::string lockedUrl = "http://locked.brumix.example/page.htm";
    ASSERT_TRUE(CommitEntryWithFile(lockedUrl));
    ASSERT_TRUE(CommitEntry(kFiles[0]));
    Lock(lockedUrl);

    EXPECT_FALSE(cache.DeleteEntry(lockedUrl.c_str()));
    EXPECT_EQ(cache.LastError(), kErrorSharingViolation);

    EXPECT_EQ(wine.dlg.ScanCache(1, 0), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 2");
    EXPECT_EQ(CacheUrls(), std::vector<std::string>{lockedUrl});

    EXPECT_EQ(wine.dlg.ScanCache(1, 1), 1);
    EXPECT_EQ(wine.Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_TRUE(wine.Visible(IDC_FOUND_MARK));
}

// Wine's cookie container, walked on its own by the spelling it answers to, holds exactly the
// cookie entries; a pass over a cache that keeps them out of the default walk reaches them
// there, counts each once and deletes them only when asked.
TEST_F(UrlCacheTest, CookieWalkReturnsExactlyTheCookieEntries) {
    SeedFilesAndCookies();
    const CacheCensus census = TakeCensus();
    ASSERT_TRUE(census.complete);

    ContentOnlyDefaultWalk documented(cache);
    SeenItems counted;
    const CacheWalkResult count = WalkUrlCache(documented, wine.heap, CacheRequest{}, counted);
    EXPECT_TRUE(count.complete);
    EXPECT_EQ(count.counts[Kind::CachedFiles].found, 3);
    EXPECT_EQ(count.counts[Kind::Cookies].found, 2);
    EXPECT_EQ(Sorted(counted.files), Sorted(census.files));
    EXPECT_EQ(Sorted(counted.cookies), Sorted(census.cookies));

    SeenItems kept;
    EXPECT_TRUE(WalkUrlCache(documented, wine.heap, CacheRequest{.deleted = {Kind::CachedFiles}}, kept).complete);
    EXPECT_EQ(Sorted(CacheUrls()), Sorted(census.cookies));
    SeenItems cleared;
    const CacheWalkResult clear =
        WalkUrlCache(documented, wine.heap, CacheRequest{.deleted = {Kind::CachedFiles, Kind::Cookies}}, cleared);
    EXPECT_EQ(clear.counts[Kind::Cookies].deleted, 2);
    EXPECT_EQ(Sorted(cleared.cookies), Sorted(census.cookies));
    EXPECT_TRUE(CacheUrls().empty());
    EXPECT_EQ(wine.heap.Live(), 0);
}

// Wine's history container, seeded as Wine's own tests seed it: the walk without a pattern
// returns the pages with the rest, typed as pages, and of the two spellings only the container's
// own walks it alone.
TEST_F(UrlCacheTest, PagesVisitedComeWithTheWalkWithoutAPatternAndTheContainersOwnSpelling) {
    SeedFilesAndCookies();
    const std::vector<std::string> others = Sorted(CacheUrls());
    const std::vector<std::string> pages = {"Visited: user@http://pages.brumix.example/a.htm",
                                            "Visited: user@http://pages.brumix.example/b.htm"};
    for (const std::string& url : pages) ASSERT_TRUE(CommitVisitedPage(url)) << url;
    std::vector<std::uint8_t> block(4096);
    std::uint32_t size = 4096;
    EXPECT_EQ(cache.FindFirstEntry(kVisitedPattern, reinterpret_cast<CacheEntryRecord*>(block.data()), size),
              UrlCache::kNoWalk);
    EXPECT_EQ(cache.LastError(), kErrorNoMoreItems);

    SeenItems counted;
    EXPECT_EQ(WalkUrlCache(cache, wine.heap, CacheRequest{}, counted).counts[Kind::CachedFiles].found, 3);
    EXPECT_EQ(Sorted(counted.visited), pages);

    SeenItems cleared;
    const KindSet visitedPages{Kind::VisitedPages};
    const CacheWalkResult alone =
        WalkUrlCache(cache, wine.heap, CacheRequest{.counted = visitedPages, .deleted = visitedPages}, cleared);
    EXPECT_TRUE(alone.complete);
    EXPECT_EQ(alone.counts[Kind::VisitedPages].deleted, 2);
    EXPECT_EQ(Sorted(cleared.visited), pages);
    EXPECT_EQ(Sorted(CacheUrls()), others);
    EXPECT_EQ(wine.heap.Live(), 0);
}

}  // namespace
