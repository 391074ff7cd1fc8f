// The list of cookies to keep as the settings hold it: the value keep_cookies under the
// program's key, read whole into a list or found unreadable, and written back.
#pragma once

#include <cstdint>

#include "platform/registry.h"
#include "sweep/cookie_keep.h"

inline constexpr char kKeepCookiesValue[] = "keep_cookies";

struct KeptCookieList {
    enum class State {
        // No key or no value: nothing is kept.
        NoList,
        List,
        // A value that is there but cannot be taken for a list: no cookie may be deleted.
        Unreadable,
    };
    State state = State::NoList;
    // The sites, with List.
    KeptSites sites;
    // With Unreadable: the registry's status when opening the key or reading the value failed,
    // else 0 with the value's type (not kRegMultiSz, or one whose strings are not sites).
    std::int32_t status = 0;
    std::uint32_t type = 0;

    bool Unreadable() const { return state == State::Unreadable; }
};

// A key that is missing or a value that is missing is no list. A key there but refused, a read
// that fails, a value of another type than REG_MULTI_SZ, or strings that KeptSites::ReadMultiSz
// does not take for a list of sites are unreadable. The value is read whole, whatever its size.
KeptCookieList ReadKeptCookieList(Registry& registry);

// Writes the sites as a REG_MULTI_SZ, creating the key when needed. An empty list deletes the
// value instead, which reads back as no list and leaves no value behind; the key is not made for
// it. Returns 0, or the registry's status of the call that failed (the value is then as before).
std::int32_t WriteKeptCookieList(Registry& registry, const KeptSites& sites);
