// The other browsers in the window: the submenu, the choice remembered (stored, missing on a
// first start or after an upgrade, words of a later release kept), the totals, and a clear that
// left a browser whole.
#include "settings/settings_store.h"
#include "tests/support/chromium_fixture.h"
#include "tests/support/firefox_fixture.h"
#include "ui/keep_cookies_dlg.h"
#include "ui/system_menu.h"
#include "ui_fixture.h"

namespace {

constexpr char kLocal[] = "C:\\Users\\ann\\AppData\\Local";
constexpr char kRoaming[] = "C:\\Users\\ann\\AppData\\Roaming";
const std::string kEdgeData = std::string(kLocal) + "\\Microsoft\\Edge\\User Data";
const std::string kEdgeCookies = kEdgeData + "\\Default\\Network\\Cookies";
constexpr std::uint32_t kEdgeEntry = IDM_BROWSERS_FIRST;
constexpr std::uint32_t kChromeEntry = IDM_BROWSERS_FIRST + 0x10;
constexpr std::uint32_t kFirefoxEntry = IDM_BROWSERS_FIRST + 0x50;
constexpr char kMaker[] = "http://www.quellmar.example/";

class BrowsersWindowTest : public DialogTest {
protected:
    BrowsersWindowTest() {
        platform.userFolders.paths[UserFolder::LocalAppData] = kLocal;
        platform.userFolders.paths[UserFolder::RoamingAppData] = kRoaming;
        const FixtureCookie cookies[] = {{".bank.example"}, {"tracker.example"}};
        platform.profileFiles.WriteFile(kEdgeCookies, CookiesFile(cookies));
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:ann@news.example/", kCookieCacheEntry);
    }
    // Firefox installed with one profile and a cookie in it.
    void InstallFirefox() {
        const FixtureIniProfile profiles[] = {{"default", "Profiles/x.default"}};
        platform.profileFiles.WriteFile(std::string(kRoaming) + "\\Mozilla\\Firefox\\profiles.ini",
                                        ProfilesIniText(profiles));
        const FixtureCookie cookies[] = {{"fox.example"}};
        platform.profileFiles.WriteFile(FirefoxProfile() + "\\cookies.sqlite", FirefoxCookiesFile(cookies));
    }
    static std::string FirefoxProfile() { return std::string(kRoaming) + "\\Mozilla\\Firefox\\Profiles\\x.default"; }
    std::optional<std::string> StoredList() { return ReadBrowsersSetting(platform.registry); }
    const MemoryWindow::MenuEntry& Entry(std::uint32_t id) {
        const MemoryWindow::MenuEntry* entry = platform.window.SystemMenuEntry(id);
        EXPECT_NE(entry, nullptr) << id;
        static const MemoryWindow::MenuEntry kNone{.text = "", .commandId = 0};
        return entry != nullptr ? *entry : kNone;
    }
    std::int64_t EdgeCookieRows() {
        return CountIn(platform.profileFiles.ReadFile(kEdgeCookies).value_or(""), "SELECT COUNT(*) FROM cookies");
    }
    void ClearContent() {
        Select(IDC_TEMP_FILES);
        Select(IDC_COOKIES);
        dlg.OnClearNow();
    }
};

// One entry per browser row, in the table's order, each a system command with its low four bits
// clear; greyed where not installed, and a chosen browser not installed stays checked and greyed.
TEST_F(BrowsersWindowTest, SubmenuFollowsTheTableAfterTheCookiesToKeep) {
    platform.registry.SetText(kSettingsPath, kBrowsersSetting, "chrome,edge");
    dlg.OnInitDialog();
    const auto& menu = platform.window.SystemMenuEntries();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[1].commandId, static_cast<std::uint32_t>(IDM_KEEP_COOKIES));
    EXPECT_EQ(menu[2].text, "Other &browsers");
    std::vector<std::string> texts;
    const auto rows = BrowserSources();
    ASSERT_EQ(menu[2].submenu.size(), rows.size());
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const MemoryWindow::MenuEntry& entry = menu[2].submenu[at];
        texts.push_back(entry.text);
        EXPECT_EQ(entry.commandId & 0xF, 0u) << entry.text;
        EXPECT_LT(entry.commandId, 0xF000u) << "below the system's own commands";
        EXPECT_EQ(kBrowserMenuEntries[at].browser, rows[at].id) << "the table's order";
        std::string name = entry.text;
        std::erase(name, '&');
        EXPECT_EQ(name, rows[at].browserName);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Microsoft &Edge", "Google &Chrome", "&Brave", "&Vivaldi", "&Opera",
                                               "Mozilla &Firefox"}));
    EXPECT_TRUE(Entry(kEdgeEntry).checked && Entry(kEdgeEntry).enabled);
    EXPECT_TRUE(Entry(kChromeEntry).checked) << "chosen, not installed: still checked";
    EXPECT_FALSE(Entry(kChromeEntry).enabled) << "and greyed";
    EXPECT_FALSE(Entry(kFirefoxEntry).checked || Entry(kFirefoxEntry).enabled);
}

