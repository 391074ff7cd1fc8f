// The clear run and the count: the typed addresses first, then one pass over the URL cache (its
// content with the cookie files, the pages visited), as one selection asks.
#pragma once

#include "platform/platform_services.h"
#include "sweep/cache_sweep.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/typed_url_sweep.h"

struct StoreSelection {
    bool cache = false;
    // The cookie entries and cookie files; they are reached only together with the cache.
    bool cookies = false;
    bool typedUrls = false;
    // The pages visited: the history container's entries, reached with or without the cache.
    bool visited = false;

    bool Any() const { return cache || typedUrls || visited; }
};

struct StoreSweepResult {
    // Each is set only when its store was swept.
    bool typedUrlsSwept = false;
    TypedUrlResult typedUrls;
    // The cache pass ran: for the cache, the pages visited or both.
    bool cacheSwept = false;
    // The pass counted the pages visited (and deleted them when it deleted).
    bool visitedSwept = false;
    // The selection took the cookies: a clear deletes them, a count counts what a clear would.
    bool cookiesSelected = false;
    CacheSweepResult cache;

    bool Stopped() const { return typedUrls.stopped || cache.walk.stopped || cache.cookieFiles.stopped; }
    // The list of cookies to keep could not be read while the cookies were selected: no cookie
    // was deleted, nor would a clear delete one.
    bool CookiesHeld() const { return cookiesSelected && cache.walk.keptListUnreadable; }
    // Every store that was swept was walked to its end.
    bool Complete() const { return (!typedUrlsSwept || typedUrls.Whole()) && (!cacheSwept || cache.walk.complete); }
};

class StoreSweepObserver : public SweepObserver {
public:
    // Each store's result as soon as that store is done, before the next one starts.
    virtual void OnTypedUrlsSwept(const TypedUrlResult&) {}
    virtual void OnCacheSwept(const CacheSweepResult&) {}
};

// deleteItems false counts the selected stores and deletes nothing. A stop requested
// inside one store leaves the stores after it untouched.
StoreSweepResult SweepStores(const PlatformServices& services, const CookieFolderPlace& place,
                             const StoreSelection& selection, bool deleteItems, StoreSweepObserver& observer);
