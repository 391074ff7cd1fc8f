// The browser's URL cache as a source: its content (the cached files and the cookie entries) and
// the pages visited, each entry sorted by its type.
#pragma once

#include <cstdint>

#include "platform/heap.h"
#include "platform/url_cache.h"
#include "sweep/kinds.h"
#include "sweep/sweep_observer.h"

class KeptCookieFilter;
struct SourceContext;

struct CacheRequest {
    // The kinds counted: the cached files and the cookies come in one walk, the pages visited in
    // the history container's, which is walked only when they are asked for.
    KindSet counted{Kind::CachedFiles, Kind::Cookies};
    // The kinds deleted, of those counted.
    KindSet deleted;
};

struct CacheWalkResult {
    // Every entry met is sorted once by its type and counted once under its kind, whether it was
    // then deleted or not, and only when its kind is counted: with the pages visited not asked
    // for, they are in no count at all. Entries of any kind that were in use are pending.
    KindTallies counts;
    // Every walk of the pass ended with no more items; false when one ended on an error.
    bool complete = false;
    bool stopped = false;
};

// Sorts an entry by its type: the cookie bit makes a cookie; else the history bit, or lacking
// it a URL beginning "Visited:" in any case, makes a page visited; else a cached file.
Store CacheEntryStore(std::uint32_t entryType, const char* sourceUrl);

// With content asked for, one walk without a pattern, then, when that whole walk met no cookie
// entry, one over the cookie container; with the pages visited asked for and none met so far,
// one over the history container (the only walk of a pass over them alone). A container is
// walked by the reference's spelling, and by its own when that finds nothing at once. One
// block that only grows serves every walk; each entry is deleted where it stands.
// A cookie entry whose site keep keeps is reported to OnKept and counted as kept alone, whether
// the pass deletes or only counts, and its local file is told to keep; with a list that cannot
// be read, no cookie entry is deleted. Without keep, nothing is kept.
CacheWalkResult WalkUrlCache(UrlCache& cache, Heap& heap, const CacheRequest& request, SweepObserver& observer,
                             KeptCookieFilter* keep = nullptr);

// The source: the walks over the kinds the pass counts; once they all reached their end, the
// kept entries' files are all known.
void RunUrlCache(SourceContext& context);
