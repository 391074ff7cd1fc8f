// The real stores as both end-to-end drivers lay them out: emptied before each case, seeded
// with what a browser leaves, and surrounded by neighbours that no count or clear may touch.
// Failures are reported to GoogleTest.
#pragma once

#include <string>
#include <vector>

// Empties the URL cache and removes the TypedURLs and settings keys.
void EmptyStores();

// Ordinary cache entries, each backed by a file, under URLs no earlier call used.
std::vector<std::string> SeedCacheFiles(int count);
// Pages visited in the history container ("Visited: user@http://..."), under URLs no earlier
// call used.
std::vector<std::string> SeedVisitedPages(int count);
// One cookie entry per domain, as wininet keeps them.
void SeedCookieDomains(int count);
// One cookie for each of these hosts (names or IP addresses), set through InternetSetCookieA.
void SeedCookiesFor(const std::vector<std::string>& hosts);
// The list of cookies to keep as a REG_MULTI_SZ of these ASCII strings, written straight.
void StoreKeptSites(const std::vector<std::string>& sites);
// Typed addresses under the given value names, each with an address as its data.
void SeedTypedUrls(const std::vector<std::string>& names);
// Files of these names in the Windows directory's Cookies folder, which Neighbours made.
void SeedCookieFiles(const std::vector<std::string>& names);

// One of the seven choices as the program writes it: a REG_SZ of this text.
struct Stored {
    const char* name;
    const char* text;
};
void Remember(const std::vector<Stored>& values);
// Each value is there with exactly the type and bytes the program writes.
void ExpectStored(const std::vector<Stored>& values);

// Wine's per-executable override of the version query, read when a process starts: the
// executable (a file name such as "brumix.exe") is told that it runs outside the NT family.
void ReportNonNtFamily(const std::string& exe);
void ForgetVersionOverride(const std::string& exe);

// What lies next to the three stores: values beside, under and above the TypedURLs key,
// another program's settings, the settings key's other values, and files in and around the
// Cookies folder, which is made empty.
class Neighbours {
public:
    // Planted after EmptyStores, which would take the one under TypedURLs away.
    void Plant();
    // Every neighbour as Plant left it, and nothing added beside them.
    void ExpectIntact() const;
    void Remove();

private:
    std::vector<std::string> files_;
};
