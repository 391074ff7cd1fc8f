// Seeding and inspecting Wine's real URL cache straight through wininet, independently of
// the layer under test.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// An ordinary entry with no local file; headerBytes of header info make its record as
// large as wanted.
bool CommitEntry(const std::string& url, std::size_t headerBytes = 0);
// An ordinary entry backed by a one-byte file in the cache's own folder, so that it can be
// retrieved (and so locked).
bool CommitEntryWithFile(const std::string& url);
// A cookie that outlives the session, which wininet keeps as a cookie entry of the cache.
bool SetPersistentCookie(const std::string& url, const std::string& nameValue);

// Every entry's URL, by a plain walk that grows its buffer as asked.
std::vector<std::string> CacheUrls();
// Deletes every entry it can; returns how many entries the cache still holds afterwards.
std::size_t ClearCache();
