// What a site on the list of cookies to keep is: a host name in its ASCII form or an IP address;
// and what a user types turned into one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

// An address by value, so that "[::1]", "::1" and "[0:0::1]" are one address.
struct IpAddress {
    bool v6 = false;
    // An IPv4 address fills the first four bytes.
    std::array<std::uint8_t, 16> bytes{};

    bool operator==(const IpAddress&) const = default;
    friend bool operator<(const IpAddress& a, const IpAddress& b) {
        return std::tie(a.v6, a.bytes) < std::tie(b.v6, b.bytes);
    }
};

// Dotted IPv4 (four decimal parts, none with a leading zero, which some readers take for octal)
// or IPv6 (RFC 4291's text forms, bracketed or bare, without a zone).
std::optional<IpAddress> ParseIpAddress(std::string_view text);

// A string the list of kept sites may hold, as it must be written there: an IP address, or a host
// name in lower case of labels of 1 to 63 letters, digits, hyphens (not at either end) and
// underscores, at most 253 characters in all, whose last label is not all digits (that is an
// address, or nothing), with at most a leading "." (the domain: the name and every name under
// it, as the name alone means too).
bool IsSiteText(std::string_view text);

// What a user typed, as UTF-8, turned into the site to store: a bare host, a host and port, or a
// URL with scheme, user, path or query gives its host, lower-cased, without a trailing ".", an
// internationalised name in its ASCII form, an IPv6 address in brackets. Nothing when that is no
// host name or IP address as IsSiteText says. A leading "www." or "." stays as typed. Of names
// outside ASCII, only letters this program can lower-case itself (Latin, Greek, Cyrillic) or that
// have no case (Japanese kana, CJK ideographs, Hangul syllables) are taken; any other is refused
// rather than stored in a form the browser would not give it.
std::optional<std::string> SiteFromUserInput(std::string_view typed);

// Why SiteFromUserInput takes nothing from what was typed, in a few words a user can act on
// ("'ä' is no letter ...", "the label '...' is longer than 63 characters"); empty when it takes a site.
std::string WhyNotASite(std::string_view typed);
