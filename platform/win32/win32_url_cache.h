// The URL cache service over wininet's ANSI cache walk.
#pragma once

#include "platform/url_cache.h"
#include "platform/win32/system_dll.h"

struct WininetCalls;

class Win32UrlCache final : public UrlCache {
public:
    // wininet from the system folder and the calls the walk makes, resolved once per process.
    // A program asks first, and says what is missing instead of walking; a cache made without
    // them fails every call with ERROR_PROC_NOT_FOUND.
    static SystemDllFailure LoadWininet();

    Win32UrlCache();

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override;
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override;
    bool DeleteEntry(const char* sourceUrl) override;
    void CloseWalk(WalkHandle walk) override;
    std::uint32_t LastError() override { return lastError_; }

private:
    bool Unavailable();

    const WininetCalls& calls_;
    // Taken right after each failing call, so that nothing run in between (the C runtime,
    // a debugger hook) can overwrite the thread's error before the walk asks for it.
    std::uint32_t lastError_ = 0;
};
