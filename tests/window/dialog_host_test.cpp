// The main dialog host in a real modal run: keys, clicks, scrolls, timers, paint and the
// system menu reach the right handler, over in-memory stores so nothing real is touched.
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/store_paths.h"
#include "tests/window/dialog_script.h"

namespace {

TEST_F(DialogHostTest, EscapeIsTheCancelCommandThatSavesAndEndsTheRun) {
    EXPECT_EQ(Run({}), IDCANCEL);
    EXPECT_EQ(stores.registry.ValueNames(kSettingsPath).size(), 9u);
}

// The seven values the close writes, by name.
constexpr const char* kChoiceNames[] = {"cached_urls", "cookies", "IE_history", "snifTimer",
                                        "auto_clear",  "timer",   "modal"};

// Log-off and shutdown: the window never holds them up. An ending session keeps the choices
// with the bytes the close writes, and stops the sniffer's two timers.
TEST_F(DialogHostTest, EndingSessionKeepsTheChoicesAsTheCloseDoesAndStopsTheTimers) {
    LRESULT answer = FALSE;
    std::vector<std::vector<std::uint8_t>> atEnd;
    bool sniffTimerLeft = true;
    bool pulseTimerLeft = true;
    Run({
        [](HWND dialog) {
            SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDC_SNIFFER, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDC_AUTO_CLEAR, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) {
            answer = SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            for (const char* name : kChoiceNames) atEnd.push_back(stores.registry.ValueBytes(kSettingsPath, name));
            // KillTimer fails for a timer that no longer runs.
            sniffTimerLeft = KillTimer(dialog, ID_SNIFF_TIMER) != FALSE;
            pulseTimerLeft = KillTimer(dialog, ID_PULSE_TIMER) != FALSE;
            EXPECT_EQ(Check(dialog, IDC_SNIFFER), 1) << "the end of the session changes no control";
        },
    });
    EXPECT_EQ(answer, TRUE);
    EXPECT_FALSE(sniffTimerLeft);
    EXPECT_FALSE(pulseTimerLeft);
    ASSERT_EQ(atEnd.size(), std::size(kChoiceNames));
    EXPECT_EQ(atEnd[2], (std::vector<std::uint8_t>{'1', 0})) << "IE_history";
    EXPECT_EQ(atEnd[3], (std::vector<std::uint8_t>{'1', 0})) << "snifTimer";
    EXPECT_EQ(atEnd[4], (std::vector<std::uint8_t>{'1', 0})) << "auto_clear";
    // The Escape that ended the run is the close, over the same choices.
    for (std::size_t i = 0; i < std::size(kChoiceNames); ++i) {
        EXPECT_EQ(atEnd[i], stores.registry.ValueBytes(kSettingsPath, kChoiceNames[i])) << kChoiceNames[i];
    }
}

// A session end that was called off (wParam FALSE) writes nothing and leaves the sniffer running.
TEST_F(DialogHostTest, CalledOffSessionEndChangesNothing) {
    std::size_t written = 0;
    bool sniffTimerLeft = false;
    Run({
        [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_SNIFFER, BM_CLICK, 0, 0); },
        [&](HWND dialog) {
            SendMessageA(dialog, WM_ENDSESSION, FALSE, 0);
            written = stores.registry.ValueNames(kSettingsPath).size();
            sniffTimerLeft = KillTimer(dialog, ID_SNIFF_TIMER) != FALSE;
        },
    });
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(sniffTimerLeft);
}

// The menu's own loop takes the thread's messages until the menu goes: the request to close
// must end it, or the process lives on (and the installer that asked waits).
TEST_F(DialogHostTest, RequestToCloseWithTheSystemMenuOpenEndsTheRun) {
    bool menuOpen = false;
    const INT_PTR result = Run({
        [](HWND dialog) {
            SetForegroundWindow(dialog);
            PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        },
        Script::Until(
            [&](HWND) {
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                menuOpen = GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0;
                return menuOpen;
            },
            "the system menu open"),
        [](HWND dialog) { SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP); },
        Script::Until([](HWND) { return false; }, "the run ended"),
    });
    EXPECT_TRUE(menuOpen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(stores.registry.ValueNames(kSettingsPath).size(), 9u);
}

