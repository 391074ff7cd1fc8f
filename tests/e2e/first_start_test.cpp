// First start with no settings: the whole window against its control table, the About box, the close.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "res/version.h"
#include "tests/e2e/dialog_layout.h"
#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

enum class Kind { kPushButton, kCheckBox, kPushLikeCheckBox, kText, kIcon, kList, kSlider, kProgress, kGroup };

struct ExpectedControl {
    int id;  // 0 for a group box, which has none and is known by its caption
    Kind kind;
    DialogUnits at;
    const char* text;  // nullptr: not compared here
    bool enabled;
    bool visible;
};

// The window after the first count with 4 cached files, 2 cookie domains and 3 typed addresses,
// in the template's order.
const ExpectedControl kMainWindow[] = {
    {IDOK, Kind::kPushButton, {105, 58, 75, 20}, "BRUMIX", true, true},
    {IDC_STATUS, Kind::kText, {2, 81, 161, 9}, kWelcome, true, true},
    {IDC_COOKIES, Kind::kCheckBox, {16, 19, 71, 8}, "Including Cookies", false, true},
    {IDC_URL_LIST, Kind::kList, {107, 63, 23, 9}, nullptr, true, false},
    {IDC_TEMP_FILES, Kind::kCheckBox, {5, 10, 92, 8}, "Temporary Internet Files", true, true},
    {IDC_HISTORY, Kind::kCheckBox, {5, 30, 92, 8}, "Internet Explorer History", true, true},
    {IDC_CACHED_COUNT, Kind::kText, {5, 50, 92, 8}, "Cached Files: 4", true, true},
    {IDC_COOKIE_COUNT, Kind::kText, {5, 59, 92, 8}, "Cookies: 2", true, true},
    {IDC_HISTORY_COUNT, Kind::kText, {5, 68, 92, 8}, "URLs In History: 3", true, true},
    {IDC_SNIFFER, Kind::kCheckBox, {106, 9, 98, 8}, "Sniff: every 1 second(s)", true, true},
    {0, Kind::kGroup, {2, 41, 99, 38}, "Found:", false, true},
    {IDC_INTERVAL, Kind::kSlider, {106, 29, 98, 11}, nullptr, true, true},
    {0, Kind::kGroup, {2, 0, 99, 40}, "Clear  Selection", false, true},
    {0, Kind::kGroup, {103, 0, 103, 54}, "Auto functions", false, true},
    {IDC_ON_TOP, Kind::kPushLikeCheckBox, {167, 81, 39, 10}, "On Top", true, true},
    {IDC_CLEAN_MARK, Kind::kIcon, {183, 58, 21, 20}, nullptr, true, false},
    {IDC_FOUND_MARK, Kind::kIcon, {183, 58, 21, 20}, nullptr, true, true},
    {IDC_PROGRESS, Kind::kProgress, {106, 43, 98, 6}, nullptr, true, true},
    {IDC_AUTO_CLEAR, Kind::kCheckBox, {106, 18, 98, 9}, "Auto clear when Minimized", false, true},
};

bool Sunken(const ChildInfo& child) {
    return (child.style & SS_SUNKEN) || (child.exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE));
}

// What the table says about a control's kind, in its class and style bits; empty when it fits.
std::string KindMismatch(const ChildInfo& child, Kind kind) {
    const LONG buttonType = child.style & BS_TYPEMASK;
    switch (kind) {
        case Kind::kPushButton:
            if (child.className == "Button" && (buttonType == BS_PUSHBUTTON || buttonType == BS_DEFPUSHBUTTON))
                return {};
            break;
        case Kind::kCheckBox:
            if (child.className == "Button" && buttonType == BS_AUTOCHECKBOX && !(child.style & BS_PUSHLIKE)) return {};
            break;
        case Kind::kPushLikeCheckBox:
            if (child.className == "Button" && buttonType == BS_AUTOCHECKBOX && (child.style & BS_PUSHLIKE)) return {};
            break;
        case Kind::kText:
            if (child.className == "Static" && (child.style & SS_TYPEMASK) != SS_ICON) return {};
            break;
        case Kind::kIcon:
            if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON && Sunken(child)) return {};
            break;
        case Kind::kList: {
            const LONG wanted = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP | WS_VSCROLL;
            // The dialog manager turns a control's WS_BORDER into a client edge in a 3-D dialog.
            const bool border = (child.style & WS_BORDER) || (child.exStyle & WS_EX_CLIENTEDGE);
            if (child.className == "ListBox" && (child.style & wanted) == wanted && border) return {};
            break;
        }
        case Kind::kSlider:
            if (child.className == "msctls_trackbar32" && (child.style & TBS_NOTICKS) && (child.style & TBS_BOTH) &&
                !(child.style & TBS_VERT))
                return {};
            break;
        case Kind::kProgress:
            if (child.className == "msctls_progress32" && (child.style & PBS_SMOOTH)) return {};
            break;
        case Kind::kGroup:
            if (child.className == "Button" && buttonType == BS_GROUPBOX && (child.style & BS_CENTER) == BS_CENTER)
                return {};
            break;
    }
    char style[16];
    std::snprintf(style, sizeof style, "%08lx", static_cast<unsigned long>(child.style));
    return "class " + child.className + ", style " + style;
}

