// Start-up: the real stores, the main window run modally, and the process entry point.
#include "app/brumix_app.h"

#include <commctrl.h>

#include <string>

#include "app/main_dialog_host.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/win32_platform.h"

CBrumixApp theApp;

bool CBrumixApp::InitInstance() {
    Win32Platform stores;
    MainDialogHost dlg(GetModuleHandleA(nullptr), stores.Services());
    // The dialog's own result (IDCANCEL) means nothing to the caller; only -1, a window
    // that never came up, does.
    exitCode_ = dlg.DoModal(nullptr) == -1 ? kExitNoWindow : 0;
    // A pass left in a call that never returned still uses the stores and the window's logic,
    // so none of them may go; and ExitProcess could wait for a lock that call holds. The
    // choices were saved by the close.
    if (!dlg.EndPasses()) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode_));
    return false;
}

namespace {

// The stores' DLL; then comctl32 for the trackbar, the tooltips (bar classes) and the progress bar.
SystemDllFailure LoadSystemDlls() {
    if (SystemDllFailure missing = Win32Platform::LoadSystemDlls()) return missing;
    return InitCommonControlsFromSystem(ICC_BAR_CLASSES | ICC_PROGRESS_CLASS);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (const SystemDllFailure missing = LoadSystemDlls()) {
        const std::string text = "Win Brumix cannot start: " + missing.Describe() + ".";
        MessageBoxA(nullptr, text.c_str(), CBrumixApp::kCaption, MB_OK | MB_ICONERROR);
        return CBrumixApp::kExitSystemDll;
    }
    theApp.InitInstance();
    return theApp.ExitCode();
}
