// Names on their way out: from the system's ANSI code page to UTF-8, then as a JSON string
// or as a plain line.
#include "cli/text.h"

#include "platform/utf8.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Walks the text by well-formed sequence; a byte that starts none becomes U+FFFD, and each
// single-byte character goes through ascii, which appends what it stands for.
template <typename Ascii>
std::string Recode(std::string_view text, std::string out, Ascii ascii) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
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
