// brumix.exe's session window under Wine's real window manager: where the end of the session
// finds it, and which of its messages end the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "cli/win32_session_window.h"

namespace {

std::atomic<int> g_ends{0};

// The window comes up on a thread of its own, a moment after the call.
HWND SessionWindow() {
    for (int tries = 0; tries < 100; ++tries) {
        if (HWND window = FindWindowExW(nullptr, nullptr, kSessionWindowClass, nullptr)) return window;
        Sleep(50);
    }
    return nullptr;
}

// A log-off another program refused ends in WM_ENDSESSION with FALSE: the session goes on, and
// so does the clear. A child of the desktop, where the end of the session looks: a message-only
// window gets no broadcast.
TEST(SessionWindowTest, OnlyAnEndThatHappensEndsTheRun) {
    ASSERT_TRUE(WatchSessionEnd([] { ++g_ends; }));
    const HWND window = SessionWindow();
    ASSERT_NE(window, nullptr) << "no top-level window of class BrumixSessionEnd";
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(IsWindowVisible(window));

    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(g_ends.load(), 0);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(g_ends.load(), 1);
}

}  // namespace