std::string Label(const ExpectedControl& expected) {
    return expected.id ? "control " + std::to_string(expected.id) : "group box \"" + std::string(expected.text) + "\"";
}

class FirstStart : public E2eTest {};

TEST_F(FirstStart, WindowMatchesTheControlTableAfterTheFirstCount) {
    SeedTypedUrls({"url1", "url2", "url10"});
    SeedCacheFiles(4);
    SeedCookieDomains(2);
    ExpectCensus(4, 2);
    ASSERT_TRUE(app.Start());

    HWND main = app.Main();
    EXPECT_EQ(app.Title(), "Win Brumix");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(main, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW) << "shown on the taskbar";
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);

    std::optional<BaseUnits> base = BaseUnitsOf(main, 210, 92);
    ASSERT_TRUE(base) << "no dialog base units give a client area of 210 x 92 units";

    std::vector<ChildInfo> children = Children(main);
    ASSERT_EQ(children.size(), std::size(kMainWindow)) << "number of controls in the window";
    for (size_t i = 0; i < children.size(); ++i) {
        const ChildInfo& child = children[i];
        const ExpectedControl& expected = kMainWindow[i];
        SCOPED_TRACE(Label(expected) + " at template position " + std::to_string(i));
        if (expected.id) {
            EXPECT_EQ(child.id, expected.id);
        } else {
            EXPECT_EQ(child.text, expected.text);
        }
        EXPECT_EQ(KindMismatch(child, expected.kind), "");
        if (expected.text) {
            EXPECT_EQ(child.text, expected.text);
        }
        EXPECT_EQ(IsWindowEnabled(child.window) != FALSE, expected.enabled) << "enabled";
        EXPECT_EQ(IsWindowVisible(child.window) != FALSE, expected.visible) << "visible";
        RECT shown = RectInParent(child.window);
        RECT wanted = ToPixels(expected.at, *base);
        if (expected.kind == Kind::kIcon) {
            // An icon static sizes itself to its icon; only its place is the template's.
            EXPECT_EQ(shown.left, wanted.left);
            EXPECT_EQ(shown.top, wanted.top);
        } else {
            EXPECT_TRUE(EqualRect(&shown, &wanted)) << Describe(shown) << " instead of " << Describe(wanted);
        }
        if (expected.kind == Kind::kCheckBox || expected.kind == Kind::kPushLikeCheckBox) {
            EXPECT_EQ(app.Check(expected.id), BST_UNCHECKED);
        }
        if (expected.id == IDC_STATUS) {
            EXPECT_EQ(child.style & (SS_CENTER | SS_CENTERIMAGE), SS_CENTER | SS_CENTERIMAGE) << "centred both ways";
            EXPECT_TRUE(Sunken(child));
        }
    }

    EXPECT_EQ(app.SliderPos(), 1) << "no stored interval moves the slider to its minimum";
    EXPECT_EQ(app.Send(IDC_INTERVAL, TBM_GETRANGEMIN), 1);
    EXPECT_EQ(app.Send(IDC_INTERVAL, TBM_GETRANGEMAX), 60);
    EXPECT_EQ(app.Send(IDC_PROGRESS, PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(app.Send(IDC_PROGRESS, PBM_GETRANGE, FALSE), 60);
    // With the sniffer off nothing drives the heartbeat.
    EXPECT_FALSE(WaitUntil([&] { return app.ProgressPos() != 0; }, Millis(500)));

    // The hidden scratch list holds the typed names in the list box's own sorted order.
    ASSERT_EQ(app.Send(IDC_URL_LIST, LB_GETCOUNT), 3);
    std::vector<std::string> listed;
    for (int i = 0; i < 3; ++i) {
        // Wine hands a list box's text to another process unconverted, so ask in UTF-16.
        wchar_t name[300] = {};
        DWORD_PTR length = 0;
        ASSERT_TRUE(SendMessageTimeoutW(app.Control(IDC_URL_LIST), LB_GETTEXT, i, reinterpret_cast<LPARAM>(name),
                                        SMTO_ABORTIFHUNG, 5000, &length));
        listed.emplace_back(name, name + std::min<size_t>(length, 299));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"url1", "url10", "url2"}));

    // One tooltip control for the window, with a tool for each of the eight controls.
    int tooltips = 0;
    for (HWND window : app.TopLevelWindows()) {
        if (ClassOf(window) != TOOLTIPS_CLASSA) continue;
        ++tooltips;
        DWORD_PTR tools = 0;
        EXPECT_TRUE(SendMessageTimeoutA(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &tools));
        EXPECT_EQ(tools, 8u) << "tools registered";
    }
    EXPECT_EQ(tooltips, 1);

    // Counting deletes nothing.
    ExpectCensus(4, 2);
    EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 3u);

    ASSERT_TRUE(app.Close());
}

