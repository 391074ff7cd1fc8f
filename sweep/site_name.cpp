// What a site on the list of cookies to keep is: a host name in its ASCII form or an IP address;
// and what a user types turned into one.
#include "sweep/site_name.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"
#include "sweep/punycode.h"

namespace {

constexpr std::size_t kMaxNameLength = 253;
constexpr std::size_t kMaxLabelLength = 63;
constexpr std::string_view kAcePrefix = "xn--";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    const char lower = AsciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::optional<std::array<std::uint8_t, 4>> ParseIpv4(std::string_view text) {
    std::array<std::uint8_t, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (digits < text.size() && IsDigit(text[digits]) && digits < 3)
            value = value * 10 + static_cast<unsigned>(text[digits++] - '0');
        if (digits == 0 || value > 255 || (digits > 1 && text.front() == '0')) return std::nullopt;
        parts[i] = static_cast<std::uint8_t>(value);
        text.remove_prefix(digits);
    }
    if (!text.empty()) return std::nullopt;
    return parts;
}

// The 16-bit groups of one side of a "::" (or of the whole address without one); the last group
// may be written as dotted IPv4, which stands for two.
bool ParseIpv6Groups(std::string_view text, bool ipv4Allowed, std::vector<std::uint16_t>& groups) {
    if (text.empty()) return true;
    for (;;) {
        const std::size_t colon = text.find(':');
        const std::string_view piece = text.substr(0, colon);
        if (colon == std::string_view::npos && ipv4Allowed && piece.find('.') != std::string_view::npos) {
            const auto ipv4 = ParseIpv4(piece);
            if (!ipv4) return false;
            groups.push_back(static_cast<std::uint16_t>((*ipv4)[0] << 8 | (*ipv4)[1]));
            groups.push_back(static_cast<std::uint16_t>((*ipv4)[2] << 8 | (*ipv4)[3]));
            return true;
        }
        if (piece.empty() || piece.size() > 4) return false;
        unsigned value = 0;
        for (const char c : piece) {
            const int digit = HexValue(c);
            if (digit < 0) return false;
            value = value << 4 | static_cast<unsigned>(digit);
        }
        groups.push_back(static_cast<std::uint16_t>(value));
        if (colon == std::string_view::npos) return true;
        text.remove_prefix(colon + 1);
    }
}

std::optional<IpAddress> ParseIpv6(std::string_view text) {
    std::vector<std::uint16_t> head;
    std::vector<std::uint16_t> tail;
    const std::size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        if (!ParseIpv6Groups(text, true, head) || head.size() != 8) return std::nullopt;
    } else {
        const std::string_view after = text.substr(gap + 2);
        if (after.find("::") != std::string_view::npos) return std::nullopt;
        if (!ParseIpv6Groups(text.substr(0, gap), false, head) || !ParseIpv6Groups(after, true, tail))
            return std::nullopt;
        // "::" stands for at least one group of zeros.
        if (head.size() + tail.size() > 7) return std::nullopt;
    }
    IpAddress address;
    address.v6 = true;
    const auto put = [&address](std::size_t at, std::uint16_t group) {
        address.bytes[2 * at] = static_cast<std::uint8_t>(group >> 8);
        address.bytes[2 * at + 1] = static_cast<std::uint8_t>(group & 0xff);
    };
    for (std::size_t i = 0; i < head.size(); ++i) put(i, head[i]);
    for (std::size_t i = 0; i < tail.size(); ++i) put(8 - tail.size() + i, tail[i]);
    return address;
}

std::string Quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 at -O3 takes "'" + std::string(text) for an overlapping copy.
    std::string quoted(1, '\'');
    quoted += text;
    quoted += '\'';
    return quoted;
}

// Letters, digits and hyphens as host names have them, and the underscore, which browsers take
// and set cookies for (service and some intranet names use it).
bool IsHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || IsDigit(c) || c == '-' || c == '_';
}

std::string LabelProblem(std::string_view label) {
    if (label.empty()) return "it holds an empty label (two dots together, or a dot first)";
    if (label.size() > kMaxLabelLength) return "the label " + Quoted(label) + " is longer than 63 characters";
    if (const auto bad = std::find_if_not(label.begin(), label.end(), IsHostNameCharacter); bad != label.end())
        return Quoted(std::string_view(&*bad, 1)) + " cannot be part of a host name";
    if (label.front() == '-' || label.back() == '-')
        return "the label " + Quoted(label) + " begins or ends with a hyphen";
    return {};
}