// Nothing stored at all: every browser installed then, written at the close, so that the next
// start is no first start. The seven stored without the list (an earlier release): none.
TEST_F(BrowsersWindowTest, FirstStartChoosesWhatIsInstalledAndAnUpgradeNone) {
    dlg.OnInitDialog();
    EXPECT_TRUE(Entry(kEdgeEntry).checked);
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 3") << "the cache's and Edge's";
    dlg.OnCancel();
    EXPECT_EQ(StoredList(), "edge");

    MainWindowPlatform upgraded;
    upgraded.userFolders = platform.userFolders;
    upgraded.profileFiles.WriteFile(kEdgeCookies, *platform.profileFiles.ReadFile(kEdgeCookies));
    upgraded.registry.SetText(kSettingsPath, "cached_urls", "1");
    CBrumixDlg upgradedDlg(upgraded.window, upgraded.Services(), upgraded.passes);
    upgradedDlg.OnInitDialog();
    ASSERT_NE(upgraded.window.SystemMenuEntry(kEdgeEntry), nullptr);
    EXPECT_FALSE(upgraded.window.SystemMenuEntry(kEdgeEntry)->checked);
    EXPECT_TRUE(upgraded.window.SystemMenuEntry(kEdgeEntry)->enabled);
    EXPECT_EQ(upgraded.window.control(IDC_COOKIE_COUNT).text, "Cookies: 0") << "Edge's cookies not counted";
    upgradedDlg.SaveSettings();
    EXPECT_EQ(ReadBrowsersSetting(upgraded.registry), "") << "none, stored as such";
}

// A stored list is written back as it was while the choice is what it says; once the user
// changes it, the ids follow the table's order and a later release's words stay after them.
TEST_F(BrowsersWindowTest, StoredListKeepsWordsThisReleaseDoesNotKnow) {
    platform.registry.SetText(kSettingsPath, kBrowsersSetting, "Safari, edge");
    dlg.OnInitDialog();
    EXPECT_TRUE(Entry(kEdgeEntry).checked);
    dlg.SaveSettings();
    EXPECT_EQ(StoredList(), "Safari, edge");

    EXPECT_EQ(dlg.OnSysCommand(kChromeEntry | 0x7), CBrumixDlg::SystemCommand::Handled);
    EXPECT_EQ(StoredList(), "edge,chrome,Safari") << "stored at once";
    dlg.OnSysCommand(kEdgeEntry);
    dlg.OnSysCommand(kChromeEntry);
    EXPECT_EQ(StoredList(), "Safari");
    dlg.OnCancel();
    EXPECT_EQ(StoredList(), "Safari");

    MainWindowPlatform none;
    none.registry.SetText(kSettingsPath, kBrowsersSetting, "all");
    CBrumixDlg noneDlg(none.window, none.Services(), none.passes);
    noneDlg.OnInitDialog();
    ASSERT_NE(none.window.SystemMenuEntry(kFirefoxEntry), nullptr);
    EXPECT_TRUE(none.window.SystemMenuEntry(kFirefoxEntry)->checked);
    noneDlg.SaveSettings();
    EXPECT_EQ(ReadBrowsersSetting(none.registry), "all") << "a later release's browser is in it still";
}

// The counters, the found mark and the minimised title count the totals; an entry switched
// counts again at once, and a count that runs meanwhile is followed by one with the new choice.
TEST_F(BrowsersWindowTest, CountersShowTotalsAndAnEntrySwitchedCountsAgain) {
    platform.cache.DeleteEntry("http://a.example/1.gif");
    platform.cache.DeleteEntry("Cookie:ann@news.example/");
    platform.registry.SetText(kSettingsPath, kBrowsersSetting, "");
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);

    platform.window.minimised = true;
    dlg.OnSysCommand(kEdgeEntry);
    EXPECT_EQ(StoredList(), "edge");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 2");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_EQ(platform.window.Title(), "t:0-c:2");

    platform.passes.runAtOnce = false;
    dlg.OnSniffer();
    dlg.OnTimer(ID_SNIFF_TIMER);
    dlg.OnSysCommand(kEdgeEntry);
    platform.passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 2") << "the running count took Edge at its start";
    ASSERT_TRUE(platform.passes.Holding());
    platform.passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");
}

