// The end of the session for brumix.exe: a console program that has user32.dll loaded (wininet
// brings it in) is told of a log-off or shutdown only through a window, never through its
// console control handler.
#pragma once

// The window's class: top-level, never shown, one in each brumix.exe.
inline constexpr wchar_t kSessionWindowClass[] = L"BrumixSessionEnd";

// Called on the window's own thread when the session ends; while it runs, the session waits,
// and once it returns the system may end the process at any time.
using SessionEndCall = void (*)();

// Starts a thread with a hidden top-level window that agrees to the end of the session and calls
// onEnd when it comes. False when the thread could not be started; the program then runs without.
bool WatchSessionEnd(SessionEndCall onEnd);