// Why name is no host name as the list stores one; empty when it is one.
std::string HostNameProblem(std::string_view name) {
    if (!name.empty() && name.front() == '.') name.remove_prefix(1);
    if (name.size() > kMaxNameLength) return "the name is longer than 253 characters";
    std::string_view last;
    for (std::string_view rest = name;;) {
        const std::size_t dot = rest.find('.');
        last = rest.substr(0, dot);
        if (std::string problem = LabelProblem(last); !problem.empty()) return problem;
        if (dot == std::string_view::npos) break;
        rest.remove_prefix(dot + 1);
    }
    if (std::all_of(last.begin(), last.end(), IsDigit)) return "its last label is all digits, and it is no IP address";
    return {};
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// RFC 3986: a letter, then letters, digits, "+", "-" and ".".
bool IsScheme(std::string_view text) {
    if (text.empty() || !(AsciiLower(text.front()) >= 'a' && AsciiLower(text.front()) <= 'z')) return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        const char lower = AsciiLower(c);
        return (lower >= 'a' && lower <= 'z') || IsDigit(c) || c == '+' || c == '-' || c == '.';
    });
}

// An empty port is the scheme's default (RFC 3986).
bool IsPort(std::string_view text) {
    if (text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit)) return false;
    unsigned value = 0;
    for (const char c : text) value = value * 10 + static_cast<unsigned>(c - '0');
    return value <= 65535;
}

// Strict UTF-8: no overlong form, surrogate or code point past U+10FFFF.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string decoded;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            extra = 0;
            c = lead;
        } else if ((lead & 0xe0) == 0xc0) {
            extra = 1;
            c = lead & 0x1fu;
            least = 0x80;
        } else if ((lead & 0xf0) == 0xe0) {
            extra = 2;
            c = lead & 0x0fu;
            least = 0x800;
        } else if ((lead & 0xf8) == 0xf0) {
            extra = 3;
            c = lead & 0x07u;
            least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i <= extra) return std::nullopt;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return std::nullopt;
            c = c << 6 | (next & 0x3fu);
        }
        if (c < least || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) return std::nullopt;
        decoded += c;
        i += extra + 1;
    }
    return decoded;
}

// The letters a host name may hold that this program can lower-case itself: a run of letters is
// moved by an offset to its small letters (0: they are small, or have no case), or holds pairs,
// the capital first on even or on odd code points. Left out, and so refused: what IDNA 2008
// disallows (U+0132/3, U+013F/U+0140, U+0149, U+017F), and İ and ẞ, whose small forms are not one
// letter or differ between the standards.
struct LetterRun {
    char32_t first;
    char32_t last;
    std::int32_t offset;
    enum class Pairs { None, EvenCapitals, OddCapitals } pairs;
};
using Pairs = LetterRun::Pairs;
constexpr LetterRun kLetterRuns[] = {
    // Latin-1, less the signs; Latin Extended-A; the horned O and U of Vietnamese; Latin Extended Additional.
    {0xc0, 0xd6, 0x20, Pairs::None},
    {0xd8, 0xde, 0x20, Pairs::None},
    {0xdf, 0xf6, 0, Pairs::None},
    {0xf8, 0xff, 0, Pairs::None},
    {0x100, 0x12f, 0, Pairs::EvenCapitals},
    {0x131, 0x131, 0, Pairs::None},
    {0x134, 0x137, 0, Pairs::EvenCapitals},
    {0x138, 0x138, 0, Pairs::None},
    {0x139, 0x13e, 0, Pairs::OddCapitals},
    {0x141, 0x148, 0, Pairs::OddCapitals},
    {0x14a, 0x177, 0, Pairs::EvenCapitals},
    {0x178, 0x178, -0x79, Pairs::None},
    {0x179, 0x17e, 0, Pairs::OddCapitals},
    {0x1a0, 0x1a1, 0, Pairs::EvenCapitals},
    {0x1af, 0x1b0, 0, Pairs::OddCapitals},
    {0x1e00, 0x1e95, 0, Pairs::EvenCapitals},
    {0x1ea0, 0x1eff, 0, Pairs::EvenCapitals},
    // Greek: the capitals with tonos, the plain capitals, the small letters.
    {0x386, 0x386, 0x26, Pairs::None},
    {0x388, 0x38a, 0x25, Pairs::None},
    {0x38c, 0x38c, 0x40, Pairs::None},
    {0x38e, 0x38f, 0x3f, Pairs::None},
    {0x390, 0x390, 0, Pairs::None},
    {0x391, 0x3a1, 0x20, Pairs::None},
    {0x3a3, 0x3ab, 0x20, Pairs::None},
    {0x3ac, 0x3ce, 0, Pairs::None},
    // Cyrillic: Ѐ-Џ, А-Я, the small letters.
    {0x400, 0x40f, 0x50, Pairs::None},
    {0x410, 0x42f, 0x20, Pairs::None},
    {0x430, 0x45f, 0, Pairs::None},
    // Without case: hiragana, katakana less the middle dot, CJK ideographs, Hangul syllables.
    {0x3041, 0x3096, 0, Pairs::None},
    {0x309d, 0x309e, 0, Pairs::None},
    {0x30a1, 0x30fa, 0, Pairs::None},
    {0x30fc, 0x30fe, 0, Pairs::None},
    {0x4e00, 0x9fff, 0, Pairs::None},
    {0xac00, 0xd7a3, 0, Pairs::None},
};

