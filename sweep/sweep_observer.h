// What a sweep tells its caller while it runs: each item it stands on, each item that stayed
// or whose deletion is pending, inline and in order, the caller's chance to stop between two
// items, and each kind once every source of it has run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sweep/kinds.h"

struct SweepResult;

struct SweepItem {
    Store store;
    // The cache entry's source URL, the cookie file's bare name, the typed value's name, another
    // browser's item with the browser and profile before it; valid only during the call.
    std::string_view name;
    // A cookie's site, as the cookies to keep take it (lower case, no leading "."); empty for
    // anything else, and for a cookie file, whose name says no site.
    std::string_view site = {};
    // Another browser's names are UTF-8 (its paths and databases hold them so); the system
    // browser's come from the ANSI calls, in the system's code page.
    bool utf8 = false;
};

class SweepObserver {
public:
    virtual ~SweepObserver() = default;

    // Asked before each item is touched; true ends the sweep there, the item untouched.
    virtual bool StopRequested() { return false; }
    // The sweep stands on an item, before deleting it if it deletes. The cache pass stands on
    // every entry its walks return, also one of a kind its request does not ask for, which
    // it neither counts nor deletes; a cookie that is kept is reported by OnKept instead.
    virtual void OnVisit(const SweepItem&) {}
    // A cookie entry, or a cookie file, that the list of cookies to keep keeps: it is no trace,
    // neither counted nor deleted, and the sweep goes on to the next item.
    virtual void OnKept(const SweepItem&) {}
    // The list of cookies to keep could not be read: from here to the end of the pass no cookie
    // is deleted, and each is counted and visited as a cookie. Said once a pass, before the
    // first cookie it stands on after the read.
    virtual void OnKeptListUnreadable() {}
    // The item could not be deleted and stays; the sweep goes on once this returns, so a caller
    // may show a box here while the store is still open.
    virtual void OnStayed(const SweepItem&) {}
    // A cache entry in use refused deletion; the service deletes it once it is released, so
    // it is neither deleted yet nor one that stays.
    virtual void OnDeletePending(const SweepItem&) {}
    // Every typed name, listed before the first deletion, in the order the sweep would delete
    // them. A caller may put them in an order of its own (a window, its sorted list box's);
    // the sweep then deletes in that order, as long as it holds exactly the names listed.
    virtual void OnTypedUrlsListed(std::vector<std::string>&) {}
    // The last source of a kind the pass counts has run, before the next source starts: the
    // kind's counts are whole in result, with everything the pass did so far. Not called once a
    // stop has been asked for.
    virtual void OnKindSwept(Kind, const SweepResult&) {}
};
