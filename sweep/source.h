// A source: where items of one or more kinds come from (the TypedURLs key, the URL cache, the
// cookie folder), what a pass hands it, and what it leaves. The table of them is sources.cpp's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/platform_services.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/kept_list.h"
#include "sweep/kinds.h"

class KeptCookieFilter;
class SweepObserver;

// In the order a pass runs them.
enum class SourceId : std::size_t { TypedUrls, UrlCache, CookieFolder };
inline constexpr std::size_t kSourceCount = 3;

class SourceSet {
public:
    constexpr SourceSet() = default;
    static constexpr SourceSet All() { return SourceSet((1u << kSourceCount) - 1); }
    static constexpr SourceSet Only(SourceId id) { return SourceSet(Bit(id)); }
    constexpr bool Has(SourceId id) const { return (bits_ & Bit(id)) != 0; }

private:
    constexpr explicit SourceSet(std::uint32_t bits) : bits_(bits) {}
    static constexpr std::uint32_t Bit(SourceId id) { return 1u << static_cast<std::size_t>(id); }

    std::uint32_t bits_ = 0;
};

struct SweepRequest {
    // The kinds selected: counted, and deleted with deleteItems (see CountedKinds).
    KindSet kinds;
    bool deleteItems = false;
    // The sources that may run; a source runs when it is among them and covers a kind counted.
    SourceSet sources = SourceSet::All();
    CookieFolderPlace cookieFolder;
    // The stored list of cookies to keep, read at most once, when a source first meets a cookie;
    // none given is no list.
    KeptListRead keptList;
};

// What one source leaves: its share of the counts, and how far it got.
struct SourceResult {
    bool ran = false;
    KindTallies counts;
    // The open of the source's store: 0, or its error (kErrorFileNotFound for a store that is not
    // there, which holds nothing, unlike one that is there but refused).
    std::int32_t openStatus = 0;
    // Every listing or walk the source made reached its end.
    bool complete = false;
    bool stopped = false;

    bool Opened() const { return openStatus == 0; }
    // Every item there is was reached: a store that is not there has none.
    bool Whole() const;
};

// What a source's run is handed. It adds what it finds to result.counts under each item's kind,
// asks keep about every cookie it meets, and tells observer each item.
struct SourceContext {
    const PlatformServices& services;
    const SweepRequest& request;
    // The kinds the pass counts: the selection with what comes with it.
    KindSet counted;
    KeptCookieFilter& keep;
    SweepObserver& observer;
    SourceResult& result;

    // The kinds deleted: those selected, when the pass deletes.
    KindSet Deleted() const { return request.deleteItems ? request.kinds & counted : KindSet{}; }
    bool Deletes(Kind kind) const { return Deleted().Has(kind); }
};

struct Source {
    SourceId id;
    KindSet kinds;
    void (*run)(SourceContext&);
    // How a report names what the source could not reach: its store refused (an error number
    // follows), and its listing cut short; null when the source has no such case.
    const char* refusedText;
    const char* cutShortText;
};

// Every source, in the order a pass runs them: the typed addresses are deleted before the cache
// is walked, and the cookie folder follows the cache, whose kept entries name its kept files.
const std::array<Source, kSourceCount>& SourceTable();
