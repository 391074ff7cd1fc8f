// UTF-16 to UTF-8 and back.
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <limits>

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(wide.size());
    const int wanted = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (wanted <= 0) return {};
    std::string utf8(static_cast<std::size_t>(wanted), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), wanted, nullptr, nullptr);
    return utf8;
}

std::wstring Utf8ToWide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(utf8.size());
    const int wanted = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wanted <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wanted), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wanted);
    return wide;
}
