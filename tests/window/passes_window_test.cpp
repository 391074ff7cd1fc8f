// The passes in the real host: they run on the worker while the window's thread answers, and
// what they write reaches the window from its own thread, in the order of the written run.
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "platform/memory/memory_url_cache.h"
#include "res/resource.h"
#include "tests/support/store_paths.h"
#include "tests/window/dialog_script.h"
#include "tests/window/forwarding_url_cache.h"

namespace {

// The in-memory cache, except that a walk waits at its start while the gate is shut, and says
// on which thread it ran.
class GatedUrlCache final : public ForwardingUrlCache {
public:
    explicit GatedUrlCache(UrlCache& inner)
        : ForwardingUrlCache(inner), gate_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}
    ~GatedUrlCache() override { CloseHandle(gate_); }

    void Shut() { ResetEvent(gate_); }
    void Open() { SetEvent(gate_); }
    std::atomic<DWORD> walkThread{0};
    std::atomic<bool> waiting{false};

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override {
        walkThread = GetCurrentThreadId();
        waiting = true;
        WaitForSingleObject(gate_, 20000);
        waiting = false;
        return ForwardingUrlCache::FindFirstEntry(pattern, block, size);
    }

private:
    HANDLE gate_;
};

// Every text set on the window or on one of its counters and status line, in order, and
// whether it came from another thread (a window's text is always set on its own thread, but
// a call from another one arrives as a sent message).
struct TextLog {
    static inline std::vector<std::string> entries;
    static inline bool fromAnotherThread = false;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        if (message == WM_SETTEXT) {
            const int id = GetParent(hwnd) == nullptr ? 0 : GetDlgCtrlID(hwnd);
            entries.push_back(std::to_string(id) + " " + reinterpret_cast<const char*>(lParam));
            if (InSendMessage()) fromAnotherThread = true;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
};

class PassesWindowTest : public DialogHostTest {
protected:
    PassesWindowTest() {
        TextLog::entries.clear();
        TextLog::fromAnotherThread = false;
    }
};

TEST_F(PassesWindowTest, ClearRunsOffTheWindowsThreadWhichWritesItsTextsInTheirOrder) {
    stores.registry.SetText(kTypedUrlsPath, "url1", "http://a/");
    stores.cache.Add("http://a/1.gif");
    stores.cache.Add("Cookie:user@a/", kCookieCacheEntry);
    GatedUrlCache gated(stores.cache);
    PlatformServices services = stores.Services().WithUrlCache(gated);
    bool answeredDuringTheWalk = false;
    Run(services, {
                      CountShown(),
                      [&](HWND dialog) {
                          SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0);
                          SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
                          for (int id : {0, IDC_STATUS, IDC_CACHED_COUNT, IDC_COOKIE_COUNT, IDC_HISTORY_COUNT}) {
                              SetWindowSubclass(id == 0 ? dialog : GetDlgItem(dialog, id), TextLog::Proc, 0, 0);
                          }
                          gated.Shut();
                          SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                      },
                      Script::Until([&](HWND) { return gated.waiting.load(); }, "the clear's walk started"),
                      [&](HWND dialog) {
                          // The walk waits on the worker; the window's thread goes on with its messages.
                          SendMessageA(dialog, WM_TIMER, ID_PULSE_TIMER, 0);
                          answeredDuringTheWalk = SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_GETPOS, 0, 0) == 1 &&
                                                  !IsWindowEnabled(GetDlgItem(dialog, IDOK)) &&
                                                  Text(dialog, IDC_STATUS) != "Done!";
                          gated.Open();
                      },
                      ClearEnded(),
                  });
    EXPECT_TRUE(answeredDuringTheWalk);
    EXPECT_NE(gated.walkThread.load(), GetCurrentThreadId());
    EXPECT_FALSE(TextLog::fromAnotherThread);
    // A repaint afterwards writes the title again; that is not the clear's.
    std::vector<std::string>& entries = TextLog::entries;
    const auto done = std::find(entries.begin(), entries.end(), "1004 Done!");
    if (done != entries.end()) entries.erase(done + 1, entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "1010 URLs In History: 1",
                           "1007 Cached Files: 1",
                           "1008 Cookies: 1",
                           "0 Win Brumix",
                           "1010 URLs In History: 0",
                           "1007 Cached Files: 0",
                           "1008 Cookies: 1",
                           "0 Win Brumix",
                           "1004 Done!",
                       }));
    EXPECT_EQ(stores.cache.Urls(), std::vector<std::string>{"Cookie:user@a/"});
}

