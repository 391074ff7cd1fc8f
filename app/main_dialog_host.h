// The Win32 side of the main window: owns the HWND, turns each message into a call of
// CBrumixDlg and each of its window operations into Win32 (through Win32Window).
#pragma once

#include <windows.h>

#include "app/dialog.h"
#include "platform/win32/win32_window.h"
#include "ui/brumix_dlg.h"

// The stores the main window works on; the window operations are the host's own.
struct StoreServices {
    UrlCache& urlCache;
    Registry& registry;
    FileSearch& files;
    SystemFacts& system;
    Heap& heap;
};

class MainDialogHost final : public CDialog {
public:
    MainDialogHost(HINSTANCE instance, const StoreServices& stores);

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool PreTranslateMessage(MSG& message) override;

private:
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    bool OnCommand(WORD id, WORD code);
    void OnTimer(WPARAM timerId);
    void OnHScroll(HWND control);

    HICON icon_;
    Win32Window window_;
    CBrumixDlg dlg_;
};
