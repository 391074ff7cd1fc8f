// A URL cache that hands every call to another, for tests that step in at the start of a walk
// (which runs on the worker) by overriding FindFirstEntry.
#pragma once

#include "platform/url_cache.h"

class ForwardingUrlCache : public UrlCache {
public:
    explicit ForwardingUrlCache(UrlCache& inner) : inner_(inner) {}

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override {
        return inner_.FindFirstEntry(pattern, block, size);
    }
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override {
        return inner_.FindNextEntry(walk, block, size);
    }
    bool DeleteEntry(const char* sourceUrl) override { return inner_.DeleteEntry(sourceUrl); }
    void CloseWalk(WalkHandle walk) override { inner_.CloseWalk(walk); }
    std::uint32_t LastError() override { return inner_.LastError(); }

private:
    UrlCache& inner_;
};
