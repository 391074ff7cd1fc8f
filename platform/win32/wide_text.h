// UTF-16 text from the system, in the UTF-8 the program's own code holds, and back.
#pragma once

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view wide);
// A sequence that is not UTF-8 comes out as U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