// The system asks this program alone to close (an installer needs a file it holds): that is
// the close, which ends the run at once. A log-off keeps the window (see the host tests).
TEST_F(PassesWindowTest, RequestToCloseTheProgramEndsTheRunAsTheCloseDoes) {
    LRESULT answer = FALSE;
    int snifferAfter = -1;
    const INT_PTR result = Run({
        [](HWND dialog) { SendDlgItemMessageA(dialog, IDC_SNIFFER, BM_CLICK, 0, 0); },
        [&](HWND dialog) {
            answer = SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP);
            SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
            snifferAfter = Check(dialog, IDC_SNIFFER);
        },
        [](HWND) { ADD_FAILURE() << "the run went on after the request to close"; },
    });
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(stepsRun, 2u);
    EXPECT_EQ(snifferAfter, 0);
    EXPECT_EQ(stores.registry.ValueBytes(kSettingsPath, "snifTimer"), (std::vector<std::uint8_t>{'1', 0}));
}

// A click on the temporary-files box during a clear enables the cookie box only once the clear
// has ended, as on one thread, where the click would have waited for the clear: ticked again, the
// box stays the clear's; unticked at the end, it ends disabled and unticked.
TEST_F(PassesWindowTest, CookieBoxKeepsTheClearsRuleUntilTheClearEnds) {
    stores.cache.Add("http://a/1.gif");
    GatedUrlCache gated(stores.cache);
    PlatformServices services = stores.Services().WithUrlCache(gated);
    bool enabledWhenTickedAgain = true;
    std::vector<int> atTheEnd;
    Run(services,
        {
            CountShown(),
            [&](HWND dialog) {
                SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0);
                SendDlgItemMessageA(dialog, IDC_COOKIES, BM_CLICK, 0, 0);
                gated.Shut();
                SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            },
            Script::Until([&](HWND) { return gated.waiting.load(); }, "the clear's walk started"),
            [&](HWND dialog) {
                SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0);
                SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0);
                enabledWhenTickedAgain = IsWindowEnabled(GetDlgItem(dialog, IDC_COOKIES)) != FALSE;
                SendDlgItemMessageA(dialog, IDC_TEMP_FILES, BM_CLICK, 0, 0);
                gated.Open();
            },
            ClearEnded(),
            [&](HWND dialog) {
                atTheEnd = {IsWindowEnabled(GetDlgItem(dialog, IDC_COOKIES)) ? 1 : 0, Check(dialog, IDC_COOKIES)};
            },
        });
    EXPECT_FALSE(enabledWhenTickedAgain);
    EXPECT_EQ(atTheEnd, (std::vector<int>{0, 0}));
}

// A key as the keyboard types it: it reaches the control with the focus, or, when none has it,
// the active window as a system key, which the dialog manager does not take.
void Type(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

int FocusedId(HWND dialog) {
    const HWND focus = GetFocus();
    return focus != nullptr && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
}

// The button has the focus when Enter clears; it is disabled during the clear. The keyboard
// works all along: the focus is on a control during the clear, and afterwards Tab moves and
// Escape closes and saves.
TEST_F(PassesWindowTest, KeyboardWorksDuringAndAfterAClearStartedWithEnter) {
    stores.registry.SetText(kTypedUrlsPath, "url1", "http://a/");
    GatedUrlCache gated(stores.cache);
    PlatformServices services = stores.Services().WithUrlCache(gated);
    int focusBefore = -1;
    int focusDuringClear = 0;
    int focusAfterClear = 0;
    int focusAfterTab = 0;
    const INT_PTR result =
        Run(services,
            {
                CountShown(),
                [&](HWND dialog) {
                    SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
                    SetForegroundWindow(dialog);
                    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDOK)), TRUE);
                    focusBefore = FocusedId(dialog);
                    gated.Shut();
                    Type(VK_RETURN);
                },
                Script::Until([&](HWND) { return gated.waiting.load(); }, "the clear's walk started"),
                [&](HWND dialog) {
                    focusDuringClear = FocusedId(dialog);
                    gated.Open();
                },
                Script::Until([](HWND dialog) { return Text(dialog, IDC_STATUS) == "Done!"; }, "the clear ended"),
                [&](HWND dialog) {
                    focusAfterClear = FocusedId(dialog);
                    Type(VK_TAB);
                },
                Script::Until([&](HWND dialog) { return FocusedId(dialog) != focusAfterClear; }, "Tab moved the focus"),
                [&](HWND dialog) {
                    focusAfterTab = FocusedId(dialog);
                    Type(VK_ESCAPE);
                },
                Script::Until([](HWND) { return false; }, "Escape closed the window"),
            });
    EXPECT_EQ(focusBefore, IDOK);
    EXPECT_TRUE(stores.registry.ValueNames(kTypedUrlsPath).empty()) << "Enter cleared";
    EXPECT_NE(focusDuringClear, 0);
    EXPECT_NE(focusAfterClear, 0);
    EXPECT_NE(focusAfterTab, 0);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(stores.registry.ValueBytes(kSettingsPath, "IE_history"), (std::vector<std::uint8_t>{'1', 0}));
}

