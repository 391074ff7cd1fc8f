// Names on their way out: from the system's ANSI code page to UTF-8, then as a JSON string
// or as a plain line.
#include "cli/text.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at text[at], or 0 when there is none there:
// no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!Continuation(byte(i))) return 0;
    }
    return length;
}

// Walks the text by well-formed sequence; a byte that starts none becomes U+FFFD, and each
// single-byte character goes through ascii, which appends what it stands for.
template <typename Ascii>
std::string Recode(std::string_view text, std::string out, Ascii ascii) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        if (length == 0) {
            out += kReplacement;
            ++at;
        } else if (length == 1) {
            ascii(out, text[at]);
            ++at;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = Recode(utf8, "\"", [](std::string& into, char c) {
        switch (c) {
            case '"':
                into += "\\\"";
                return;
            case '\\':
                into += "\\\\";
                return;
            case '\b':
                into += "\\b";
                return;
            case '\f':
                into += "\\f";
                return;
            case '\n':
                into += "\\n";
                return;
            case '\r':
                into += "\\r";
                return;
            case '\t':
                into += "\\t";
                return;
            default:
                break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            into += "\\u00";
            into += kHex[(c >> 4) & 0xF];
            into += kHex[c & 0xF];
            return;
        }
        into += c;
    });
    out += '"';
    return out;
}

std::string PlainText(std::string_view utf8) {
    return Recode(utf8, std::string(), [](std::string& into, char c) {
        const auto byte = static_cast<unsigned char>(c);
        into += byte < 0x20 || byte == 0x7F ? '?' : c;
    });
}
