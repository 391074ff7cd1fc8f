// The stores the program reaches through the platform, handed in by whoever builds the
// window or the console program.
#pragma once

#include "platform/file_search.h"
#include "platform/heap.h"
#include "platform/registry.h"
#include "platform/system_facts.h"
#include "platform/url_cache.h"
#include "platform/url_history.h"

struct PlatformServices {
    UrlCache& urlCache;
    Registry& registry;
    FileSearch& files;
    SystemFacts& system;
    Heap& heap;
    UrlHistory& history;

    // The same stores behind another URL cache (a test's gate or fault of its own).
    PlatformServices WithUrlCache(UrlCache& cache) const { return {cache, registry, files, system, heap, history}; }
};
