// Names on their way out: from the system's ANSI code page to UTF-8, then as a JSON string
// or as a plain line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Turns a name as the ANSI calls hand it out (the system code page) into UTF-8. The entry
// point gives the system's conversion; tests give one of their own.
using NameDecoder = std::function<std::string(std::string_view ansi)>;

// The text as one JSON string, quotes included: quotes, backslashes and control characters
// escaped, and any byte that is not part of valid UTF-8 replaced by U+FFFD, so that the
// document stays valid UTF-8 whatever the decoder gave.
std::string JsonString(std::string_view utf8);

// The text for one line of plain output: control characters, which would break the line or
// move the cursor, become '?', and invalid UTF-8 becomes U+FFFD.
std::string PlainText(std::string_view utf8);
