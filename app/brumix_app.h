// The application object: the one process-wide object that starts the main window.
#pragma once

#include <windows.h>

class CBrumixApp {
public:
    // Runs the main window modally over the real stores. Returns false: once the window
    // has ended there is no message loop to enter, and the process ends.
    bool InitInstance();
    // The process's exit code once InitInstance has returned: 0 after the window ran and
    // was closed, kExitNoWindow when the main window could not be created (or ended without
    // being closed), so that a script or a scheduler starting the program sees the failure.
    int ExitCode() const { return exitCode_; }

    static constexpr int kExitNoWindow = 1;

private:
    int exitCode_ = 0;
};

extern CBrumixApp theApp;