TEST_F(DialogHostTest, CloseBoxIsTheCancelCommandToo) {
    EXPECT_EQ(Run({[](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }}), IDCANCEL);
    EXPECT_EQ(stepsRun, 1u);
}

TEST_F(DialogHostTest, ClicksReachTheirBoxesHandlers) {
    std::vector<std::string> seen;
    Run({
        [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0); },
        [&](HWND dialog) {
            seen.push_back(Text(dialog, IDC_STATUS));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_COOKIES)));
            SendDlgItemMessageA(dialog, IDC_COOKIES, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) {
            seen.push_back(Text(dialog, IDC_STATUS));
            SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) {
            seen.push_back(Text(dialog, IDC_STATUS));
            SendDlgItemMessageA(dialog, IDC_ON_TOP, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) {
            EXPECT_EQ(Check(dialog, IDC_ON_TOP), 1);
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
            SendDlgItemMessageA(dialog, IDC_ON_TOP, BM_CLICK, 0, 0);
            EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
            SendDlgItemMessageA(dialog, IDC_SNIFFER, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) {
            seen.push_back(Text(dialog, IDC_STATUS));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_AUTO_CLEAR)));
            SendDlgItemMessageA(dialog, IDC_AUTO_CLEAR, BM_CLICK, 0, 0);
        },
        [&](HWND dialog) { EXPECT_EQ(Check(dialog, IDC_AUTO_CLEAR), 1); },
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"Clear Temporary Files", "Include cookies in Clear ", "Clear IE History",
                                              "Sniffer Timer ON"}));
}

TEST_F(DialogHostTest, EnterIsClearNow) {
    stores.registry.SetText(kTypedUrlsPath, "url1", "http://a.example/");
    stores.registry.SetText(kTypedUrlsPath, "url2", "http://b.example/");
    Run({
        [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0); },
        [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDC_HISTORY), WM_KEYDOWN, VK_RETURN, 0); },
        ClearEnded(),
        [](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_STATUS), "Done!");
            EXPECT_EQ(Text(dialog, IDC_HISTORY_COUNT), "URLs In History: 0");
        },
    });
    EXPECT_TRUE(stores.registry.ValueNames(kTypedUrlsPath).empty());
}

TEST_F(DialogHostTest, OnlyTheSlidersScrollSwitchesTheSnifferOff) {
    Run({
        [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_SNIFFER, BM_CLICK, 0, 0); },
        [](HWND dialog) {
            // A scroll from something that is not the slider, as a stray scroll bar would send.
            SendMessageA(dialog, WM_HSCROLL, SB_LINERIGHT, 0);
            EXPECT_EQ(Check(dialog, IDC_SNIFFER), 1);
            SendDlgItemMessageA(dialog, IDC_INTERVAL, TBM_SETPOS, TRUE, 7);
            SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_INTERVAL)));
            EXPECT_EQ(Check(dialog, IDC_SNIFFER), 0);
            EXPECT_EQ(Text(dialog, IDC_STATUS), "Sniffer Timer OFF");
            EXPECT_EQ(Text(dialog, IDC_SNIFFER), "Sniff: every 7 second(s)");
        },
    });
}

TEST_F(DialogHostTest, TimerTicksReachTheHandler) {
    Run({
        [](HWND dialog) {
            SendMessageA(dialog, WM_TIMER, ID_PULSE_TIMER, 0);
            SendMessageA(dialog, WM_TIMER, ID_PULSE_TIMER, 0);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_GETPOS, 0, 0), 2);
            SendMessageA(dialog, WM_TIMER, 77, 0);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_GETPOS, 0, 0), 2);
        },
    });
}

