// A strict little JSON reader for the end-to-end tests: enough to say that brumix.exe's
// --json output parses and to read its fields back.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    // The member of that name, or null when there is none or this is no object.
    const JsonValue* Get(const std::string& key) const;
};

// The document as one value with nothing but white space after it; nothing, with the reason
// in error, when the text is not valid UTF-8 or not JSON.
std::optional<JsonValue> ParseJson(const std::string& text, std::string& error);
