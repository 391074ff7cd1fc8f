// Standard output and error of brumix.exe: Unicode to a console, UTF-8 bytes to a file or
// pipe; the progress line; the system code page's names in UTF-8.
#include "cli/win32_console.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::size_t kHoldLimit = std::size_t{64} * 1024;

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(text.size());
    const int wanted = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (wanted <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wanted), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wanted);
    return wide;
}

}  // namespace

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(wide.size());
    const int wanted = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (wanted <= 0) return {};
    std::string utf8(static_cast<std::size_t>(wanted), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), wanted, nullptr, nullptr);
    return utf8;
}

std::string AnsiToUtf8(std::string_view ansi) {
    return WideToUtf8(Widen(ansi, CP_ACP));
}

Win32Console::Win32Console() : out_(Open(STD_OUTPUT_HANDLE)), err_(Open(STD_ERROR_HANDLE)) {}

Win32Console::Target Win32Console::Open(DWORD which) {
    Target target;
    target.handle = GetStdHandle(which);
    if (target.handle == INVALID_HANDLE_VALUE) target.handle = nullptr;
    DWORD mode = 0;
    target.console = target.handle != nullptr && GetConsoleMode(target.handle, &mode) != FALSE;
    return target;
}

// A stream that is missing or closed swallows what is written; nothing is shown instead.
void Win32Console::Put(const Target& target, std::string_view utf8) {
    if (target.handle == nullptr || utf8.empty()) return;
    if (target.console) {
        const std::wstring wide = Widen(utf8, CP_UTF8);
        // Large writes to a console may be refused; it takes them in pieces.
        constexpr std::size_t kPiece = 8192;
        for (std::size_t at = 0; at < wide.size(); at += kPiece) {
            const DWORD count = static_cast<DWORD>(std::min(kPiece, wide.size() - at));
            DWORD written = 0;
            if (!WriteConsoleW(target.handle, wide.data() + at, count, &written, nullptr)) return;
        }
        return;
    }
    while (!utf8.empty()) {
        const DWORD count = static_cast<DWORD>(std::min<std::size_t>(utf8.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(target.handle, utf8.data(), count, &written, nullptr) || written == 0) return;
        utf8.remove_prefix(written);
    }
}

void Win32Console::Write(Stream stream, std::string_view utf8) {
    const Target& target = stream == Stream::Out ? out_ : err_;
    if (target.console) EraseProgress();
    if (stream == Stream::Out && !out_.console) {
        held_.append(utf8);
        if (held_.size() >= kHoldLimit) Flush();
        return;
    }
    // Whatever standard output holds goes first: both may be the same file.
    Flush();
    Put(target, utf8);
}

void Win32Console::Flush() {
    Put(out_, held_);
    held_.clear();
}

void Win32Console::EraseProgress() {
    if (progressWidth_ == 0) return;
    // Built in place: GCC 12 misreads "\r" + std::string as an overlapping copy (-Wrestrict).
    std::string blank(progressWidth_ + 2, ' ');
    blank.front() = '\r';
    blank.back() = '\r';
    Put(err_, blank);
    progressWidth_ = 0;
}

void Win32Console::SetProgress(std::string_view utf8) {
    if (!err_.console) return;
    if (utf8.empty()) {
        EraseProgress();
        return;
    }
    const std::size_t width = Widen(utf8, CP_UTF8).size();
    std::string line(1, '\r');
    line.append(utf8);
    // A shorter line would leave the end of the longer one standing.
    if (width < progressWidth_) line.append(progressWidth_ - width, ' ');
    Put(err_, line);
    progressWidth_ = std::max(width, progressWidth_);
}
