// The window operations as the Win32 messages and calls that fix their meaning.
#include "platform/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"

namespace {

// What LoadStringA can fill; the About entry is far shorter.
constexpr int kStringBufferChars = 256;

bool OwnedBy(HWND window, HWND owner) {
    for (HWND up = GetWindow(window, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
        if (up == owner) return true;
    }
    return false;
}

// A named CALLBACK, not a lambda: on i686 the enumeration calls it as stdcall.
BOOL CALLBACK CancelOwnedDialog(HWND window, LPARAM owner) {
    char name[16] = {};
    // Message boxes and dialogs are of the dialog class; the tooltip, also owned, is not. A box
    // that a dialog of the window's shows is owned by that dialog, and holds the thread as long.
    if (OwnedBy(window, reinterpret_cast<HWND>(owner)) && GetClassNameA(window, name, sizeof name) > 0 &&
        std::string(name) == "#32770") {
        // Cancel, not OK: a dialog of the program's own changes nothing when it is dismissed.
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
    }
    return TRUE;
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance, WORD iconId, EndHandler onEnd)
    : instance_(instance), iconId_(iconId), onEnd_(std::move(onEnd)) {}

LRESULT Win32Window::SendToItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
}

int Win32Window::GetCheck(int id) {
    return static_cast<int>(SendToItem(id, BM_GETCHECK, 0, 0));
}

void Win32Window::SetCheck(int id, int state) {
    SendToItem(id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Win32Window::EnableControl(int id, bool enable) {
    EnableWindow(GetDlgItem(dialog_, id), enable ? TRUE : FALSE);
}

void Win32Window::SetControlText(int id, const std::string& text) {
    SetDlgItemTextA(dialog_, id, text.c_str());
}

// In UTF-16 from the control, so that a name typed outside the code page survives.
std::string Win32Window::GetControlText(int id) {
    const HWND control = GetDlgItem(dialog_, id);
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, wide.data(), length + 1);
    if (copied <= 0) return {};
    return WideToUtf8(std::wstring_view(wide.data(), static_cast<std::size_t>(copied)));
}

void Win32Window::SetTitle(const std::string& text) {
    SetWindowTextA(dialog_, text.c_str());
}

void Win32Window::ShowControl(int id, bool show) {
    ShowWindow(GetDlgItem(dialog_, id), show ? SW_SHOW : SW_HIDE);
}

KeyboardFocus Win32Window::Focus() {
    KeyboardFocus focus;
    focus.windowActive = GetActiveWindow() == dialog_;
    const HWND focused = GetFocus();
    if (focused != nullptr && IsChild(dialog_, focused)) focus.controlId = GetDlgCtrlID(focused);
    return focus;
}

// WM_NEXTDLGCTL rather than SetFocus: the dialog manager also moves the default button's
// border with it.
void Win32Window::MoveFocusOn() {
    SendMessageA(dialog_, WM_NEXTDLGCTL, 0, FALSE);
}

void Win32Window::FocusControl(int id) {
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)), TRUE);
}

void Win32Window::ListReset(int id) {
    SendToItem(id, LB_RESETCONTENT, 0, 0);
}

