// Standard output and error of brumix.exe: Unicode to a console, UTF-8 bytes to a file or
// pipe; the progress line; the system code page's names in UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "cli/console.h"
#include "platform/win32/wide_text.h"

class Win32Console final : public Console {
public:
    Win32Console();
    // An exception on its way to main's barrier takes the progress line with it.
    ~Win32Console() override {
        EraseProgress();
        Flush();
    }
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    void Write(Stream stream, std::string_view utf8) override;
    void Flush() override;
    std::uint32_t OutputFailure() override { return outFailure_; }
    bool ErrorIsConsole() override { return err_.console; }
    void SetProgress(std::string_view utf8) override;
    std::uint64_t NowMs() override { return GetTickCount64(); }

private:
    struct Target {
        HANDLE handle = nullptr;
        bool console = false;
    };
    static Target Open(DWORD which);
    // False when a write failed, with the reason in GetLastError.
    static bool Put(const Target& target, std::string_view utf8);
    static bool PutWide(const Target& target, std::wstring_view text);
    void PutOut(std::string_view utf8);
    void EraseProgress();

    Target out_;
    Target err_;
    // Output to a file or pipe is gathered, so that a long preview is not a call per line.
    std::string held_;
    DWORD outFailure_ = ERROR_SUCCESS;
    // The width of the progress line standing on standard error; 0 when none.
    std::size_t progressWidth_ = 0;
};

// A name as the ANSI calls hand it out, in UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
