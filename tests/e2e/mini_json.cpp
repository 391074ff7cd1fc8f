// A strict little JSON reader for the end-to-end tests: enough to say that brumix.exe's
// --json output parses and to read its fields back.
#include "tests/e2e/mini_json.h"

#include <windows.h>

#include <cstdlib>

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    std::optional<JsonValue> Document(std::string& error) {
        std::optional<JsonValue> value = Value();
        SkipSpace();
        if (value && at_ != text_.size()) Fail("text after the value");
        if (!error_.empty()) {
            error = error_ + " at byte " + std::to_string(at_);
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<JsonValue> Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return std::nullopt;
    }
    void SkipSpace() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }
    bool Take(char c) {
        SkipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }

    std::optional<JsonValue> Value() {
        SkipSpace();
        if (at_ >= text_.size()) return Fail("value expected");
        JsonValue value;
        const char c = text_[at_];
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            std::optional<std::string> s = String();
            if (!s) return std::nullopt;
            value.kind = JsonValue::Kind::String;
            value.text = *s;
            return value;
        }
        if (Word("true")) {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = true;
            return value;
        }
        if (Word("false")) {
            value.kind = JsonValue::Kind::Bool;
            return value;
        }
        if (Word("null")) return value;
        return Number();
    }

    std::optional<JsonValue> Number() {
        const std::size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ > from;
        };
        if (!digits()) return Fail("number expected");
        if (text_[start] == '0' || (text_[start] == '-' && text_[start + 1] == '0')) {
            if (at_ - start > (text_[start] == '-' ? 2u : 1u)) return Fail("leading zero");
        }
        if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits())) return Fail("digits after '.'");
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (!digits()) return Fail("exponent digits");
        }
        JsonValue value;
        value.kind = JsonValue::Kind::Number;
        value.number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned long code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::optional<unsigned long> Hex4() {
        if (text_.size() - at_ < 4) return std::nullopt;
        unsigned long code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned long>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned long>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned long>(h - 'A' + 10);
            else
                return std::nullopt;
        }
        return code;
    }

    std::optional<std::string> String() {
        ++at_;  // the opening quote
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("raw control character in a string");
                return std::nullopt;
            }
            if (c != '\\') {
                out += c;
            } else if (!Escape(out)) {
                Fail("bad escape");
                return std::nullopt;
            }
        }
        Fail("unterminated string");
        return std::nullopt;
    }

    // The escape after a backslash; a \u pair of surrogates is one character.
    bool Escape(std::string& out) {
        if (at_ >= text_.size()) return false;
        const char e = text_[at_++];
        static constexpr char kNames[] = "\"\\/bfnrt";
        static constexpr char kMeanings[] = "\"\\/\b\f\n\r\t";
        for (std::size_t i = 0; i + 1 < sizeof kNames; ++i) {
            if (e != kNames[i]) continue;
            out += kMeanings[i];
            return true;
        }
        if (e != 'u') return false;
        std::optional<unsigned long> code = Hex4();
        if (!code || (*code >= 0xDC00 && *code <= 0xDFFF)) return false;
        if (*code >= 0xD800 && *code <= 0xDBFF) {
            if (!Word("\\u")) return false;
            const std::optional<unsigned long> low = Hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
            *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
        }
        AppendUtf8(out, *code);
        return true;
    }

    std::optional<JsonValue> Array() {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::Array;
        if (Take(']')) return value;
        do {
            std::optional<JsonValue> item = Value();
            if (!item) return std::nullopt;
            value.items.push_back(std::move(*item));
        } while (Take(','));
        if (!Take(']')) return Fail("',' or ']' expected");
        return value;
    }

    std::optional<JsonValue> Object() {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::Object;
        if (Take('}')) return value;
        do {
            SkipSpace();
            if (at_ >= text_.size() || text_[at_] != '"') return Fail("member name expected");
            std::optional<std::string> key = String();
            if (!key) return std::nullopt;
            if (!Take(':')) return Fail("':' expected");
            std::optional<JsonValue> member = Value();
            if (!member) return std::nullopt;
            value.members.emplace_back(std::move(*key), std::move(*member));
        } while (Take(','));
        if (!Take('}')) return Fail("',' or '}' expected");
        return value;
    }

    const std::string& text_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

const JsonValue* JsonValue::Get(const std::string& key) const {
    for (const auto& [name, value] : members) {
        if (name == key) return &value;
    }
    return nullptr;
}

std::optional<JsonValue> ParseJson(const std::string& text, std::string& error) {
    // The system's own check of the bytes: a document that is not UTF-8 is no JSON text.
    if (!text.empty() && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0) == 0) {
        error = "not valid UTF-8";
        return std::nullopt;
    }
    return Reader(text).Document(error);
}