int Win32Window::ListAdd(int id, const std::string& text) {
    return static_cast<int>(SendToItem(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void Win32Window::ListDelete(int id, int index) {
    SendToItem(id, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int Win32Window::ListCount(int id) {
    return static_cast<int>(SendToItem(id, LB_GETCOUNT, 0, 0));
}

std::string Win32Window::ListText(int id, int index) {
    const LRESULT length = SendToItem(id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendToItem(id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == LB_ERR) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(copied));
}

std::vector<int> Win32Window::ListSelection(int id) {
    const LRESULT count = SendToItem(id, LB_GETSELCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0) return {};
    std::vector<int> selected(static_cast<std::size_t>(count));
    const LRESULT got =
        SendToItem(id, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return selected;
}

ListPlace Win32Window::GetListPlace(int id) {
    ListPlace place;
    place.top = static_cast<int>(SendToItem(id, LB_GETTOPINDEX, 0, 0));
    place.caret = static_cast<int>(SendToItem(id, LB_GETCARETINDEX, 0, 0));
    place.anchor = static_cast<int>(SendToItem(id, LB_GETANCHORINDEX, 0, 0));
    return place;
}

// The caret first: moving it scrolls the view to it, which the top index then puts right.
void Win32Window::SetListPlace(int id, const ListPlace& place) {
    SendToItem(id, LB_SETCARETINDEX, static_cast<WPARAM>(place.caret), FALSE);
    SendToItem(id, LB_SETANCHORINDEX, static_cast<WPARAM>(place.anchor), 0);
    SendToItem(id, LB_SETTOPINDEX, static_cast<WPARAM>(place.top), 0);
}

// A list box does not follow its entries' width by itself. Each entry is measured in UTF-16
// with the list's own font, as the list draws it, and an average character more for the margin
// it draws it in, so that the last character clears the border.
void Win32Window::ListFitWidth(int id) {
    const HWND list = GetDlgItem(dialog_, id);
    const HDC dc = GetDC(list);
    if (dc == nullptr) return;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    const HGDIOBJ systemFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    LONG widest = 0;
    std::wstring text;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR) continue;
        text.assign(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        if (copied != LB_ERR && GetTextExtentPoint32W(dc, text.data(), static_cast<int>(copied), &size)) {
            widest = std::max(widest, size.cx);
        }
    }
    TEXTMETRICW metrics{};
    const LONG margin = GetTextMetricsW(dc, &metrics) ? metrics.tmAveCharWidth : 0;
    if (systemFont != nullptr) SelectObject(dc, systemFont);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest > 0 ? static_cast<WPARAM>(widest + margin) : 0, 0);
}

void Win32Window::SliderSetRange(int id, int minimum, int maximum) {
    SendToItem(id, TBM_SETRANGEMIN, FALSE, minimum);
    SendToItem(id, TBM_SETRANGEMAX, FALSE, maximum);
}

void Win32Window::SliderSetPos(int id, int position) {
    SendToItem(id, TBM_SETPOS, TRUE, position);
}

int Win32Window::SliderGetPos(int id) {
    return static_cast<int>(SendToItem(id, TBM_GETPOS, 0, 0));
}

void Win32Window::ProgressSetRange(int id, int low, int high) {
    SendToItem(id, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void Win32Window::ProgressSetPos(int id, int position) {
    SendToItem(id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int Win32Window::ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) {
    return MessageBoxA(dialog_, text.c_str(), caption.c_str(), style);
}

int Win32Window::ShowMessageBoxUtf8(const std::string& text, const std::string& caption, std::uint32_t style) {
    return MessageBoxW(dialog_, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), style);
}

void Win32Window::DismissMessageBoxes() {
    EnumThreadWindows(GetCurrentThreadId(), CancelOwnedDialog, reinterpret_cast<LPARAM>(dialog_));
}

// A menu's or a move's loop runs inside the message that started it and takes the thread's
// messages until it ends: the dialog's loop, which a close has ended, would never look again.
void Win32Window::CancelModes() {
    EndMenu();
    SendMessageA(dialog_, WM_CANCELMODE, 0, 0);
}

std::string Win32Window::ApplicationName() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

bool Win32Window::IsMinimised() {
    return IsIconic(dialog_) != FALSE;
}

void Win32Window::SetTopmost(bool topmost) {
    SetWindowPos(dialog_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const bool isTopmost = (GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!topmost || isTopmost || toolTip_ == nullptr) return;
    // Wine lifts the owned popups (the tooltip) into the topmost band and then slots the
    // window in after them, which leaves it out of that band. An owner without owned
    // windows moves as asked, so the tooltip is disowned for the one move.
    SetWindowLongPtrA(toolTip_, GWLP_HWNDPARENT, 0);
    SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(toolTip_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(dialog_));
}

void Win32Window::StartTimer(std::uint32_t id, std::uint32_t periodMs) {
    SetTimer(dialog_, id, periodMs, nullptr);
}

void Win32Window::StopTimer(std::uint32_t id) {
    KillTimer(dialog_, id);
}

std::string Win32Window::LoadText(std::uint32_t stringId) {
    char buffer[kStringBufferChars] = {};
    const int length = LoadStringA(instance_, stringId, buffer, kStringBufferChars);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void Win32Window::AddAboutToSystemMenu(const std::string& text, std::uint32_t commandId) {
    HMENU menu = GetSystemMenu(dialog_, FALSE);
    if (menu == nullptr) return;
    // A fixed-size window has nothing to size or maximise.
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, commandId, text.c_str());
}

void Win32Window::AddSystemMenuEntry(const std::string& text, std::uint32_t commandId) {
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) AppendMenuA(menu, MF_STRING, commandId, text.c_str());
}

// The system menu owns the popup once it is appended, and destroys it with itself.
void Win32Window::AddSystemSubmenu(const std::string& text, const std::vector<MenuItem>& entries) {
    HMENU menu = GetSystemMenu(dialog_, FALSE);
    if (menu == nullptr) return;
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) return;
    for (const MenuItem& entry : entries) AppendMenuA(popup, MF_STRING, entry.commandId, entry.text.c_str());
    if (!AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), text.c_str())) DestroyMenu(popup);
}

// By command, the menu functions look into the submenus too.
void Win32Window::CheckSystemMenuEntry(std::uint32_t commandId, bool checked) {
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        CheckMenuItem(menu, commandId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void Win32Window::EnableSystemMenuEntry(std::uint32_t commandId, bool enable) {
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

void Win32Window::SetWindowIcons() {
    // The large icon is the module's shared one, at the size LoadIcon caches. The small one
    // is not shared: the shared cache hands back the first image loaded under a name, whatever
    // size is asked, which would be the 32-pixel one shrunk instead of the 16-pixel one drawn
    // for that size. Loaded on its own, it is the window's to destroy.
    HICON largeIcon =
        static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconId_), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    OwnedIcon smallIcon(
        static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconId_), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
    SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // The one shown before goes only now that the window no longer uses it.
    smallIcon_ = std::move(smallIcon);
}

void Win32Window::CreateToolTips(const std::vector<ToolTip>& tips) {
    if (toolTip_ != nullptr) DestroyWindow(toolTip_);
    // No TTS_ALWAYSTIP: tips show only while the window is active. No TTS_NOPREFIX: an
    // ampersand in a tip is a mnemonic marker and is not shown.
    toolTip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, dialog_, nullptr, instance_, nullptr);
    if (toolTip_ == nullptr) return;
    SendMessageA(toolTip_, TTM_ACTIVATE, TRUE, 0);
    for (const ToolTip& tip : tips) {
        TOOLINFOA info = {};
        // The version-2 size is accepted by every comctl32 since 4.70, with or without the
        // version-6 manifest; the full size of newer headers makes version 5 refuse the tool.
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        // Registered by the control's window and covering all of it. No TTF_SUBCLASS: the
        // tooltip hears of the mouse only through the dialog host's relay.
        info.uFlags = TTF_IDISHWND;
        info.hwnd = dialog_;
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, tip.controlId));
        info.hinst = instance_;
        info.lpszText = const_cast<char*>(tip.text.c_str());
        SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

// A tip is one line unless the tooltip has a width to wrap at: the window's own, so that a long
// one stays beside it.
void Win32Window::SetToolTipText(int controlId, const std::string& text) {
    if (toolTip_ == nullptr) return;
    RECT frame{};
    if (GetWindowRect(dialog_, &frame)) SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, frame.right - frame.left);
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = dialog_;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, controlId));
    info.hinst = instance_;
    info.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(toolTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Window::EndDialog(int result) {
    if (onEnd_) onEnd_(result);
}
