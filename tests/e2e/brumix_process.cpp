// Starts winbrumix.exe, finds its windows and drives them from outside as a user would.
#include "tests/e2e/brumix_process.h"

#include <commctrl.h>

#include <thread>

#include "res/resource.h"

namespace e2e {
namespace {

constexpr Millis kStartLimit(30000);
constexpr Millis kPassLimit(30000);
constexpr Millis kExitLimit(15000);

std::string g_programPath;

struct CollectWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectProc(HWND window, LPARAM param) {
    auto* collect = reinterpret_cast<CollectWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == collect->processId) collect->windows.push_back(window);
    return TRUE;
}

}  // namespace

void SetProgramPath(const std::string& path) {
    g_programPath = path;
}

const std::string& ProgramPath() {
    return g_programPath;
}

std::string ProgramName() {
    std::string name = g_programPath.substr(g_programPath.find_last_of("\\/") + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool WaitUntil(const std::function<bool()>& condition, Millis limit, Millis step) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

std::vector<ChildInfo> Children(HWND parent) {
    std::vector<ChildInfo> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back({child, GetDlgCtrlID(child), ClassOf(child), WindowText(child),
                            GetWindowLongA(child, GWL_STYLE), GetWindowLongA(child, GWL_EXSTYLE)});
    }
    return children;
}

BrumixProcess::~BrumixProcess() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kExitLimit.count()));
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
}

::testing::AssertionResult BrumixProcess::Launch() {
    if (info_.hProcess) return ::testing::AssertionFailure() << "already started";
    std::string commandLine = "\"" + program_ + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        return ::testing::AssertionFailure() << "CreateProcess(" << program_ << ") failed: " << GetLastError();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::Start() {
    if (::testing::AssertionResult launched = Launch(); !launched) return launched;
    bool shown = WaitUntil(
        [&] {
            if (WaitForSingleObject(info_.hProcess, 0) != WAIT_TIMEOUT) return true;
            main_ = FindMainWindow(info_.dwProcessId);
            return main_ != nullptr;
        },
        kStartLimit, Millis(50));
    if (!main_) {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return ::testing::AssertionFailure() << (shown ? "the program ended before showing its window, exit code "
                                                       : "no visible \"Win Brumix\" dialog within 30 s, exit code ")
                                             << code;
    }
    if (!Sync()) return ::testing::AssertionFailure() << "the main window does not answer";
    if (!WaitUntil([&] { return Text(IDC_CACHED_COUNT).rfind("Cached Files:", 0) == 0; }, kPassLimit)) {
        return ::testing::AssertionFailure() << "the first count did not reach the window within 30 s";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::Close() {
    if (!Running()) return ::testing::AssertionFailure() << "the program is not running";
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kExitLimit.count())) != WAIT_OBJECT_0) {
        return ::testing::AssertionFailure() << "the process did not end within 15 s of the cancel command";
    }
    return ::testing::AssertionSuccess();
}

bool BrumixProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> BrumixProcess::ExitCode(Millis limit) const {
    DWORD code = STILL_ACTIVE;
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(info_.hProcess, &code)) {
        return std::nullopt;
    }
    return code;
}

HWND BrumixProcess::Control(int id) const {
    return GetDlgItem(main_, id);
}

LRESULT BrumixProcess::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(Control(id), message, wParam, lParam, SMTO_ABORTIFHUNG, kSendLimitMs, &result)) {
        ADD_FAILURE() << "control " << id << " did not answer message 0x" << std::hex << message;
        return -1;
    }
    return static_cast<LRESULT>(result);
}

bool BrumixProcess::Sync() const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &ignored) != 0;
}

int BrumixProcess::Check(int id) const {
    return static_cast<int>(Send(id, BM_GETCHECK));
}

bool BrumixProcess::Enabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

bool BrumixProcess::Visible(int id) const {
    return IsWindowVisible(Control(id)) != FALSE;
}

int BrumixProcess::SliderPos() const {
    return static_cast<int>(Send(IDC_INTERVAL, TBM_GETPOS));
}

int BrumixProcess::ProgressPos() const {
    return static_cast<int>(Send(IDC_PROGRESS, PBM_GETPOS));
}

::testing::AssertionResult BrumixProcess::Click(int id) const {
    HWND control = Control(id);
    if (!control) return ::testing::AssertionFailure() << "no control " << id;
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        return ::testing::AssertionFailure()
               << "control " << id << " cannot be clicked: " << (IsWindowVisible(control) ? "disabled" : "hidden");
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &ignored)) {
        return ::testing::AssertionFailure() << "the click on control " << id << " was not handled within 10 s";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::PostClick(int id) const {
    HWND control = Control(id);
    if (!control) return ::testing::AssertionFailure() << "no control " << id;
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        return ::testing::AssertionFailure() << "control " << id << " cannot be clicked";
    }
    if (!PostMessageA(control, BM_CLICK, 0, 0)) return ::testing::AssertionFailure() << "PostMessage failed";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::ClearNow() const {
    ::testing::AssertionResult clicked = Click(IDOK);
    if (!clicked) return clicked;
    if (!WaitUntil([&] { return Enabled(IDOK); }, kPassLimit)) {
        return ::testing::AssertionFailure() << "the clear did not end within 30 s";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::PressKey(int id, WPARAM key) const {
    HWND control = Control(id);
    if (!control) return ::testing::AssertionFailure() << "no control " << id;
    UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (1 << 24);
    LPARAM up = down | (static_cast<LPARAM>(3) << 30);
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(control, WM_KEYDOWN, key, down, SMTO_ABORTIFHUNG, kSendLimitMs, &ignored) ||
        !SendMessageTimeoutA(control, WM_KEYUP, key, up, SMTO_ABORTIFHUNG, kSendLimitMs, &ignored)) {
        return ::testing::AssertionFailure() << "the key press on control " << id << " was not handled";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::Minimise() const {
    PostMessageA(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (!WaitUntil([&] { return IsIconic(main_) != FALSE; }, Millis(5000))) {
        return ::testing::AssertionFailure() << "the window is not minimised 5 s after SC_MINIMIZE";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult BrumixProcess::Restore() const {
    PostMessageA(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (!WaitUntil([&] { return !IsIconic(main_) && IsWindowVisible(main_); }, Millis(5000))) {
        return ::testing::AssertionFailure() << "the window is still minimised 5 s after SC_RESTORE";
    }
    return ::testing::AssertionSuccess();
}

std::vector<HWND> BrumixProcess::TopLevelWindows() const {
    CollectWindows collect{info_.dwProcessId, {}};
    EnumWindows(CollectProc, reinterpret_cast<LPARAM>(&collect));
    return collect.windows;
}

HWND BrumixProcess::WaitForBox(const std::string& title, Millis limit) const {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                if (window != main_ && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
                    WindowText(window) == title) {
                    box = window;
                    return true;
                }
            }
            return false;
        },
        limit, Millis(50));
    return box;
}

}  // namespace e2e
