// One pass over the text, recursive descent bounded by kJsonMaxDepth: every value is checked
// against the grammar, and only the member names on the asked path, and those of the object at
// its end, are decoded and kept.
#include "sweep/json_reader.h"

#include <cstdint>
#include <set>

#include "platform/utf8.h"

namespace {

class Reader {
public:
    Reader(std::string_view text, std::initializer_list<std::string_view> path) : text_(text), path_(path) {}

    std::optional<std::vector<std::string>> Read() {
        SkipSpace();
        if (Peek() != '{' || !Value(0, 0)) return std::nullopt;
        SkipSpace();
        if (pos_ != text_.size()) return std::nullopt;
        return found_;
    }

private:
    static constexpr std::size_t kOffPath = static_cast<std::size_t>(-1);

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool AtEnd() const { return pos_ >= text_.size(); }

    void SkipSpace() {
        while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    // matched: how many names of the path lead to this value, or kOffPath when it is off the path.
    bool Value(int depth, std::size_t matched) {
        if (matched == path_.size() && Peek() != '{') found_.reset();
        switch (Peek()) {
            case '{':
                return Object(depth + 1, matched);
            case '[':
                return Array(depth + 1);
            case '"':
                return String(nullptr);
            case 't':
                return Literal("true");
            case 'f':
                return Literal("false");
            case 'n':
                return Literal("null");
            default:
                return Number();
        }
    }

    bool Object(int depth, std::size_t matched) {
        if (depth > kJsonMaxDepth) return false;
        ++pos_;
        const bool capturing = matched == path_.size();
        std::vector<std::string> keys;
        std::set<std::string, std::less<>> seen;
        SkipSpace();
        if (Peek() == '}') {
            ++pos_;
            if (capturing) found_ = std::move(keys);
            return true;
        }
        std::string name;
        for (;;) {
            SkipSpace();
            if (Peek() != '"' || !String(&name)) return false;
            SkipSpace();
            if (Peek() != ':') return false;
            ++pos_;
            SkipSpace();
            std::size_t next = kOffPath;
            if (capturing) {
                if (seen.insert(name).second) keys.push_back(name);
            } else if (matched != kOffPath && name == path_.begin()[matched]) {
                // This member overrides any earlier one of the same name.
                next = matched + 1;
                found_.reset();
            }
            if (!Value(depth, next)) return false;
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            if (Peek() != '}') return false;
            ++pos_;
            if (capturing) found_ = std::move(keys);
            return true;
        }
    }

    bool Array(int depth) {
        if (depth > kJsonMaxDepth) return false;
        ++pos_;
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (!Value(depth, kOffPath)) return false;
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            if (Peek() != ']') return false;
            ++pos_;
            return true;
        }
    }

    bool Digits() {
        const std::size_t start = pos_;
        while (!AtEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        return pos_ > start;
    }

    bool Number() {
        if (Peek() == '-') ++pos_;
        if (Peek() == '0') {
            ++pos_;
        } else if (Peek() < '1' || Peek() > '9' || !Digits()) {
            return false;
        }
        if (Peek() == '.') {
            ++pos_;
            if (!Digits()) return false;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') ++pos_;
            if (!Digits()) return false;
        }
        return true;
    }

    static void Append(std::string* out, std::uint32_t code) {
        if (out == nullptr) return;
        if (code < 0x80) {
            out->push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out->push_back(static_cast<char>(0xC0 | (code >> 6)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out->push_back(static_cast<char>(0xE0 | (code >> 12)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out->push_back(static_cast<char>(0xF0 | (code >> 18)));
            out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    bool Hex4(std::uint32_t& code) {
        if (text_.size() - pos_ < 4) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            code <<= 4;
            if (c >= '0' && c <= '9') {
                code |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                code |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                code |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return false;
            }
        }
        return true;
    }

    // After a backslash: one escape, a surrogate pair as one.
    bool Escape(std::string* out) {
        if (AtEnd()) return false;
        const char c = Peek();
        ++pos_;
        switch (c) {
            case '"':
            case '\\':
            case '/':
                Append(out, static_cast<std::uint32_t>(c));
                return true;
            case 'b':
                Append(out, '\b');
                return true;
            case 'f':
                Append(out, '\f');
                return true;
            case 'n':
                Append(out, '\n');
                return true;
            case 'r':
                Append(out, '\r');
                return true;
            case 't':
                Append(out, '\t');
                return true;
            case 'u':
                break;
            default:
                return false;
        }
        std::uint32_t code = 0;
        if (!Hex4(code)) return false;
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        Append(out, code);
        return true;
    }

    // A string, decoded into out when asked.
    bool String(std::string* out) {
        if (out != nullptr) out->clear();
        ++pos_;
        while (!AtEnd()) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                ++pos_;
                if (!Escape(out)) return false;
            } else if (c < 0x80) {
                if (out != nullptr) out->push_back(static_cast<char>(c));
                ++pos_;
            } else {
                const std::size_t length = Utf8SequenceLength(text_, pos_);
                if (length == 0) return false;
                if (out != nullptr) out->append(text_.substr(pos_, length));
                pos_ += length;
            }
        }
        return false;
    }

    std::string_view text_;
    std::initializer_list<std::string_view> path_;
    std::size_t pos_ = 0;
    std::optional<std::vector<std::string>> found_;
};

}  // namespace

std::optional<std::vector<std::string>> JsonObjectKeys(std::string_view text,
                                                       std::initializer_list<std::string_view> path) {
    return Reader(text, path).Read();
}
