// Finds winbrumix.exe's main window and reads windows of another process, for the driver and
// the soak helper alike.
#include "tests/e2e/main_window.h"

namespace e2e {
namespace {

struct FindMain {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainProc(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindMain*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Message boxes are dialogs of the same process too, but owned; the class rules out
    // whatever else might carry the title.
    if (owner == find->processId && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        WindowText(window) == "Win Brumix" && !GetWindow(window, GW_OWNER)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
    if (!window) return "(no window)";
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kSendLimitMs, &copied)) {
        return "(no answer)";
    }
    return std::string(text, copied);
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

HWND FindMainWindow(DWORD processId) {
    FindMain find{processId, nullptr};
    EnumWindows(FindMainProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

}  // namespace e2e
