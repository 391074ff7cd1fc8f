// UTF-16 text from the system, in the UTF-8 the program's own code holds.
#pragma once

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view wide);
