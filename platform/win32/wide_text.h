// UTF-16 text from the system, in the UTF-8 the program's own code holds, and back.
#pragma once

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view wide);
// Empty for text that is not UTF-8.
std::wstring Utf8ToWide(std::string_view utf8);
