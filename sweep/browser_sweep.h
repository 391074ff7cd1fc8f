// What a pass over another browser's profiles is asked and what it answers: plain inputs (which
// kinds to count, which to delete, the cookies to keep) and plain results per browser.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the user names, as the window's boxes and brumix's flags do.
enum class BrowserKind {
    CachedFiles,
    Cookies,
    // What was typed into the address bar.
    TypedUrls,
    // Every other page visited, and what records the visits and searches.
    VisitedPages,
};
inline constexpr std::size_t kBrowserKindCount = 4;

struct BrowserKinds {
    bool cachedFiles = false;
    bool cookies = false;
    bool typedUrls = false;
    bool visitedPages = false;

    bool Has(BrowserKind kind) const {
        switch (kind) {
            case BrowserKind::CachedFiles:
                return cachedFiles;
            case BrowserKind::Cookies:
                return cookies;
            case BrowserKind::TypedUrls:
                return typedUrls;
            case BrowserKind::VisitedPages:
                return visitedPages;
        }
        return false;
    }
    bool Any() const { return cachedFiles || cookies || typedUrls || visitedPages; }
};

// Asked of each cookie's site, as the system browser's cookie entries name it (lower case, no
// leading "." for a domain cookie, brackets round an IPv6 address): true keeps the cookie, which
// is then neither counted nor deleted. Empty: no cookie is kept.
using KeepCookie = std::function<bool(std::string_view site)>;

struct BrowserRequest {
    BrowserKinds count;
    // Each kind deleted is counted too. A front end whose list of cookies to keep cannot be read
    // counts the cookies and deletes none.
    BrowserKinds remove;
    KeepCookie keepCookie;
};

struct BrowserKindResult {
    int found = 0;
    int deleted = 0;
    // Cookies the list keeps: in found neither.
    int kept = 0;
};

struct BrowserResult {
    // The browser's user data is there for this user; false: every figure below is 0.
    bool installed = false;
    int profiles = 0;
    std::array<BrowserKindResult, kBrowserKindCount> kinds{};
    // The browser runs (its lockfile is held, or another process holds one of its databases):
    // nothing of it was deleted; what could be read was counted.
    bool inUse = false;
    // Databases whose layout this program does not know (a table or column missing, a trigger
    // on a table it would change, no database at all), each named with its browser and profile:
    // left whole.
    std::vector<std::string> layoutProblems;
    // Files and databases that could not be deleted or changed (each told to OnStayed).
    int stayed = 0;
    // Every folder listed and every database read to its end.
    bool complete = true;
    bool stopped = false;

    BrowserKindResult& operator[](BrowserKind kind) { return kinds[static_cast<std::size_t>(kind)]; }
    const BrowserKindResult& operator[](BrowserKind kind) const { return kinds[static_cast<std::size_t>(kind)]; }
};
