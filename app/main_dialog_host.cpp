// Message routing of the main window; every decision is CBrumixDlg's.
#include "app/main_dialog_host.h"

#include <commctrl.h>

#include "app/about_dlg.h"
#include "app/keep_cookies_host.h"
#include "res/resource.h"

namespace {

// Begins and ends painting on every path.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

MainDialogHost::MainDialogHost(HINSTANCE instance, const PlatformServices& stores)
    : CDialog(instance, IDD_MAIN),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME))),
      window_(instance, IDR_MAINFRAME, [this](int result) { EndModal(result); }),
      stores_(stores),
      dlg_(window_, stores_, passes_) {}

MainDialogHost::~MainDialogHost() {
    passes_.Shutdown();
}

bool MainDialogHost::EndPasses() {
    // On top of the wait the close already made for it.
    constexpr DWORD kLastWaitMs = 2000;
    return passes_.Shutdown(kLastWaitMs);
}

bool MainDialogHost::OnInitDialog() {
    window_.Attach(Hwnd());
    passes_.Attach(Hwnd());
    return dlg_.OnInitDialog();
}

bool MainDialogHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(icon_);
            return true;
        case WM_COMMAND:
            // An entry of a submenu may come as a menu's command (no control, code 0) rather
            // than as a system command; the low ids are the dialog's buttons.
            if (lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) >= IDM_ABOUTBOX)
                return OnSysCommand(LOWORD(wParam));
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_TIMER:
            OnTimer(wParam);
            return false;
        case WM_HSCROLL:
            OnHScroll(reinterpret_cast<HWND>(lParam));
            return false;
        case WM_QUERYENDSESSION:
            // Never hold up a log-off or a shutdown.
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            dlg_.OnEndSession(wParam != FALSE, (lParam & ENDSESSION_CLOSEAPP) != 0);
            result = 0;
            return true;
        case Win32PassRunner::kHandOverMessage:
            passes_.RunHandOvers();
            result = 0;
            return true;
        case WM_HELP:
            // F1: there is no help file, and no box should say so.
            result = TRUE;
            return true;
        default:
            return false;
    }
}

bool MainDialogHost::PreTranslateMessage(MSG& message) {
    // The tools are not subclassed, so this relay is how the tooltip sees the mouse.
    if (HWND tip = window_.ToolTipHandle()) SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    return CDialog::PreTranslateMessage(message);
}

bool MainDialogHost::OnSysCommand(WPARAM command) {
    switch (dlg_.OnSysCommand(static_cast<std::uint32_t>(command))) {
        case CBrumixDlg::SystemCommand::About: {
            CAboutDlg about(Instance());
            about.DoModal(Hwnd());
            return true;
        }
        case CBrumixDlg::SystemCommand::KeepCookies: {
            KeepCookiesHost keep(Instance(), stores_.registry, dlg_);
            keep.DoModal(Hwnd());
            return true;
        }
        case CBrumixDlg::SystemCommand::Handled:
            return true;
        case CBrumixDlg::SystemCommand::Default:
            break;
    }
    return false;
}

bool MainDialogHost::OnPaint() {
    if (!dlg_.OnPaint()) return false;
    PaintScope paint(Hwnd());
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int left = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int top = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.Dc(), left, top, icon_);
    return true;
}

bool MainDialogHost::OnCommand(WORD id, WORD code) {
    switch (id) {
        case IDOK:
            dlg_.OnClearNow();
            return true;
        case IDCANCEL:
            dlg_.OnCancel();
            return true;
        default:
            break;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDC_COOKIES:
            dlg_.OnCookies();
            return true;
        case IDC_TEMP_FILES:
            dlg_.OnTempFiles();
            return true;
        case IDC_HISTORY:
            dlg_.OnHistory();
            return true;
        case IDC_ON_TOP:
            dlg_.OnOnTop();
            return true;
        case IDC_SNIFFER:
            dlg_.OnSniffer();
            return true;
        case IDC_AUTO_CLEAR:
            dlg_.OnAutoClear();
            return true;
        default:
            return false;
    }
}

void MainDialogHost::OnTimer(WPARAM timerId) {
    dlg_.OnTimer(static_cast<std::uintptr_t>(timerId));
}

void MainDialogHost::OnHScroll(HWND control) {
    dlg_.OnIntervalScroll(control != nullptr && control == GetDlgItem(Hwnd(), IDC_INTERVAL));
}
