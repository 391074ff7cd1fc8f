// The list of cookies to keep as it is stored: the value's bytes taken for a list, or found
// unreadable, and the one way to change it, which never writes over a list it cannot read.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/registry.h"
#include "sweep/cookie_keep.h"

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

// The stored value, as the front end reads it from the settings; and its way to store bytes
// that KeptSites::ReadMultiSz reads back, none to delete the value. Each returns a registry status.
using KeptListRead = std::function<RegistryValue()>;
using KeptListWrite = std::function<std::int32_t(std::span<const std::uint8_t> multiSz)>;

// A value that is not there is no list. A read that failed, a value of another type than
// REG_MULTI_SZ, or strings that KeptSites::ReadMultiSz does not take for sites are unreadable.
KeptCookieList ParseKeptCookieList(const RegistryValue& stored);
// Nothing to read is no list.
KeptCookieList ReadKeptList(const KeptListRead& read);

struct KeptListChange {
    // The list as it was read; when it is unreadable, nothing else was done.
    KeptCookieList before;
    // The sites after the change.
    KeptSites after;
    // The write's registry status; 0 when it succeeded or nothing was written.
    std::int32_t writeStatus = 0;
};

// Reads the list; when it can be read, lets change change the sites and, when change returns
// true, writes them (a list that keeps nothing as no value). A list that cannot be read may
// hold a site the user keeps: it is neither changed nor written over.
KeptListChange ChangeKeptList(const KeptListRead& read, const std::function<bool(KeptSites&)>& change,
                              const KeptListWrite& write);