TEST_F(DialogHostTest, RestoringAMinimisedWindowPaintsTheTitleBack) {
    Run({
        [](HWND dialog) {
            ShowWindow(dialog, SW_MINIMIZE);
            SetWindowTextA(dialog, "t:1-c:2");
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            char title[64] = {};
            GetWindowTextA(dialog, title, sizeof title);
            EXPECT_STREQ(title, "t:1-c:2") << "a minimised paint draws the icon and keeps the counts";
            ShowWindow(dialog, SW_RESTORE);
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            GetWindowTextA(dialog, title, sizeof title);
            EXPECT_STREQ(title, "Win Brumix");
        },
    });
}

TEST_F(DialogHostTest, DragIconIsTheApplicationIcon) {
    Run({
        [](HWND dialog) {
            const LRESULT icon = SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0);
            EXPECT_EQ(reinterpret_cast<HICON>(icon),
                      LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
        },
    });
}

int VisibleThreadWindows() {
    int count = 0;
    for (HWND hwnd : ThreadWindows()) {
        if (IsWindowVisible(hwnd)) ++count;
    }
    return count;
}

// Moves the real pointer to the middle of a window, as the user's mouse does.
void PointAt(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute positions are in 65536ths of the screen.
    input.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

HWND FindToolTipOf(HWND dialog) {
    for (HWND hwnd : ThreadWindows()) {
        char name[64] = {};
        GetClassNameA(hwnd, name, sizeof name);
        if (std::string(name) == TOOLTIPS_CLASSA && GetWindow(hwnd, GW_OWNER) == dialog) return hwnd;
    }
    return nullptr;
}

// The status line takes the mouse, so the relayed move over it names its own tool and the
// tip comes up. A static without SS_NOTIFY lets the mouse through to the dialog: no tip.
TEST_F(DialogHostTest, StatusLineShowsItsTipUnderTheMouse) {
    HWND status = nullptr;
    UINT_PTR shownTool = 0;
    std::vector<Step> steps{[&](HWND dialog) {
        status = GetDlgItem(dialog, IDC_STATUS);
        PointAt(status);
    }};
    // About two seconds of ticks; the tip waits for the double-click time before it shows.
    steps.insert(steps.end(), 60, [&](HWND dialog) {
        const HWND tip = FindToolTipOf(dialog);
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        if (shownTool == 0 && tip != nullptr && IsWindowVisible(tip) &&
            SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info))) {
            shownTool = info.uId;
        }
    });
    Run(std::move(steps));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(shownTool, reinterpret_cast<UINT_PTR>(status)) << "no tip of the status line showed";
}

TEST_F(DialogHostTest, AboutEntryOpensTheAboutBoxModallyOverTheWindow) {
    HWND about = nullptr;
    bool mainDisabled = false;
    Run({
        [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
        // This and the next step run in the About box's own loop.
        [&](HWND dialog) {
            about = FindThreadWindow("About Win Brumix");
            mainDisabled = !IsWindowEnabled(dialog);
            if (about != nullptr) PostMessageA(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [&](HWND dialog) {
            EXPECT_FALSE(IsWindow(about));
            EXPECT_TRUE(IsWindowEnabled(dialog));
        },
    });
    EXPECT_NE(about, nullptr);
    EXPECT_TRUE(mainDisabled);
}

TEST_F(DialogHostTest, OtherSystemCommandsOpenNoAboutBox) {
    Run({
        [](HWND dialog) {
            PostMessageA(dialog, WM_SYSCOMMAND, 0x0020, 0);
            PostMessageA(dialog, WM_SYSCOMMAND, 0x000F, 0);
        },
        [](HWND) { EXPECT_EQ(FindThreadWindow("About Win Brumix"), nullptr); },
    });
}

TEST_F(DialogHostTest, HelpKeyShowsNothing) {
    int before = 0, after = 0;
    Run({
        [&](HWND dialog) {
            before = VisibleThreadWindows();
            PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_F1, 0);
            HELPINFO help{sizeof(help), HELPINFO_WINDOW, IDOK, GetDlgItem(dialog, IDOK), 0, {0, 0}};
            SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        },
        [&](HWND) { after = VisibleThreadWindows(); },
    });
    EXPECT_EQ(after, before);
    EXPECT_EQ(stepsRun, 2u);
}

}  // namespace
