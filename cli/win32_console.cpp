// Standard output and error of brumix.exe: Unicode to a console, UTF-8 bytes to a file or
// pipe; the progress line; the system code page's names in UTF-8.
#include "cli/win32_console.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "cli/write_pieces.h"

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

// What a write call took, 0 when it failed: a call that reports success but takes nothing
// would otherwise be asked again for ever.
DWORD Taken(BOOL ok, DWORD written) {
    if (!ok) return 0;
    if (written == 0) SetLastError(ERROR_WRITE_FAULT);
    return written;
}

}  // namespace

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

// A stream that is missing swallows what is written: whoever started the program chose to
// give it none.
bool Win32Console::Put(const Target& target, std::string_view utf8) {
    if (target.handle == nullptr || utf8.empty()) return true;
    if (target.console) return PutWide(target, Widen(utf8, CP_UTF8));
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    return WriteInPieces(utf8, kPiece, [&](const char* data, std::size_t count) {
        DWORD written = 0;
        const BOOL ok = WriteFile(target.handle, data, static_cast<DWORD>(count), &written, nullptr);
        return Taken(ok, written);
    });
}

bool Win32Console::PutWide(const Target& target, std::wstring_view text) {
    // Large writes to a console may be refused; it takes them in pieces.
    constexpr std::size_t kPiece = 8192;
    return WriteInPieces(text, kPiece, [&](const wchar_t* data, std::size_t count) {
        DWORD written = 0;
        const BOOL ok = WriteConsoleW(target.handle, data, static_cast<DWORD>(count), &written, nullptr);
        return Taken(ok, written);
    });
}

// After one failed write nothing more is tried: a full disk or a gone reader stays so, and a
// later piece that got through would leave a document with a hole in it.
void Win32Console::PutOut(std::string_view utf8) {
    if (outFailure_ != ERROR_SUCCESS) return;
    if (Put(out_, utf8)) return;
    outFailure_ = GetLastError();
    if (outFailure_ == ERROR_SUCCESS) outFailure_ = ERROR_WRITE_FAULT;
}

void Win32Console::Write(Stream stream, std::string_view utf8) {
    const Target& target = stream == Stream::Out ? out_ : err_;
    if (target.console) EraseProgress();
    if (stream == Stream::Out) {
        if (out_.console) {
            PutOut(utf8);
            return;
        }
        if (outFailure_ == ERROR_SUCCESS) held_.append(utf8);
        if (held_.size() >= kHoldLimit) Flush();
        return;
    }
    // Whatever standard output holds goes first: both may be the same file.
    Flush();
    Put(err_, utf8);
}

void Win32Console::Flush() {
    PutOut(held_);
    held_.clear();
}

// Allocates nothing: it also runs while an exception, out of memory perhaps, unwinds.
void Win32Console::EraseProgress() {
    if (progressWidth_ == 0) return;
    static constexpr wchar_t kBlanks[] = L"                                                                ";
    constexpr std::size_t kBlankCount = std::size(kBlanks) - 1;
    PutWide(err_, L"\r");
    for (std::size_t left = progressWidth_; left > 0; left -= std::min(left, kBlankCount)) {
        PutWide(err_, std::wstring_view(kBlanks, std::min(left, kBlankCount)));
    }
    PutWide(err_, L"\r");
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
