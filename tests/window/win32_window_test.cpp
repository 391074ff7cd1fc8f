// Win32Window against the program's own main dialog template: each window operation as
// the real controls carry it out.
#include "platform/win32/win32_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/window/message_pump.h"
#include "ui/format_text.h"
#include "ui/system_menu.h"
#include "ui/texts.h"

// So that a failure names the three positions rather than their bytes.
void PrintTo(const ListPlace& place, std::ostream* out) {
    *out << "{top " << place.top << ", caret " << place.caret << ", anchor " << place.anchor << "}";
}

namespace {

// Records what reaches the dialog; handles nothing, so every control behaves by default.
struct Received {
    int scrolls = 0;
    int commands = 0;
    std::vector<WPARAM> timers;
};

INT_PTR CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    auto* received = reinterpret_cast<Received*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (received == nullptr) return FALSE;
    if (message == WM_HSCROLL) ++received->scrolls;
    if (message == WM_COMMAND) ++received->commands;
    if (message == WM_TIMER) received->timers.push_back(wParam);
    return FALSE;
}

class Win32WindowTest : public ::testing::Test {
protected:
    virtual WORD TemplateId() const { return IDD_MAIN; }
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&classes);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(TemplateId()), nullptr, RecordingProc,
                                    reinterpret_cast<LPARAM>(&received));
        ASSERT_NE(dialog, nullptr);
        window.Attach(dialog);
        PumpFor(50);
    }
    void TearDown() override {
        if (dialog != nullptr) DestroyWindow(dialog);
    }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    std::string ItemText(int id) const {
        char text[256] = {};
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }

    Received received;
    Win32Window window{GetModuleHandleA(nullptr), IDR_MAINFRAME, [](int) {}};
    HWND dialog = nullptr;
};

TEST_F(Win32WindowTest, CheckStateChangesOnlyTheBoxAndSurvivesDisabling) {
    EXPECT_EQ(window.GetCheck(IDC_TEMP_FILES), 0);
    window.SetCheck(IDC_TEMP_FILES, 1);
    EXPECT_EQ(window.GetCheck(IDC_TEMP_FILES), 1);
    EXPECT_EQ(SendMessageA(Item(IDC_TEMP_FILES), BM_GETCHECK, 0, 0), BST_CHECKED);

    window.EnableControl(IDC_TEMP_FILES, false);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_TEMP_FILES)));
    EXPECT_EQ(window.GetCheck(IDC_TEMP_FILES), 1);
    window.EnableControl(IDC_COOKIES, true);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_COOKIES)));
    window.SetCheck(IDC_TEMP_FILES, 0);
    EXPECT_EQ(window.GetCheck(IDC_TEMP_FILES), 0);

    PumpFor(50);
    EXPECT_EQ(received.commands, 0) << "setting a check state must run no click handler";
}

TEST_F(Win32WindowTest, ListKeepsItsEntriesSortedWithoutRegardToCaseAndStaysHidden) {
    EXPECT_EQ(window.ListCount(IDC_URL_LIST), 0);
    EXPECT_EQ(window.ListAdd(IDC_URL_LIST, "url2"), 0);
    EXPECT_EQ(window.ListAdd(IDC_URL_LIST, "URL1"), 0);
    EXPECT_EQ(window.ListAdd(IDC_URL_LIST, "url10"), 1);
    EXPECT_EQ(window.ListAdd(IDC_URL_LIST, ""), 0);
    ASSERT_EQ(window.ListCount(IDC_URL_LIST), 4);
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 0), "");
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 1), "URL1");
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 2), "url10");
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 3), "url2");
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 4), "");
    EXPECT_EQ(window.ListText(IDC_URL_LIST, -1), "");
    EXPECT_FALSE(IsWindowVisible(Item(IDC_URL_LIST)));

    window.ListReset(IDC_URL_LIST);
    EXPECT_EQ(window.ListCount(IDC_URL_LIST), 0);
}

TEST_F(Win32WindowTest, ListTextKeepsALongName) {
    const std::string name(600, 'x');
    window.ListAdd(IDC_URL_LIST, name);
    EXPECT_EQ(window.ListText(IDC_URL_LIST, 0), name);
}

