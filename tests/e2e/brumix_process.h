// Starts winbrumix.exe, finds its windows and drives them from outside as a user would.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/main_window.h"

namespace e2e {

using Millis = std::chrono::milliseconds;

// Set by main from the command line: the program under test, as a Windows path.
void SetProgramPath(const std::string& path);
const std::string& ProgramPath();
// The executable's file name without its extension: the caption of a box shown without one.
std::string ProgramName();

// Polls until the condition holds or the deadline passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Millis limit, Millis step = Millis(25));

// One run of the program. The destructor ends a process that is still running, so a failed
// test never leaves it behind.
class BrumixProcess {
public:
    BrumixProcess() = default;
    // A run of another executable than the one under test, such as a changed copy of it.
    explicit BrumixProcess(std::string program) : program_(std::move(program)) {}
    BrumixProcess(const BrumixProcess&) = delete;
    BrumixProcess& operator=(const BrumixProcess&) = delete;
    ~BrumixProcess();

    // Starts the program and waits until its main window is shown and its first count, which
    // runs off the window's thread, has reached the counters.
    ::testing::AssertionResult Start();
    // Starts the program and returns at once, for a run that shows no main window.
    ::testing::AssertionResult Launch();
    // Sends the cancel command and waits for the process to end.
    ::testing::AssertionResult Close();
    bool Running() const;
    // The exit code once the process has ended, waited for up to the limit; nothing while it
    // still runs.
    std::optional<DWORD> ExitCode(Millis limit) const;
    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

    HWND Main() const { return main_; }
    HWND Control(int id) const;
    std::string Title() const { return WindowText(main_); }
    std::string Text(int id) const { return WindowText(Control(id)); }
    int Check(int id) const;
    bool Enabled(int id) const;
    bool Visible(int id) const;
    int SliderPos() const;
    int ProgressPos() const;
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Waits until the program has handled everything sent or posted to it so far.
    bool Sync() const;

    // A click as the user makes it: only on a visible, enabled control; returns once handled.
    ::testing::AssertionResult Click(int id) const;
    // The same click, not waited for: for a click that opens a modal box.
    ::testing::AssertionResult PostClick(int id) const;
    // A click on BRUMIX that returns once the clear has ended: the button is disabled from
    // the click until then.
    ::testing::AssertionResult ClearNow() const;
    // A press of a key on a control, handled by the control itself.
    ::testing::AssertionResult PressKey(int id, WPARAM key) const;
    ::testing::AssertionResult Minimise() const;
    ::testing::AssertionResult Restore() const;

    // A visible top-level window of this process other than the main one, with this title.
    HWND WaitForBox(const std::string& title, Millis limit = Millis(10000)) const;
    std::vector<HWND> TopLevelWindows() const;

private:
    std::string program_ = ProgramPath();
    PROCESS_INFORMATION info_ = {};
    HWND main_ = nullptr;
};

// The text each child of a window shows, in z-order (the order of its template).
struct ChildInfo {
    HWND window;
    int id;
    std::string className;
    std::string text;
    LONG style;
    LONG exStyle;
};
std::vector<ChildInfo> Children(HWND parent);

}  // namespace e2e
