// What a user names and a counter shows (the kinds), where an item lives (its store), and the
// counts a pass keeps for each kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

// In the order the counters and reports show them.
enum class Kind : std::size_t { CachedFiles, Cookies, TypedUrls, VisitedPages };
inline constexpr std::size_t kKindCount = 4;

// Where an item lives, as preview names it and the observers hear it. Cache entries split by
// their type into cookie entries, pages visited and the cached files, which are all others.
enum class Store : std::size_t { Cache, Cookie, CookieFile, Typed, Visited };
inline constexpr std::size_t kStoreCount = 5;

// The store's name, as preview and the JSON give it; a store without one does not build.
constexpr const char* StoreName(Store store) {
    switch (store) {
        case Store::Cache:
            return "cache";
        case Store::Cookie:
            return "cookie";
        case Store::CookieFile:
            return "cookie-file";
        case Store::Typed:
            return "typed";
        case Store::Visited:
            return "visited";
    }
    return "";
}

constexpr Kind KindOf(Store store) {
    switch (store) {
        case Store::Cookie:
        case Store::CookieFile:
            return Kind::Cookies;
        case Store::Typed:
            return Kind::TypedUrls;
        case Store::Visited:
            return Kind::VisitedPages;
        case Store::Cache:
            break;
    }
    return Kind::CachedFiles;
}

class KindSet {
public:
    constexpr KindSet() = default;
    constexpr KindSet(std::initializer_list<Kind> kinds) {
        for (Kind kind : kinds) bits_ |= Bit(kind);
    }
    static constexpr KindSet All() { return KindSet(kAllBits); }

    constexpr bool Has(Kind kind) const { return (bits_ & Bit(kind)) != 0; }
    constexpr bool Any() const { return bits_ != 0; }
    constexpr bool Meets(KindSet other) const { return (bits_ & other.bits_) != 0; }
    constexpr bool Contains(KindSet other) const { return (bits_ & other.bits_) == other.bits_; }
    constexpr KindSet operator|(KindSet other) const { return KindSet(bits_ | other.bits_); }
    constexpr KindSet operator&(KindSet other) const { return KindSet(bits_ & other.bits_); }
    constexpr KindSet& operator|=(KindSet other) {
        bits_ |= other.bits_;
        return *this;
    }
    constexpr bool operator==(const KindSet&) const = default;

private:
    static constexpr std::uint32_t kAllBits = (1u << kKindCount) - 1;
    constexpr explicit KindSet(std::uint32_t bits) : bits_(bits) {}
    static constexpr std::uint32_t Bit(Kind kind) { return 1u << static_cast<std::size_t>(kind); }

    std::uint32_t bits_ = 0;
};

// What a pass knows of one kind. found: the items counted, kept ones not among them; kept: on
// the list of cookies to keep, never deleted; pending: in use, deleted by the service once
// released, so neither deleted yet nor stayed.
struct Tally {
    int found = 0;
    int deleted = 0;
    int kept = 0;
    int pending = 0;

    Tally& operator+=(const Tally& other) {
        found += other.found;
        deleted += other.deleted;
        kept += other.kept;
        pending += other.pending;
        return *this;
    }
};

struct KindTallies {
    std::array<Tally, kKindCount> tallies{};

    Tally& operator[](Kind kind) { return tallies[static_cast<std::size_t>(kind)]; }
    const Tally& operator[](Kind kind) const { return tallies[static_cast<std::size_t>(kind)]; }
    KindTallies& operator+=(const KindTallies& other) {
        for (std::size_t i = 0; i < kKindCount; ++i) tallies[i] += other.tallies[i];
        return *this;
    }
    int Pending() const {
        int pending = 0;
        for (const Tally& tally : tallies) pending += tally.pending;
        return pending;
    }
};

// What a user chose, in the window's boxes or its remembered choices.
struct KindChoice {
    bool temporaryFiles = false;
    bool cookies = false;
    bool history = false;
    // The option beside the history: the pages visited go with it.
    bool visitedWithHistory = false;
};

// The cookies are cleared only together with the temporary files, and the pages visited only
// with the history: the two front ends' selection, both read this way.
constexpr KindSet ChosenKinds(const KindChoice& choice) {
    KindSet kinds;
    if (choice.temporaryFiles) kinds |= {Kind::CachedFiles};
    if (choice.temporaryFiles && choice.cookies) kinds |= {Kind::Cookies};
    if (choice.history) kinds |= {Kind::TypedUrls};
    if (choice.history && choice.visitedWithHistory) kinds |= {Kind::VisitedPages};
    return kinds;
}

// The kinds a pass selected for counts every one of them, and the cookies wherever it counts
// the temporary files: one walk of the cache meets both, and the window shows both.
constexpr KindSet CountedKinds(KindSet selected) {
    return selected.Has(Kind::CachedFiles) ? selected | KindSet{Kind::Cookies} : selected;
}
