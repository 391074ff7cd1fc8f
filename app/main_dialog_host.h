// The Win32 side of the main window: owns the HWND, turns each message into a call of
// CBrumixDlg and each of its window operations into Win32 (through Win32Window).
#pragma once

#include <windows.h>

#include "app/dialog.h"
#include "platform/win32/win32_pass_runner.h"
#include "platform/win32/win32_window.h"
#include "ui/brumix_dlg.h"

class MainDialogHost final : public CDialog {
public:
    MainDialogHost(HINSTANCE instance, const PlatformServices& stores);
    // The worker ends before the window's logic, whose passes it runs, goes.
    ~MainDialogHost() override;

    // After the run: ends the worker, waiting a little for a pass that was left behind. False
    // when it still stands in a call that has not returned; nothing it uses may go then.
    bool EndPasses();

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
    Win32PassRunner passes_;
    // What the window's logic runs over; the "Cookies to keep" dialog reads and writes the
    // settings through it.
    PlatformServices stores_;
    CBrumixDlg dlg_;
};
