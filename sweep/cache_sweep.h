// The pass over the browser's URL cache (its content, its cookies, the pages visited), followed
// by the cookie files outside the NT family.
#pragma once

#include "platform/platform_services.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/sweep_observer.h"

struct CacheRequest {
    // Delete the entries asked for; without it the pass only counts.
    bool deleteEntries = false;
    // With deleteEntries and includeContent: the cookie entries and the cookie files go too.
    bool includeCookies = false;
    // The pages visited are counted, and with deleteEntries deleted.
    bool includeVisited = false;
    // The cached files and the cookies are counted, the cached files deleted with deleteEntries;
    // false for a pass over the pages visited alone, which walks only the history container.
    bool includeContent = true;
};

struct CacheWalkResult {
    // Every entry met is sorted once by its type and counted once, whether it was then deleted
    // or not; the pages visited only when the request asks for them, so that with the option
    // off they are in no count at all.
    int cachedFiles = 0;
    int cookieEntries = 0;
    int visitedPages = 0;
    int deletedFiles = 0;
    int deletedCookieEntries = 0;
    int deletedVisitedPages = 0;
    // Entries of any kind that were in use: the service deletes them once they are released.
    int pendingDeletions = 0;
    // Every walk of the pass ended with no more items; false when one ended on an error.
    bool complete = false;
    bool stopped = false;
};

struct CacheSweepResult {
    CacheWalkResult walk;
    CookieFolderResult cookieFiles;

    int Cookies() const { return walk.cookieEntries + cookieFiles.count; }
    // Anything the request asked for: the pages visited are counted only when it did.
    bool FoundAnything() const {
        return walk.cachedFiles != 0 || walk.cookieEntries != 0 || cookieFiles.count != 0 || walk.visitedPages != 0;
    }
};

// Sorts an entry by its type: the cookie bit makes a cookie; else the history bit, or lacking
// it a URL beginning "Visited:" in any case, makes a page visited; else a cached file.
Store CacheEntryStore(std::uint32_t entryType, const char* sourceUrl);

// With content asked for, one walk without a pattern, then, when that whole walk met no cookie
// entry, one over the cookie container; with the pages visited asked for and none met so far,
// one over the history container (the only walk of a pass over them alone). A container is
// walked by the reference's spelling, and by its own when that finds nothing at once. One
// block that only grows serves every walk; each entry is deleted where it stands.
CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer);

// The walks, then, with content asked for, the cookie folder with the same request (unless a
// walk was stopped).
CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place,
                            const CacheRequest& request, SweepObserver& observer);
