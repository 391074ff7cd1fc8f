// Standard output and error of brumix.exe: Unicode to a console, UTF-8 bytes to a file or
// pipe; the progress line; the system code page's names in UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "cli/console.h"

class Win32Console final : public Console {
public:
    Win32Console();
    ~Win32Console() override { Flush(); }
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    void Write(Stream stream, std::string_view utf8) override;
    bool ErrorIsConsole() override { return err_.console; }
    void SetProgress(std::string_view utf8) override;
    std::uint64_t NowMs() override { return GetTickCount64(); }
    // Writes what standard output holds back.
    void Flush();

private:
    struct Target {
        HANDLE handle = nullptr;
        bool console = false;
    };
    static Target Open(DWORD which);
    static void Put(const Target& target, std::string_view utf8);
    void EraseProgress();

    Target out_;
    Target err_;
    // Output to a file or pipe is gathered, so that a long preview is not a call per line.
    std::string held_;
    // The width of the progress line standing on standard error; 0 when none.
    std::size_t progressWidth_ = 0;
};

// A name as the ANSI calls hand it out, in UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
std::string WideToUtf8(std::wstring_view wide);
