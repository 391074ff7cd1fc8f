// A small, strict reader of JSON (RFC 8259) for the files browsers keep their settings in: it
// trusts nothing in them, holds nothing but what it is asked for, and nests no deeper than a
// fixed bound.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Objects nested deeper than this make a document unreadable; browsers' files nest a dozen.
inline constexpr int kJsonMaxDepth = 64;

// The names of the members of the object that path leads to from the top-level object, each
// once, in the order first written, in UTF-8. Nothing when the text is not one JSON value in
// UTF-8 with nothing after it but white space, when it nests deeper than kJsonMaxDepth, or when
// a name on the path is missing or names no object. Where a name is given twice in one object,
// the last one counts, as browsers read them.
std::optional<std::vector<std::string>> JsonObjectKeys(std::string_view text,
                                                       std::initializer_list<std::string_view> path);
