// The services the main window reaches the stores through, handed in by whoever builds it.
#pragma once

#include "platform/file_search.h"
#include "platform/heap.h"
#include "platform/registry.h"
#include "platform/system_facts.h"
#include "platform/url_cache.h"
#include "platform/window.h"

struct PlatformServices {
    Window& window;
    UrlCache& urlCache;
    Registry& registry;
    FileSearch& files;
    SystemFacts& system;
    Heap& heap;
};
