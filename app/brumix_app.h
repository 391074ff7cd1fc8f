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
    // A system DLL or one of its functions could not be had; the window never came up.
    static constexpr int kExitSystemDll = 6;
    // The caption of a box shown without the main window: the program's file name.
    static constexpr char kCaption[] = "winbrumix";

private:
    int exitCode_ = 0;
};

extern CBrumixApp theApp;
