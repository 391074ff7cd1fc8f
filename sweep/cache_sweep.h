// The pass over the browser's URL cache, followed by the cookie files outside the NT family.
#pragma once

#include "platform/platform_services.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/sweep_observer.h"

struct CacheRequest {
    // Delete the entries met; without it the pass only counts.
    bool deleteEntries = false;
    // With deleteEntries: the cookie entries and the cookie files go too.
    bool includeCookies = false;
};

struct CacheWalkResult {
    // Every entry met is counted once, whether it was then deleted or not.
    int cachedFiles = 0;
    int cookieEntries = 0;
    int deletedFiles = 0;
    int deletedCookieEntries = 0;
    // The service said there were no more entries; false when the walk ended on an error.
    bool complete = false;
    bool stopped = false;
};

struct CacheSweepResult {
    CacheWalkResult walk;
    CookieFolderResult cookieFiles;

    int Cookies() const { return walk.cookieEntries + cookieFiles.count; }
    bool FoundAnything() const { return walk.cachedFiles != 0 || walk.cookieEntries != 0 || cookieFiles.count != 0; }
};

// One walk without a pattern, then, when that whole walk met no cookie entry, one over the
// cookie container; one block that only grows, each entry deleted where it stands.
CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer);

// The walk, then the cookie folder with the same request (unless the walk was stopped).
CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place,
                            const CacheRequest& request, SweepObserver& observer);
