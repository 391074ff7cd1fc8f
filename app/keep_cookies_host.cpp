// Message routing of the "Cookies to keep" dialog; every decision is CKeepCookiesDlg's.
#include "app/keep_cookies_host.h"

#include "res/resource.h"

KeepCookiesHost::KeepCookiesHost(HINSTANCE instance, Registry& registry, CBrumixDlg& main)
    : CDialog(instance, IDD_KEEP_COOKIES),
      window_(instance, IDR_MAINFRAME, [this](int result) { EndModal(result); }),
      dlg_(window_, registry, main) {}

bool KeepCookiesHost::OnInitDialog() {
    window_.Attach(Hwnd());
    dlg_.OnInitDialog();
    return true;
}

bool KeepCookiesHost::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_COMMAND) return false;
    result = 0;
    return OnCommand(LOWORD(wParam), HIWORD(wParam));
}

bool KeepCookiesHost::OnCommand(WORD id, WORD code) {
    switch (id) {
        case IDOK:
            dlg_.OnOk();
            return true;
        case IDCANCEL:
            dlg_.OnCancel();
            return true;
        case IDC_KEEP_MOVE:
            if (code == BN_CLICKED) dlg_.OnKeep();
            return true;
        case IDC_KEEP_RETURN:
            if (code == BN_CLICKED) dlg_.OnRemove();
            return true;
        case IDC_KEEP_ADD:
            if (code == BN_CLICKED) dlg_.OnAdd();
            return true;
        case IDC_KEEP_FOUND:
            if (code == LBN_DBLCLK) dlg_.OnKeep();
            return code == LBN_DBLCLK;
        case IDC_KEEP_LIST:
            if (code == LBN_DBLCLK) dlg_.OnRemove();
            return code == LBN_DBLCLK;
        case IDC_KEEP_TYPED:
            // While the user types a site, Enter adds it rather than closing the dialog.
            if (code == EN_SETFOCUS) SendMessageA(Hwnd(), DM_SETDEFID, IDC_KEEP_ADD, 0);
            if (code == EN_KILLFOCUS) SendMessageA(Hwnd(), DM_SETDEFID, IDOK, 0);
            return false;
        default:
            return false;
    }
}