// The About box: opened by the system-menu entry's command (low four bits ignored), closed with OK.
TEST_F(FirstStart, AboutBoxOpensFromTheSystemMenuAndClosesWithOk) {
    ASSERT_TRUE(app.Start());
    std::optional<BaseUnits> base = BaseUnitsOf(app.Main(), 210, 92);
    ASSERT_TRUE(base);
    for (WPARAM command : {WPARAM{0x10}, WPARAM{0x1F}}) {
        SCOPED_TRACE("system command " + std::to_string(command));
        ASSERT_TRUE(PostMessageA(app.Main(), WM_SYSCOMMAND, command, 0));
        HWND about = app.WaitForBox("About Win Brumix");
        ASSERT_TRUE(about) << "no About box";
        EXPECT_EQ(GetWindow(about, GW_OWNER), app.Main());
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(app.Main()); }, Millis(2000)))
            << "the About box must be modal";

        struct Line {
            const char* className;
            const char* text;  // nullptr: not compared
            DialogUnits at;
            bool enabled;
        };
        const Line kAbout[] = {
            {"Static", nullptr, {7, 0, 21, 20}, true},
            // The version line's number comes from the version record: major.minor of res/version.h.
            {"Static",
             "Win Brumix Version " BRUMIX_VERSION_STRINGIZE(BRUMIX_VERSION_MAJOR.BRUMIX_VERSION_MINOR),
             {42, 6, 75, 8},
             true},
            {"Static", nullptr, {14, 19, 156, 8}, true},
            {"Button", "OK", {134, 2, 45, 14}, true},
            {"Static", "URL's in History are updated every time you unload IE", {7, 76, 172, 9}, false},
            {"Static",
             "LPINTERNET_CACHE_ENTRY_INFO \nFindFirstUrlCacheEntry\nCacheEntryType COOKIE_CACHE_ENTRY\n"
             "DeleteUrlCacheEntry",
             {7, 41, 172, 35},
             true},
            {"Static", "Uses The Standard Windows Commands:", {7, 32, 136, 9}, true},
        };
        std::optional<BaseUnits> aboutBase = BaseUnitsOf(about, 186, 87);
        EXPECT_TRUE(aboutBase) << "no dialog base units give the About box a client area of 186 x 87 units";
        std::vector<ChildInfo> children = Children(about);
        ASSERT_EQ(children.size(), std::size(kAbout));
        for (size_t i = 0; i < children.size(); ++i) {
            SCOPED_TRACE("About box control " + std::to_string(i));
            const ChildInfo& child = children[i];
            EXPECT_EQ(child.className, kAbout[i].className);
            if (kAbout[i].text) {
                std::string text = child.text;
                text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
                EXPECT_EQ(text, kAbout[i].text);
            }
            EXPECT_EQ(IsWindowEnabled(child.window) != FALSE, kAbout[i].enabled);
            if (aboutBase && i != 0) {
                RECT shown = RectInParent(child.window);
                RECT wanted = ToPixels(kAbout[i].at, *aboutBase);
                EXPECT_TRUE(EqualRect(&shown, &wanted)) << Describe(shown) << " instead of " << Describe(wanted);
            }
        }
        EXPECT_EQ(children[0].style & SS_TYPEMASK, SS_ICON);
        EXPECT_EQ(children[3].id, IDOK);
        EXPECT_EQ(children[3].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_NE(children[2].text, "") << "the maker's notice";
        EXPECT_EQ(children[5].style & SS_TYPEMASK, SS_CENTER);

        ASSERT_TRUE(PostMessageA(children[3].window, BM_CLICK, 0, 0));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, Millis(5000))) << "OK did not close the box";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Main()) != FALSE; }, Millis(2000)));
        EXPECT_EQ(app.Title(), "Win Brumix");
    }
    ASSERT_TRUE(app.Close());
}

// The first close creates the settings key with the seven values the untouched window holds,
// the visited pages' option, off, and the browsers installed then (none in the prefix), so that
// the next start is no first start.
TEST_F(FirstStart, CancelEndsTheProcessAndStoresTheDefaults) {
    ASSERT_FALSE(KeyExists(kSettingsPath));
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Close());
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(app.Process(), &code);
    EXPECT_EQ(code, 0u) << "a window that ran and was closed ends the process with 0";

    const std::vector<Stored> defaults{
        {"cached_urls", "0"}, {"cookies", "0"}, {"IE_history", "0"}, {"snifTimer", "0"}, {"auto_clear", "0"},
        {"timer", "1"},       {"modal", "0"},   {"visited", "0"},    {"browsers", ""},
    };
    ExpectStored(defaults);
    EXPECT_EQ(ValueNames(kSettingsPath).size(), defaults.size()) << "no value beyond these";
}

}  // namespace
}  // namespace e2e
