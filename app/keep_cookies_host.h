// The Win32 side of the "Cookies to keep" dialog: turns its messages into calls of
// CKeepCookiesDlg and its window operations into Win32.
#pragma once

#include <windows.h>

#include "app/dialog.h"
#include "platform/win32/win32_window.h"
#include "ui/keep_cookies_dlg.h"

class KeepCookiesHost final : public CDialog {
public:
    KeepCookiesHost(HINSTANCE instance, Registry& registry, CBrumixDlg& main);

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool OnCommand(WORD id, WORD code);

    Win32Window window_;
    CKeepCookiesDlg dlg_;
};