std::optional<char32_t> LowerLetter(char32_t c) {
    for (const LetterRun& run : kLetterRuns) {
        if (c < run.first || c > run.last) continue;
        if (run.pairs == Pairs::None) return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.offset);
        const bool capital = c % 2 == (run.pairs == Pairs::OddCapitals ? 1u : 0u);
        return capital ? c + 1 : c;
    }
    return std::nullopt;
}

// A site, or why there is none.
struct Reading {
    std::optional<std::string> site;
    std::string problem;
};

Reading Refused(std::string problem) {
    return {std::nullopt, std::move(problem)};
}

std::string Utf8(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xc0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xe0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3f));
        text += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        text += static_cast<char>(0xf0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3f));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3f));
        text += static_cast<char>(0x80 | (c & 0x3f));
    }
    return text;
}

// IDNA's ToASCII for one label as far as the table above reaches; an ASCII label is only
// lower-cased, and checked with the whole name afterwards.
Reading AsciiLabel(std::string_view label) {
    if (std::all_of(label.begin(), label.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return {AsciiLowered(std::string(label)), {}};
    auto decoded = DecodeUtf8(label);
    if (!decoded) return Refused("it is not UTF-8 text");
    // Each code point takes at least one character of the ASCII form.
    const std::string tooLong = "the label " + Quoted(label) + " is longer than 63 characters in its ASCII form";
    if (decoded->size() + kAcePrefix.size() > kMaxLabelLength) return Refused(tooLong);
    for (char32_t& c : *decoded) {
        if (c < 0x80) {
            c = static_cast<char32_t>(AsciiLower(static_cast<char>(c)));
            continue;
        }
        const auto lower = LowerLetter(c);
        if (!lower) {
            return Refused(Quoted(Utf8(c)) +
                           " is no letter this program can write in the ASCII form that browsers store");
        }
        c = *lower;
    }
    // IDNA 2008: no hyphen at either end of a label, nor in its third and fourth places.
    const std::u32string& u = *decoded;
    if (u.front() == U'-' || u.back() == U'-')
        return Refused("the label " + Quoted(label) + " begins or ends with a hyphen");
    if (u.size() >= 4 && u[2] == U'-' && u[3] == U'-')
        return Refused("the label " + Quoted(label) + " has \"--\" in its third and fourth places");
    const auto encoded = PunycodeEncode(u);
    if (!encoded) return Refused(tooLong);
    return {std::string(kAcePrefix) + *encoded, {}};
}

// IDNA reads the ideographic and the full-width full stops as dots.
std::string WithAsciiDots(std::string_view host) {
    constexpr std::string_view kDots[] = {"\xe3\x80\x82", "\xef\xbc\x8e", "\xef\xbd\xa1"};
    std::string result;
    for (std::size_t i = 0; i < host.size();) {
        const auto dot = std::find_if(std::begin(kDots), std::end(kDots),
                                      [&](std::string_view d) { return host.substr(i, d.size()) == d; });
        if (dot != std::end(kDots)) {
            result += '.';
            i += dot->size();
        } else {
            result += host[i++];
        }
    }
    return result;
}

Reading AsciiHostName(std::string_view host) {
    std::string dotted = WithAsciiDots(host);
    if (!dotted.empty() && dotted.back() == '.') dotted.pop_back();
    std::string ascii;
    for (std::string_view rest = dotted;;) {
        const std::size_t dot = rest.find('.');
        Reading label = AsciiLabel(rest.substr(0, dot));
        if (!label.site) return label;
        ascii += *label.site;
        if (dot == std::string_view::npos) break;
        ascii += '.';
        rest.remove_prefix(dot + 1);
    }
    if (ParseIpAddress(ascii)) return {ascii, {}};
    if (std::string problem = HostNameProblem(ascii); !problem.empty()) return Refused(std::move(problem));
    return {ascii, {}};
}

Reading ReadTypedSite(std::string_view typed) {
    std::string_view text = TrimBlanks(typed);
    constexpr std::string_view kEndOfHost = "/?#";
    const std::size_t scheme = text.find("://");
    if (scheme != std::string_view::npos && text.find_first_of(kEndOfHost) == scheme + 1) {
        if (scheme == 0) return Refused("no scheme comes before \"://\"");
        if (!IsScheme(text.substr(0, scheme))) return Refused(Quoted(text.substr(0, scheme)) + " is no URL scheme");
        text.remove_prefix(scheme + 3);
    }
    text = text.substr(0, text.find_first_of(kEndOfHost));
    if (const std::size_t at = text.rfind('@'); at != std::string_view::npos) text.remove_prefix(at + 1);

    const auto badPort = [](std::string_view port) {
        return Refused(Quoted(port) + " is no port: a port is a number from 0 to 65535");
    };
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return Refused("the IPv6 address lacks its closing ']'");
        const std::string_view after = text.substr(close + 1);
        if (!after.empty() && after.front() != ':') return Refused("only a ':' and a port may follow an IPv6 address");
        if (!after.empty() && !IsPort(after.substr(1))) return badPort(after.substr(1));
        const std::string_view address = text.substr(0, close + 1);
        if (!ParseIpAddress(address)) return Refused(Quoted(address) + " is no IPv6 address");
        return {AsciiLowered(std::string(address)), {}};
    }
    const auto colons = std::count(text.begin(), text.end(), ':');
    if (colons > 1) {
        if (!ParseIpv6(text)) return Refused(Quoted(text) + " is no IPv6 address");
        std::string bracketed(1, '[');
        bracketed += AsciiLowered(std::string(text));
        bracketed += ']';
        return {bracketed, {}};
    }
    if (colons == 1) {
        const std::size_t colon = text.find(':');
        if (!IsPort(text.substr(colon + 1))) return badPort(text.substr(colon + 1));
        text = text.substr(0, colon);
    }
    if (text.empty()) return Refused("it names no host");
    return AsciiHostName(text);
}

}  // namespace

std::optional<IpAddress> ParseIpAddress(std::string_view text) {
    if (!text.empty() && text.front() == '[') {
        if (text.size() < 2 || text.back() != ']') return std::nullopt;
        return ParseIpv6(text.substr(1, text.size() - 2));
    }
    if (text.find(':') != std::string_view::npos) return ParseIpv6(text);
    const auto ipv4 = ParseIpv4(text);
    if (!ipv4) return std::nullopt;
    IpAddress address;
    std::copy(ipv4->begin(), ipv4->end(), address.bytes.begin());
    return address;
}

bool IsSiteText(std::string_view text) {
    if (ParseIpAddress(text)) return text.find_first_of("ABCDEF") == std::string_view::npos;
    return HostNameProblem(text).empty();
}

std::optional<std::string> SiteFromUserInput(std::string_view typed) {
    return ReadTypedSite(typed).site;
}

std::string WhyNotASite(std::string_view typed) {
    return ReadTypedSite(typed).problem;
}
