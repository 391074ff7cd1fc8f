// The application object: the one process-wide object that starts the main window.
#pragma once

#include <windows.h>

class CBrumixApp {
public:
    // Runs the main window modally over the real stores. Returns false: once the window
    // has ended there is no message loop to enter, and the process ends.
    bool InitInstance();
};

extern CBrumixApp theApp;
