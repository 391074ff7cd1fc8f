// Every stand-in wired to one fault list: what a test or a fuzzer builds the logic over. The
// window starts with the controls its builder gives it.
#pragma once

#include <utility>

#include "platform/memory/counting_heap.h"
#include "platform/memory/faults.h"
#include "platform/memory/memory_file_search.h"
#include "platform/memory/memory_pass_runner.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system_facts.h"
#include "platform/memory/memory_url_cache.h"
#include "platform/memory/memory_window.h"
#include "platform/platform_services.h"

struct MemoryPlatform {
    explicit MemoryPlatform(MemoryWindow::Controls controls = {}) : window(faults, std::move(controls)) {}

    Faults faults;
    MemoryWindow window;
    MemoryUrlCache cache{faults};
    MemoryRegistry registry{faults};
    MemoryFileSearch files{faults};
    MemorySystemFacts system{faults};
    CountingHeap heap{faults};
    MemoryPassRunner passes;

    PlatformServices Services() { return {cache, registry, files, system, heap, cache}; }
};