// The lists of the "Cookies to keep" dialog: sorted, several sites selected at once.
class Win32KeepListTest : public Win32WindowTest {
protected:
    WORD TemplateId() const override { return IDD_KEEP_COOKIES; }
    // site00.example to site29.example, more than the list shows at once.
    void Fill() {
        for (int index = 0; index < 30; ++index) {
            window.ListAdd(IDC_KEEP_FOUND,
                           "site" + std::string(index < 10 ? "0" : "") + std::to_string(index) + ".example");
        }
    }
};

TEST_F(Win32KeepListTest, DeletingMovesEachSelectionWithItsEntryAndPlacingSelectsNothing) {
    Fill();
    SendMessageA(Item(IDC_KEEP_FOUND), LB_SETSEL, TRUE, 10);
    SendMessageA(Item(IDC_KEEP_FOUND), LB_SETSEL, TRUE, 12);
    window.ListDelete(IDC_KEEP_FOUND, 3);
    EXPECT_EQ(window.ListCount(IDC_KEEP_FOUND), 29);
    EXPECT_EQ(window.ListText(IDC_KEEP_FOUND, 3), "site04.example");
    EXPECT_EQ(window.ListSelection(IDC_KEEP_FOUND), (std::vector<int>{9, 11}));

    window.SetListPlace(IDC_KEEP_FOUND, {8, 11, 9});
    EXPECT_EQ(window.GetListPlace(IDC_KEEP_FOUND), (ListPlace{8, 11, 9}));
    // The caret far below the view scrolls the list to it; the top index has the last word.
    window.SetListPlace(IDC_KEEP_FOUND, {2, 25, 25});
    EXPECT_EQ(window.GetListPlace(IDC_KEEP_FOUND), (ListPlace{2, 25, 25}));
    EXPECT_EQ(window.ListSelection(IDC_KEEP_FOUND), (std::vector<int>{9, 11}));
}

// Two sites that differ only past the list's width can be told apart: the list scrolls sideways
// as far as its widest entry is wide in the list's own font, and no further once it has gone.
TEST_F(Win32KeepListTest, ListScrollsSidewaysAsFarAsItsWidestEntry) {
    const HWND list = Item(IDC_KEEP_LIST);
    const std::string widest = "accounts.login.eu-west-1.signin.bank.example";
    window.ListAdd(IDC_KEEP_LIST, "a.example");
    window.ListAdd(IDC_KEEP_LIST, widest);
    window.ListFitWidth(IDC_KEEP_LIST);

    const HDC dc = GetDC(list);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, widest.c_str(), static_cast<int>(widest.size()), &size);
    SelectObject(dc, before);
    ReleaseDC(list, dc);
    RECT client{};
    GetClientRect(list, &client);
    ASSERT_GT(size.cx, client.right) << "the name must be wider than the list";
    EXPECT_GE(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), size.cx);
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) << "no scroll bar shown";

    window.ListDelete(IDC_KEEP_LIST, window.ListText(IDC_KEEP_LIST, 0) == widest ? 0 : 1);
    ASSERT_EQ(window.ListText(IDC_KEEP_LIST, 0), "a.example");
    window.ListFitWidth(IDC_KEEP_LIST);
    EXPECT_LT(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) << "a scroll bar for nothing";
}

TEST_F(Win32WindowTest, SliderClampsToItsRangeAndSendsNoScrollNotification) {
    window.SliderSetRange(IDC_INTERVAL, 1, 60);
    EXPECT_EQ(SendMessageA(Item(IDC_INTERVAL), TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(Item(IDC_INTERVAL), TBM_GETRANGEMAX, 0, 0), 60);
    window.SliderSetPos(IDC_INTERVAL, 2);
    EXPECT_EQ(window.SliderGetPos(IDC_INTERVAL), 2);
    window.SliderSetPos(IDC_INTERVAL, -1);
    EXPECT_EQ(window.SliderGetPos(IDC_INTERVAL), 1);
    window.SliderSetPos(IDC_INTERVAL, 0);
    EXPECT_EQ(window.SliderGetPos(IDC_INTERVAL), 1);
    window.SliderSetPos(IDC_INTERVAL, 61);
    EXPECT_EQ(window.SliderGetPos(IDC_INTERVAL), 60);
    PumpFor(50);
    EXPECT_EQ(received.scrolls, 0);
}

TEST_F(Win32WindowTest, ProgressBarTakesItsRangeInOneArgument) {
    window.ProgressSetRange(IDC_PROGRESS, 0, 60);
    PBRANGE range{};
    SendMessageA(Item(IDC_PROGRESS), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 60);
    window.ProgressSetPos(IDC_PROGRESS, 37);
    EXPECT_EQ(SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0), 37);
    window.ProgressSetPos(IDC_PROGRESS, 0);
    EXPECT_EQ(SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0), 0);
}

