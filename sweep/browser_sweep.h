// What a pass over another browser's profiles is asked and what it answers: plain inputs (which
// kinds to count, which to delete, the cookies to keep) and plain results per browser, in the
// engine's own kinds and tallies.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sweep/kinds.h"

// Asked of each cookie's site, as the system browser's cookie entries name it (lower case, no
// leading "." for a domain cookie, brackets round an IPv6 address): true keeps the cookie, which
// is then neither counted nor deleted. Empty: no cookie is kept.
using KeepCookie = std::function<bool(std::string_view site)>;

struct BrowserRequest {
    KindSet count;
    // Each kind deleted is counted too. A front end whose list of cookies to keep cannot be read
    // counts the cookies and deletes none.
    KindSet remove;
    KeepCookie keepCookie;
};

struct BrowserResult {
    // The browser's user data is there for this user; false: every figure below is 0.
    bool installed = false;
    int profiles = 0;
    // found, deleted and kept (cookies the list keeps, in found neither) per kind; nothing here
    // is pending.
    KindTallies counts;
    // The browser runs (its lockfile is held, or another process holds one of its databases):
    // nothing of it was deleted; what could be read was counted.
    bool inUse = false;
    // Databases whose layout this program does not know (a table or column missing, a trigger
    // on a table it would change, no database at all), each named with its browser and profile:
    // left whole.
    std::vector<std::string> layoutProblems;
    // Files and databases that stayed: could not be deleted or changed (each told to OnStayed).
    int stayed = 0;
    // Every folder listed and every database read to its end.
    bool complete = true;
    bool stopped = false;

    Tally& operator[](Kind kind) { return counts[kind]; }
    const Tally& operator[](Kind kind) const { return counts[kind]; }
};