// The visible message box the dialog owns, or null.
HWND OwnedBox(HWND dialog) {
    for (HWND box : ThreadWindows()) {
        char name[16] = {};
        GetClassNameA(box, name, sizeof name);
        if (box != dialog && IsWindowVisible(box) && GetWindow(box, GW_OWNER) == dialog &&
            std::string(name) == "#32770") {
            return box;
        }
    }
    return nullptr;
}

// The real sorted list box orders by the user's locale: punctuation and accented letters do
// not sort as their bytes do. The boxes, and so the deletions, follow the list box.
TEST_F(PassesWindowTest, BoxesComeInTheOrderOfTheRealListBox) {
    const std::vector<std::string> names{"url1", "url_a", "url-2", "url\xE9"};
    for (const std::string& name : names) {
        stores.registry.SetText(kTypedUrlsPath, name, "http://a/");
        stores.registry.ProtectValue(kTypedUrlsPath, name);
    }
    std::vector<std::string> boxes;
    std::vector<std::string> listed;
    std::vector<Step> steps{CountShown(), [](HWND dialog) {
                                SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
                                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                            }};
    for (std::size_t i = 0; i < names.size(); ++i) {
        steps.push_back(Script::Until([](HWND dialog) { return OwnedBox(dialog) != nullptr; }, "a box"));
        steps.push_back([&](HWND dialog) {
            const HWND box = OwnedBox(dialog);
            char caption[300] = {};
            GetWindowTextA(box, caption, sizeof caption);
            boxes.emplace_back(caption);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    }
    steps.push_back(ClearEnded());
    steps.push_back([&](HWND dialog) {
        const HWND list = GetDlgItem(dialog, IDC_URL_LIST);
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            listed.emplace_back(text);
        }
    });
    Run(std::move(steps));
    ASSERT_EQ(boxes.size(), names.size());
    EXPECT_EQ(boxes, listed);
    // Byte order would put url-2 and url1 before url_a.
    EXPECT_EQ(boxes[0], "url_a");
}

// A close that arrives while a "NOT DELETED" box is open, from inside the box's own loop: the
// pass waits for the box, so the close ends the box and finishes once the pass has stopped.
TEST_F(PassesWindowTest, RequestToCloseInsideTheBoxEndsTheBoxAndThenTheRun) {
    for (const char* name : {"url1", "url2", "url3"}) stores.registry.SetText(kTypedUrlsPath, name, "http://a/");
    stores.registry.ProtectValue(kTypedUrlsPath, "url1");
    const INT_PTR result = Run({
        CountShown(),
        [](HWND dialog) {
            SendDlgItemMessageA(dialog, IDC_HISTORY, BM_CLICK, 0, 0);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        Script::Until([](HWND) { return FindThreadWindow("url1") != nullptr; }, "the box for url1"),
        [](HWND dialog) { SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP); },
        Script::Until([](HWND) { return false; }, "the run did not end"),
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(stepsRun, 4u);
    EXPECT_EQ(stores.registry.ValueNames(kTypedUrlsPath).size(), 3u) << "no deletion after the request";
    EXPECT_EQ(stores.registry.ValueNames(kSettingsPath).size(), 9u);
}

}  // namespace