TEST_F(Win32WindowTest, TopmostChangesTheZOrderBandOnly) {
    RECT before{}, after{};
    GetWindowRect(dialog, &before);
    // An owned tooltip is what trips Wine's z-order up.
    window.CreateToolTips({{IDOK, "C L E A R   N O W"}});
    window.SetTopmost(true);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window.ToolTipHandle(), GW_OWNER), dialog);
    window.SetTopmost(false);
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    GetWindowRect(dialog, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(Win32WindowTest, TimersTickUntilStoppedAndRestartWithANewPeriod) {
    window.StartTimer(ID_PULSE_TIMER, 20);
    EXPECT_TRUE(PumpUntil([&] { return received.timers.size() >= 3; }, 3000));
    for (WPARAM id : received.timers) EXPECT_EQ(id, static_cast<WPARAM>(ID_PULSE_TIMER));

    window.StartTimer(ID_PULSE_TIMER, 60000);
    received.timers.clear();
    PumpFor(300);
    EXPECT_TRUE(received.timers.empty()) << "restarting must replace the 20 ms period";

    window.StartTimer(ID_SNIFF_TIMER, 20);
    window.StopTimer(ID_SNIFF_TIMER);
    window.StopTimer(ID_PULSE_TIMER);
    window.StopTimer(ID_PULSE_TIMER);
    PumpFor(300);
    EXPECT_TRUE(received.timers.empty());
}

TEST_F(Win32WindowTest, SystemMenuLosesSizeAndMaximizeAndTakesTheAboutEntryAndTheOptionsAfterIt) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    ASSERT_NE(menu, nullptr);
    window.AddAboutToSystemMenu("&About Win Brumix...", IDM_ABOUTBOX);
    EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));

    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Win Brumix...");
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);

    window.AddSystemMenuEntry("Clear &visited pages with the history", IDM_VISITED);
    EXPECT_EQ(GetMenuItemID(menu, count), static_cast<UINT>(IDM_VISITED)) << "after the About entry";
    window.CheckSystemMenuEntry(IDM_VISITED, true);
    EXPECT_EQ(GetMenuState(menu, IDM_VISITED, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    window.CheckSystemMenuEntry(IDM_VISITED, false);
    EXPECT_EQ(GetMenuState(menu, IDM_VISITED, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

// By command, the menu functions reach into the submenu: its entries are checked and greyed there.
TEST_F(Win32WindowTest, SubmenuAfterTheOptionsTakesItsEntriesCheckedAndGreyedByCommand) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    ASSERT_NE(menu, nullptr);
    window.AddAboutToSystemMenu("&About Win Brumix...", IDM_ABOUTBOX);
    window.AddSystemMenuEntry("Cookies to &keep...", IDM_KEEP_COOKIES);
    const int count = GetMenuItemCount(menu);
    window.AddSystemSubmenu("Other &browsers", {{"Microsoft &Edge", 0x100}, {"Google &Chrome", 0x110}});
    ASSERT_EQ(GetMenuItemCount(menu), count + 1);
    HMENU popup = GetSubMenu(menu, count);
    ASSERT_NE(popup, nullptr) << "the last entry opens a submenu";
    char text[64] = {};
    GetMenuStringA(menu, count, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Other &browsers");
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 1), 0x110u);
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Google &Chrome");

    window.CheckSystemMenuEntry(0x110, true);
    window.EnableSystemMenuEntry(0x110, false);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0x110, FALSE, &info));
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_TRUE(info.fState & MFS_GRAYED) << "checked and greyed at once";
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0x100, FALSE, &info));
    EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_GRAYED), 0u);
    window.EnableSystemMenuEntry(0x110, true);
    window.CheckSystemMenuEntry(0x110, false);
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0x110, FALSE, &info));
    EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_GRAYED), 0u);
}