TEST_F(BrowsersWindowTest, ClearTakesTheChosenBrowserWithTheBoxesAndKeepsItsKeptSites) {
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    ClearContent();
    EXPECT_EQ(EdgeCookieRows(), 0);
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");

    platform.profileFiles.WriteFile(kEdgeCookies, CookiesFile(std::vector<FixtureCookie>{{".mail.example"}}));
    dlg.CountAgain();
    MemoryWindow keepWindow{platform.faults};
    CKeepCookiesDlg keep(keepWindow, platform.registry, dlg);
    keep.OnInitDialog();
    EXPECT_EQ(keepWindow.List(IDC_KEEP_FOUND), (std::vector<std::string>{"mail.example"}))
        << "the browser's sites among those with cookies";
    keep.OnCancel();
}

// A browser that runs is left whole, and the status line names it instead of "Done!"; its tip
// says more, and Edge and Chrome may run without a window. The next status takes the tip back.
TEST_F(BrowsersWindowTest, BrowserInUseIsNamedOnTheStatusLineInsteadOfDone) {
    InstallFirefox();
    platform.registry.SetText(kSettingsPath, kBrowsersSetting, "firefox,edge");
    platform.profileFiles.WriteFile(kEdgeData + "\\lockfile", "");
    platform.profileFiles.Hold(kEdgeData + "\\lockfile");
    dlg.OnInitDialog();
    EXPECT_EQ(platform.window.ToolTipText(IDC_STATUS), kMaker);
    ClearContent();
    EXPECT_EQ(EdgeCookieRows(), 2) << "left whole";
    EXPECT_EQ(Text(IDC_STATUS), "Close Microsoft Edge to clear it");
    const std::string tip = platform.window.ToolTipText(IDC_STATUS);
    EXPECT_NE(tip.find("Microsoft Edge ran"), std::string::npos) << tip;
    EXPECT_NE(tip.find("Startup boost"), std::string::npos) << tip;
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 2") << "what was read is counted";

    dlg.OnHistory();
    EXPECT_EQ(platform.window.ToolTipText(IDC_STATUS), kMaker);

    platform.profileFiles.WriteFile(FirefoxProfile() + "\\parent.lock", "");
    platform.profileFiles.Hold(FirefoxProfile() + "\\parent.lock");
    ClearContent();
    EXPECT_EQ(Text(IDC_STATUS), "Close Microsoft Edge and 1 more to clear");
    EXPECT_NE(platform.window.ToolTipText(IDC_STATUS).find("Microsoft Edge, Mozilla Firefox ran"), std::string::npos);

    platform.profileFiles.Hold(kEdgeData + "\\lockfile", false);
    ClearContent();
    EXPECT_EQ(Text(IDC_STATUS), "Close Mozilla Firefox to clear it");
    EXPECT_EQ(platform.window.ToolTipText(IDC_STATUS).find("Startup boost"), std::string::npos)
        << "Firefox ends with its last window";
    EXPECT_EQ(EdgeCookieRows(), 0);
}

TEST_F(BrowsersWindowTest, LayoutNotKnownIsNamedOnTheStatusLine) {
    platform.profileFiles.WriteFile(kEdgeCookies, FixtureDatabase("CREATE TABLE cookies(host_key TEXT);"
                                                                  "INSERT INTO cookies VALUES('a.example');")
                                                      .Bytes());
    platform.registry.SetText(kSettingsPath, kBrowsersSetting, "edge");
    dlg.OnInitDialog();
    ClearContent();
    EXPECT_EQ(Text(IDC_STATUS), "Layout not known: Microsoft Edge left");
    EXPECT_NE(platform.window.ToolTipText(IDC_STATUS).find("edge:Default:Network\\Cookies: no column"),
              std::string::npos)
        << platform.window.ToolTipText(IDC_STATUS);
    EXPECT_EQ(EdgeCookieRows(), 1);
}

}  // namespace
