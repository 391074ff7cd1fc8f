// brumix.exe's entry point: the real stores, the console, Ctrl+C, the command line and the
// version record handed to the command runner.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <string_view>
#include <vector>

#include "cli/barrier.h"
#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/win32_console.h"
#include "cli/win32_session_window.h"
#include "platform/win32/own_version.h"
#include "platform/win32/win32_platform.h"

namespace {

StopFlag g_stop;

// What an event asks for, on the thread that took it. A stop lets the sweep stop before its next
// item, so what was deleted stays deleted and the summary is still written. An end now is a
// later press while that stop is pending, in case a call of the system never returns;
// TerminateProcess, because ExitProcess would wait for the locks such a call may hold. A close
// must not return: the program's own exit ends this thread, or the hold runs out first.
void Carry(ConsoleAction action) {
    switch (action) {
        case ConsoleAction::Stop:
            return;
        case ConsoleAction::StopAndHold:
            Sleep(kCloseHoldMs);
            break;
        case ConsoleAction::EndNow:
            break;
    }
    TerminateProcess(GetCurrentProcess(), kExitStopped);
}

// Runs on a new thread for each event. With user32.dll in the process (wininet brings it), a
// log-off or shutdown never comes here but to the session window; taken here all the same,
// should it come.
BOOL WINAPI OnConsoleControl(DWORD event) {
    ConsoleEvent kind = ConsoleEvent::Close;
    switch (event) {
        case CTRL_C_EVENT:
            kind = ConsoleEvent::CtrlC;
            break;
        case CTRL_BREAK_EVENT:
            kind = ConsoleEvent::CtrlBreak;
            break;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            break;
        default:
            return FALSE;
    }
    Carry(AnswerConsoleEvent(kind, g_stop, GetTickCount64()));
    return TRUE;
}

// The end of the session is a close of the console: the session waits while this runs.
void OnSessionEnd() {
    Carry(AnswerConsoleEvent(ConsoleEvent::Close, g_stop, GetTickCount64()));
}

// A program started with Ctrl+C ignored (by start /b, or by a launcher that made a new
// process group) inherits that, and its handler would never be called.
void HandleCtrlC() {
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

// Straight to the handle: by now the console object may be what failed.
void SayOnStandardError(const char* line) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
    const std::string_view text(line);
    DWORD written = 0;
    WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The words after the program's name, parsed by the system's rules from the Unicode command
// line, so that no C runtime expands wildcards such as /?.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(WideToUtf8(words[i]));
    LocalFree(words);
    return args;
}

int RunProgram() {
    Win32Platform stores;
    Win32Console console;
    CliContext context{stores.Services(), console, g_stop, AnsiToUtf8, OwnFileVersion(nullptr)};
    return RunBrumix(Arguments(), context);
}

}  // namespace

int main() {
    // A scheduled task has nobody to answer a system error box, so none is shown: set before
    // the first DLL is loaded, since a damaged one is what would put one up.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Then whatever cannot be had is said on standard error, and no store is touched.
    if (const SystemDllFailure missing = Win32Platform::LoadSystemDlls()) {
        Win32Console console;
        console.Write(Stream::Err, "brumix: " + missing.Describe() + "\n");
        return kExitSystemDll;
    }
    HandleCtrlC();
    WatchSessionEnd(OnSessionEnd);
    return RunGuarded(RunProgram, SayOnStandardError, g_stop);
}
