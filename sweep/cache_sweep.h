// The pass over the browser's URL cache (its content, its cookies, the pages visited), followed
// by the cookie files outside the NT family.
#pragma once

#include <functional>

#include "platform/platform_services.h"
#include "settings/kept_cookies_store.h"
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
    // Cookie entries that the list of cookies to keep keeps: in no count above, never deleted.
    int cookiesKept = 0;
    // The list could not be read (by the walk, or by the cookie folder's sweep after it): no
    // cookie was deleted, and every cookie was counted as one.
    bool keptListUnreadable = false;
    // Every walk of the pass ended with no more items; false when one ended on an error.
    bool complete = false;
    bool stopped = false;
};

struct CacheSweepResult {
    CacheWalkResult walk;
    CookieFolderResult cookieFiles;

    // The cookies that are traces: a kept one is in CookiesKept alone.
    int Cookies() const { return walk.cookieEntries + cookieFiles.count; }
    int CookiesKept() const { return walk.cookiesKept + cookieFiles.kept; }
    // Anything the request asked for: the pages visited are counted only when it did, and a
    // kept cookie is nothing found.
    bool FoundAnything() const {
        return walk.cachedFiles != 0 || walk.cookieEntries != 0 || cookieFiles.count != 0 || walk.visitedPages != 0;
    }
};

// Sorts an entry by its type: the cookie bit makes a cookie; else the history bit, or lacking
// it a URL beginning "Visited:" in any case, makes a page visited; else a cached file.
Store CacheEntryStore(std::uint32_t entryType, const char* sourceUrl);

// Where a pass takes the list of cookies to keep from: called at most once a pass, when the
// pass first counts a cookie. An empty source is no list.
using KeptListSource = std::function<KeptCookieList()>;

// With content asked for, one walk without a pattern, then, when that whole walk met no cookie
// entry, one over the cookie container; with the pages visited asked for and none met so far,
// one over the history container (the only walk of a pass over them alone). A container is
// walked by the reference's spelling, and by its own when that finds nothing at once. One
// block that only grows serves every walk; each entry is deleted where it stands.
// A cookie entry whose site the list keeps is reported to OnKept and counted in cookiesKept
// alone, whether the pass deletes or only counts; with a list that cannot be read, no cookie
// entry is deleted.
CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer,
                             const KeptListSource& keptList = {});

// The walks, then, with content asked for, the cookie folder with the same request (unless a
// walk was stopped). The list of cookies to keep comes from the settings, read once, when the
// first cookie entry or file is met, so that every caller honours it. A cookie file is kept when
// a kept cookie entry names it as its local file (the cache's own record of which file holds a
// site's cookies; the file's name, often shortened, is never read for a site). No cookie file
// is deleted when the list cannot be read, nor when it keeps a site and the walks did not reach
// their end (a kept entry not met could name any file).
CacheSweepResult SweepCache(const PlatformServices& services, const CookieFolderPlace& place,
                            const CacheRequest& request, SweepObserver& observer);
