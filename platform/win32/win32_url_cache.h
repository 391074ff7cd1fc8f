// The URL cache service over wininet's ANSI cache walk.
#pragma once

#include "platform/url_cache.h"

class Win32UrlCache final : public UrlCache {
public:
    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override;
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override;
    bool DeleteEntry(const char* sourceUrl) override;
    void CloseWalk(WalkHandle walk) override;
    std::uint32_t LastError() override { return lastError_; }

private:
    // Taken right after each failing call, so that nothing run in between (the C runtime,
    // a debugger hook) can overwrite the thread's error before the walk asks for it.
    std::uint32_t lastError_ = 0;
};
