// Finds winbrumix.exe's main window and reads windows of another process, for the driver and
// the soak helper alike.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Every cross-process call is bounded: a hung program fails the test instead of hanging it.
inline constexpr UINT kSendLimitMs = 10000;

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// The process's visible, unowned "Win Brumix" dialog; null while it has none.
HWND FindMainWindow(DWORD processId);

}  // namespace e2e