// Every line a clear can leave on the status line fits the control as its font draws it: each
// browser's name, and the widest with the most browsers after it.
TEST_F(Win32WindowTest, EveryClearOutcomeFitsTheStatusLine) {
    const HWND status = Item(IDC_STATUS);
    RECT client{};
    ASSERT_TRUE(GetClientRect(status, &client));
    const HDC dc = GetDC(status);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0)));
    std::vector<std::string> lines{kStatusDone, kStatusCookiesHeld};
    const int others = static_cast<int>(std::size(kBrowserMenuEntries)) - 1;
    for (const BrowserMenuEntry& entry : kBrowserMenuEntries) {
        std::string name = entry.label;
        std::erase(name, '&');
        lines.push_back(FormatText(kStatusCloseBrowserFormat, name));
        lines.push_back(FormatText(kStatusCloseBrowsersFormat, name, others));
        lines.push_back(FormatText(kStatusLayoutUnknownFormat, name));
    }
    for (const std::string& line : lines) {
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size));
        EXPECT_LE(size.cx, client.right - client.left) << line;
    }
    SelectObject(dc, before);
    ReleaseDC(status, dc);
}

TEST_F(Win32WindowTest, IconsAreTheApplicationIconAtBothSizes) {
    window.SetWindowIcons();
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
    const auto smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(bigIcon, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    const auto widthOf = [](HICON icon) {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info)) return 0;
        BITMAP bitmap{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return static_cast<int>(bitmap.bmWidth);
    };
    EXPECT_EQ(widthOf(bigIcon), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(widthOf(smallIcon), GetSystemMetrics(SM_CXSMICON));
}

// The small icon is the window object's own: set again, the old one is freed; it lives as long
// as the object and no longer. A shared icon would survive both, never freed.
TEST_F(Win32WindowTest, SmallIconIsFreedWhenReplacedAndWithItsWindowObject) {
    const auto smallIcon = [&] { return reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0)); };
    const auto alive = [](HICON icon) {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info)) return false;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return true;
    };
    HICON first = nullptr;
    HICON second = nullptr;
    {
        Win32Window other(GetModuleHandleA(nullptr), IDR_MAINFRAME, [](int) {});
        other.Attach(dialog);
        other.SetWindowIcons();
        first = smallIcon();
        ASSERT_TRUE(alive(first));
        other.SetWindowIcons();
        second = smallIcon();
        ASSERT_NE(second, first);
        EXPECT_TRUE(alive(second));
        EXPECT_FALSE(alive(first)) << "the replaced small icon was not freed";
    }
    EXPECT_FALSE(alive(second)) << "the small icon outlived its window object";
    window.SetWindowIcons();
    EXPECT_TRUE(alive(smallIcon()));
}

TEST_F(Win32WindowTest, LoadsTheAboutEntryTextAndNothingForAnUnknownId) {
    EXPECT_EQ(window.LoadText(IDS_ABOUTBOX), "&About Win Brumix...");
    EXPECT_EQ(window.LoadText(4321), "");
}

TEST_F(Win32WindowTest, ApplicationNameIsTheExecutableWithoutItsExtension) {
    EXPECT_EQ(window.ApplicationName(), "brumix_window_tests");
}

TEST_F(Win32WindowTest, ToolTipsCoverEachControlByItsWindowWithoutSubclassing) {
    const HWND button = Item(IDOK);
    const LONG_PTR procBefore = GetWindowLongPtrA(button, GWLP_WNDPROC);
    window.CreateToolTips(
        {{IDOK, "C L E A R   N O W"}, {IDC_COOKIES, "Clears Temporary Internet Files & Cookies too"}});
    const HWND tip = window.ToolTipHandle();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), dialog);
    EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_NOPREFIX), 0);
    EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), procBefore);
    ASSERT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    const int ids[] = {IDOK, IDC_COOKIES};
    const char* texts[] = {"C L E A R   N O W", "Clears Temporary Internet Files & Cookies too"};
    for (int i = 0; i < 2; ++i) {
        char text[128] = {};
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.lpszText = text;
        ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info)));
        EXPECT_TRUE(info.uFlags & TTF_IDISHWND);
        EXPECT_FALSE(info.uFlags & TTF_SUBCLASS);
        EXPECT_EQ(info.hwnd, dialog);
        EXPECT_EQ(reinterpret_cast<HWND>(info.uId), Item(ids[i]));
        EXPECT_STREQ(text, texts[i]);
    }
}

