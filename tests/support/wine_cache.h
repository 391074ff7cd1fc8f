// Seeding and inspecting Wine's real URL cache straight through wininet, independently of
// the layer under test and of the program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// An ordinary entry with no local file; headerBytes of header info make its record as
// large as wanted.
bool CommitEntry(const std::string& url, std::size_t headerBytes = 0);
// An ordinary entry backed by a file holding body in the cache's own folder, so that it can
// be retrieved (and so locked).
bool CommitEntryWithFile(const std::string& url, const std::string& body = "x");
// A page visited as the browser's history keeps it, as Wine's own tests seed one: url is the
// whole source URL ("Visited: user@http://..."), committed with the history type bit, which
// files it in the history container.
bool CommitVisitedPage(const std::string& url);
// A cookie that outlives the session, which wininet keeps as a cookie entry of the cache
// (one entry per domain).
bool SetPersistentCookie(const std::string& url, const std::string& nameValue);
// A name no earlier call in this process returned, so that seeded entries never collide.
std::string UniqueName(const std::string& stem);

// One walk without a pattern, which under Wine returns every container, its entries sorted as
// the program sorts them.
struct CacheCensus {
    std::vector<std::string> files;    // source URLs of the entries that are neither of the others
    std::vector<std::string> cookies;  // source URLs of the cookie entries
    std::vector<std::string> visited;  // the pages visited: the history bit, or a "Visited:" URL
    bool complete = false;             // the walk ended with ERROR_NO_MORE_ITEMS
};
CacheCensus TakeCensus();
// Every entry's URL in the order of a plain walk that grows its buffer as asked.
std::vector<std::string> CacheUrls();
// Deletes every entry it can; true when a complete walk then finds the cache empty.
bool ClearCache();
