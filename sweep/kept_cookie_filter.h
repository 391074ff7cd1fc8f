// The cookies to keep as one filter of a pass: the list read at most once, when a source first
// meets a cookie, and asked by every source that meets one; it remembers the local files of the
// kept cookie entries, for the cookie folder.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "sweep/kept_list.h"
#include "sweep/sweep_observer.h"

class KeptCookieFilter {
public:
    // read: the stored list; none is no list. observer hears when it cannot be read.
    KeptCookieFilter(KeptListRead read, SweepObserver& observer) : read_(std::move(read)), observer_(observer) {}

    // Reads the list if it has not been read. An unreadable list keeps every cookie from being
    // deleted, and is said to the observer once, at this read.
    bool Unreadable();
    // Whether it was read and found unreadable; reads nothing.
    bool FoundUnreadable() const { return list_ && list_->Unreadable(); }
    // The cookie entry's site is on the list (the list read first if it was not).
    bool KeepsCookie(std::string_view url);
    // A kept entry holds its cookies in this local file.
    void RememberKeptFile(const char* localFile);
    // The walks that could name a kept entry's file all reached their end: every kept file is known.
    void KeptFilesKnown() { keptFilesKnown_ = true; }
    // The file holds a kept cookie (the file's name as the folder's search gives it).
    bool KeepsFile(std::string_view fileName) const;
    // No cookie file may be deleted in this pass: the list cannot be read, or it keeps a site
    // while a kept entry not met could name any file.
    bool HoldsEveryFile();

private:
    const KeptCookieList& List();

    KeptListRead read_;
    SweepObserver& observer_;
    std::optional<KeptCookieList> list_;
    // The local files of the kept entries met, lower-cased bare names.
    std::set<std::string, std::less<>> keptFiles_;
    bool keptFilesKnown_ = false;
};
