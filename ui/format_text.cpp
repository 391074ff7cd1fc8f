// Formatting into the window's fixed 255-character text buffer.
#include "ui/format_text.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::size_t kTextBufferSize = 255;

template <typename... Args>
std::string FormatInto(const char* format, Args... args) {
    std::array<char, kTextBufferSize> buffer{};
    // The formats are the program's own constants; snprintf truncates and terminates.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    std::snprintf(buffer.data(), buffer.size(), format, args...);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return std::string(buffer.data());
}

}  // namespace

std::string FormatText(const char* format, int value) {
    return FormatInto(format, value);
}

std::string FormatText(const char* format, int first, int second) {
    return FormatInto(format, first, second);
}

std::string FormatText(const char* format, const std::string& text, int value) {
    return FormatInto(format, text.c_str(), value);
}

std::string FormatText(const char* format, const std::string& text) {
    return FormatInto(format, text.c_str());
}
