// The cookies to keep: a cookie entry's site, the list of kept sites, and the rule between them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sweep/site_name.h"

// The site of a cookie entry, from its URL as the URL cache hands it out: after the "Cookie:"
// prefix (any case, spaces after the colon skipped), the text before the first "/" and after the
// last "@" there, lower-cased, without a ":port" or a trailing ".". A bracketed IPv6 address keeps
// its brackets, a bare one its colons. Nothing for a URL that is not a cookie entry's, or that
// names no site: such a cookie is never kept.
std::optional<std::string> CookieSite(std::string_view url);

// The list of kept sites, as the settings value keep_cookies holds it (REG_MULTI_SZ, one site a
// string). A list is read whole or not at all: the caller keeps every cookie when it cannot be.
class KeptSites {
public:
    // Nothing kept, as when there is no value.
    KeptSites() = default;

    // The strings of the value. Unreadable when any string is not a site as IsSiteText says,
    // an empty one included; a site given twice is there once. No strings: nothing kept.
    static std::optional<KeptSites> Read(const std::vector<std::string>& strings);
    // The value's bytes: each string ends with a NUL, the list with one more. NULs at the end,
    // or their absence, change nothing; an empty string before another is not a site.
    static std::optional<KeptSites> ReadMultiSz(std::span<const std::uint8_t> data);
    // The bytes to write back, which ReadMultiSz reads as this list.
    std::vector<std::uint8_t> MultiSz() const;

    // Each site once, in byte order.
    const std::vector<std::string>& Sites() const { return sites_; }
    bool Empty() const { return sites_.empty(); }

    // False when the site is not one as IsSiteText says, or is there already.
    bool Add(std::string_view site);
    // Takes out the site, and any other spelling of the same IP address; false when none was there.
    bool Remove(std::string_view site);

    // A site as CookieSite gives it (or a cookie's host with a leading ".") is kept when it equals
    // a kept name, ends with "." and one, or is a parent of one of two labels or more ("bank.example"
    // for "login.bank.example", never "example"). A kept name written with a leading "." or "www."
    // stands for the domain without it (when that is still more than one label). An IP address
    // keeps only itself, and a site that is an address is kept only by an equal one, never as a
    // suffix of a name.
    bool Keeps(std::string_view site) const;
    bool KeepsCookie(std::string_view url) const;

    bool operator==(const KeptSites& other) const { return sites_ == other.sites_; }

private:
    void Index(const std::string& site);

    std::vector<std::string> sites_;
    // What Keeps looks up: the domain each kept name stands for, their parents of two labels or
    // more, and the kept addresses.
    std::set<std::string, std::less<>> domains_;
    std::set<std::string, std::less<>> parents_;
    std::set<IpAddress> addresses_;
};
