// The pass: every source of the table whose kinds meet what is selected, in the table's order,
// one filter of cookies to keep for all of them, and the counts by kind.
#pragma once

#include <array>

#include "platform/platform_services.h"
#include "sweep/kinds.h"
#include "sweep/source.h"
#include "sweep/sweep_observer.h"

struct SweepResult {
    // The kinds selected, and the kinds counted (CountedKinds of them).
    KindSet selected;
    KindSet counted;
    // The kinds whose sources have all run, at each OnKindSwept and at the end.
    KindSet swept;
    // Every source's counts added up.
    KindTallies counts;
    // Each source's own, by its id; ran is false for one the pass did not run.
    std::array<SourceResult, kSourceCount> sources{};
    // The list of cookies to keep could not be read: no cookie was deleted, and every cookie was
    // counted as one.
    bool keptListUnreadable = false;
    // A stop was asked for inside a source; the sources after it did not run.
    bool stopped = false;

    const SourceResult& BySource(SourceId id) const { return sources[static_cast<std::size_t>(id)]; }
    // Every source that ran reached every item it holds.
    bool Complete() const;
    // A source of the kind ran and opened its store: its count is the store's.
    bool Reached(Kind kind) const;
    // The list of cookies to keep could not be read while the cookies were selected: no cookie
    // was deleted, nor would a clear delete one.
    bool CookiesHeld() const { return selected.Has(Kind::Cookies) && keptListUnreadable; }
};

// A stop asked for inside one source leaves the sources after it untouched.
SweepResult Sweep(const PlatformServices& services, const SweepRequest& request, SweepObserver& observer);
