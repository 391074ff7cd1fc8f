// The modal loop and the dialog procedure shared by every dialog of the program.
#include "app/dialog.h"

CDialog::CDialog(HINSTANCE instance, WORD templateId) : instance_(instance), templateId_(templateId) {}

INT_PTR CDialog::DoModal(HWND owner) {
    result_ = -1;
    running_ = true;
    HWND hwnd =
        CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        running_ = false;
        return -1;
    }
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    // A template without WS_VISIBLE is shown here, as DialogBox would.
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);

    MSG message;
    while (running_) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave the quit for the loop that owns the thread.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // The owner is enabled before the dialog goes, or Windows activates some other
    // application's window in between.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return result_;
}

void CDialog::EndModal(INT_PTR result) {
    result_ = result;
    running_ = false;
    // Wakes the loop should the end come from inside a nested loop (a message box).
    if (hwnd_ != nullptr) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool CDialog::PreTranslateMessage(MSG& message) {
    return hwnd_ != nullptr && IsDialogMessageA(hwnd_, &message);
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    // OK, Enter, Escape and the close box end a dialog that does not say otherwise.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndModal(LOWORD(wParam));
        result = 0;
        return true;
    }
    return false;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog() ? TRUE : FALSE;
    INT_PTR result = FALSE;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    // Messages whose answer is the procedure's own return value; every other answer goes
    // through DWLP_MSGRESULT, and the procedure only says that it handled the message.
    switch (message) {
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return result;
        default:
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object and get the default.
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        dialog->running_ = false;
        return FALSE;
    }
    // No exception may unwind through the system's frames. The program's own code throws
    // none; what the library might (bad_alloc) costs this one message and nothing more.
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
