// brumix.exe's hidden window, which takes WM_QUERYENDSESSION and WM_ENDSESSION: the way
// Microsoft documents for a console program that has loaded user32.dll or gdi32.dll to learn of
// a log-off or shutdown, since its control handler gets neither CTRL_LOGOFF_EVENT nor
// CTRL_SHUTDOWN_EVENT.
#include "cli/win32_session_window.h"

#include <windows.h>

namespace {

SessionEndCall g_onEnd = nullptr;

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            // Agreed at once: what the end costs is done when it is certain, in WM_ENDSESSION.
            return TRUE;
        case WM_ENDSESSION:
            // FALSE: another program refused, and the session goes on.
            if (wParam != FALSE && g_onEnd != nullptr) g_onEnd();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A window that is top-level and merely not shown: a message-only window (HWND_MESSAGE) gets no
// broadcast, and so neither message.
DWORD WINAPI SessionWindowThread(void*) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kSessionWindowClass;
    if (RegisterClassExW(&windowClass) == 0) return 1;
    if (CreateWindowExW(0, kSessionWindowClass, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) ==
        nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace

bool WatchSessionEnd(SessionEndCall onEnd) {
    g_onEnd = onEnd;
    const HANDLE thread = CreateThread(nullptr, 0, SessionWindowThread, nullptr, 0, nullptr);
    if (thread == nullptr) return false;
    CloseHandle(thread);
    return true;
}