// A tip changed later: the tool keeps its window, and a long text wraps within the window's width.
TEST_F(Win32WindowTest, ToolTipTakesANewTextThatWraps) {
    window.CreateToolTips({{IDOK, "C L E A R   N O W"}, {IDC_STATUS, "http://www.quellmar.example/"}});
    // Within the 80 characters the tooltip hands back; what it shows is not so bounded.
    const std::string tip(79, 'w');
    window.SetToolTipText(IDC_STATUS, tip);
    char text[512] = {};
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(Item(IDC_STATUS));
    info.lpszText = text;
    SendMessageA(window.ToolTipHandle(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::string(text), tip);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(SendMessageA(window.ToolTipHandle(), TTM_GETMAXTIPWIDTH, 0, 0), frame.right - frame.left);
    EXPECT_EQ(SendMessageA(window.ToolTipHandle(), TTM_GETTOOLCOUNT, 0, 0), 2);
}

// Answers the first message box of the thread with OK, remembering what it showed.
struct BoxSeen {
    HWND owner = nullptr;
    std::string caption;
    std::wstring wideCaption;
};
BoxSeen g_box;
HHOOK g_hook = nullptr;
HWND g_dialog = nullptr;

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && box != g_dialog && g_box.caption.empty()) {
        char caption[128] = {};
        GetWindowTextA(box, caption, sizeof caption);
        wchar_t wideCaption[128] = {};
        GetWindowTextW(box, wideCaption, 128);
        g_box = {GetWindow(box, GW_OWNER), caption, wideCaption};
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Runs show with the hook answering the box it opens; what the box was is in g_box then.
int AnswerBoxOf(HWND dialog, const std::function<int()>& show) {
    g_box = {};
    g_dialog = dialog;
    g_hook = SetWindowsHookExA(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
    if (g_hook == nullptr) return -1;
    const int answer = show();
    UnhookWindowsHookEx(g_hook);
    return answer;
}

TEST_F(Win32WindowTest, MessageBoxIsOwnedByTheWindowAndKeepsItsCaption) {
    EXPECT_EQ(AnswerBoxOf(dialog, [&] { return window.ShowMessageBox("NOT DELETED", "url1", 0); }), IDOK);
    EXPECT_EQ(g_box.owner, dialog);
    EXPECT_EQ(g_box.caption, "url1");
}

// What the user typed comes in UTF-8, whatever the ANSI code page: a box about it shows it whole.
TEST_F(Win32WindowTest, Utf8MessageBoxShowsTextOutsideTheCodePage) {
    EXPECT_EQ(
        AnswerBoxOf(dialog,
                    [&] { return window.ShowMessageBoxUtf8("'\xcc\x88' is no letter", "B\xc3\xbc\xd1\x80o", 0); }),
        IDOK);
    EXPECT_EQ(g_box.owner, dialog);
    EXPECT_EQ(g_box.wideCaption, L"B\u00fc\u0440o");
}

}  // namespace

namespace {

std::string EmbeddedManifest() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes == nullptr ? std::string() : std::string(bytes, SizeofResource(nullptr, found));
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Wine reports every process DPI-aware, so the manifest is checked as the loader finds it.
TEST(Manifest, IsEmbeddedForTheLoaderWithTheProcessSettings) {
    const std::string manifest = EmbeddedManifest();
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(Occurrences(manifest, "level=\"asInvoker\""), 1u);
    EXPECT_EQ(Occurrences(manifest, ">system</dpiAwareness>"), 1u);
    EXPECT_EQ(Occurrences(manifest, "<supportedOS Id="), 4u);
}

TEST(Manifest, KeepsTheClassicCommonControls) {
    EXPECT_EQ(Occurrences(EmbeddedManifest(), "Microsoft.Windows.Common-Controls"), 0u)
        << "version 6 draws the disabled group boxes enabled and clips the check boxes";
}

}  // namespace
