// The check that a run over the stand-ins gave back everything it took, for the host tests and
// the fuzzers alike.
#pragma once

#include <string>

#include "platform/memory/memory_platform.h"

// Empty when no registry key, cache walk, file search or heap block is still held; otherwise
// what is, with its count, so that a failing check says which.
inline std::string LeftOpen(const MemoryPlatform& p) {
    std::string open;
    const auto note = [&open](int count, const char* what) {
        if (count == 0) return;
        if (!open.empty()) open += ", ";
        open += std::to_string(count) + " " + what;
    };
    note(p.registry.OpenKeys(), "registry keys");
    note(p.cache.OpenWalks(), "cache walks");
    note(p.files.OpenSearches(), "file searches");
    note(p.heap.Live(), "heap blocks");
    return open;
}
