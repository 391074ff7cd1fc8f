// The other browsers through the window: an Edge and a Firefox profile in the prefix's user
// folders, counted and cleared with the boxes, chosen on a first start and not after an upgrade,
// the submenu as the driver reads it, and a browser that runs left whole and named.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/support/firefox_fixture.h"
#include "tests/win/wine_profiles.h"

namespace e2e {
namespace {

constexpr UINT kEdgeEntry = IDM_BROWSERS_FIRST;

std::string Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WideToUtf8(value) : std::string();
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Utf8ToWide(folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::string path = folder + "\\" + WideToUtf8(name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(Utf8ToWide(path).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Utf8ToWide(folder).c_str());
}

// A named CALLBACK: on i686 the enumeration calls it as stdcall.
struct MenuCount {
    DWORD processId;
    int open = 0;
};
BOOL CALLBACK CountMenu(HWND window, LPARAM param) {
    auto* count = reinterpret_cast<MenuCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId && IsWindowVisible(window) && ClassOf(window) == "#32768") ++count->open;
    return TRUE;
}

class Browsers : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        local = Environment(L"LOCALAPPDATA");
        roaming = Environment(L"APPDATA");
        ASSERT_FALSE(local.empty() || roaming.empty());
        edge = local + "\\Microsoft\\Edge\\User Data";
        firefoxProfile = roaming + "\\Mozilla\\Firefox\\Profiles\\e2e.default";
        firefoxCache = local + "\\Mozilla\\Firefox\\Profiles\\e2e.default";
        const std::string profiles[] = {"Default"};
        WriteFileBytes(edge + "\\Local State", LocalStateJson(profiles));
        WriteFileBytes(edge + "\\Default\\Cache\\Cache_Data\\f_000001", "entry");
        const FixtureCookie edgeCookies[] = {{".bank.example"}, {"shop.example"}};
        WriteFileBytes(edge + "\\Default\\Network\\Cookies", CookiesFile(edgeCookies));
        const FixtureUrl urls[] = {{"https://typed.example/", 1}};
        WriteFileBytes(edge + "\\Default\\History", HistoryFile(urls));
        WriteFileBytes(edge + "\\Default\\Bookmarks", "{}");
        const FixtureIniProfile ini[] = {{"default", "Profiles/e2e.default"}};
        WriteFileBytes(roaming + "\\Mozilla\\Firefox\\profiles.ini", ProfilesIniText(ini));
        const FixtureCookie foxCookies[] = {{"fox.example"}};
        WriteFileBytes(firefoxProfile + "\\cookies.sqlite", FirefoxCookiesFile(foxCookies));
        WriteFileBytes(firefoxProfile + "\\places.sqlite", PlacesDatabase().Bytes());
        WriteFileBytes(firefoxCache + "\\cache2\\entries\\0A1B", "entry");
    }
    void TearDown() override {
        RemoveTree(local + "\\Microsoft");
        RemoveTree(local + "\\Mozilla");
        RemoveTree(roaming + "\\Mozilla");
    }

    std::int64_t EdgeCookies() const {
        return OpenDatabaseFile(edge + "\\Default\\Network\\Cookies").Number("SELECT count(*) FROM cookies");
    }
    std::int64_t FirefoxCookies() const {
        return OpenDatabaseFile(firefoxProfile + "\\cookies.sqlite").Number("SELECT count(*) FROM moz_cookies");
    }
    // The program's menus shown now: the system menu, and the submenu over it. Wine keeps a
    // menu's entries in the process that made it, so another process reads them by what the
    // menu does.
    int OpenMenus() const {
        MenuCount count{app.ProcessId()};
        EnumWindows(CountMenu, reinterpret_cast<LPARAM>(&count));
        return count.open;
    }
    // As a user does it: Alt+Space, the submenu's mnemonic, then the entry's; until the menus close.
    ::testing::AssertionResult ChooseInSubmenu(char mnemonic) const {
        PostMessageA(app.Main(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        if (!WaitUntil([&] { return OpenMenus() == 1; }, Millis(5000)))
            return ::testing::AssertionFailure() << "the system menu did not open";
        PostMessageA(app.Main(), WM_CHAR, 'b', 0);
        if (!WaitUntil([&] { return OpenMenus() == 2; }, Millis(5000)))
            return ::testing::AssertionFailure() << "\"Other &browsers\" did not open its submenu";
        PostMessageA(app.Main(), WM_CHAR, static_cast<WPARAM>(mnemonic), 0);
        if (!WaitUntil([&] { return OpenMenus() == 0; }, Millis(5000)))
            return ::testing::AssertionFailure() << "the menus stayed open after '" << mnemonic << "'";
        if (!app.Sync()) return ::testing::AssertionFailure() << "the program does not answer";
        return ::testing::AssertionSuccess();
    }
    // As the program writes it: REG_SZ, the text and one NUL.
    static std::string StoredBrowsers() {
        const std::optional<RegValue> value = ReadValue(kSettingsPath, "browsers");
        if (!value || value->type != REG_SZ || value->data.empty() || value->data.back() != 0)
            return "<not as written>";
        return std::string(value->data.begin(), value->data.end() - 1);
    }
    ::testing::AssertionResult Clear() {
        if (app.Check(IDC_TEMP_FILES) != BST_CHECKED) app.Click(IDC_TEMP_FILES);
        if (app.Check(IDC_COOKIES) != BST_CHECKED) app.Click(IDC_COOKIES);
        return app.ClearNow();
    }

    std::string local, roaming, edge, firefoxProfile, firefoxCache;
};

// Nothing stored: the browsers installed are chosen, counted with the system browser's stores,
// cleared with the boxes, and stored at the close.
TEST_F(Browsers, FirstStartCountsAndClearsTheInstalledBrowsers) {
    SeedCookieDomains(1);
    ASSERT_TRUE(app.Start());
    ExpectCounters(2, 4, 1);
    ExpectMark(true);

    // Chrome is not installed: its entry is greyed, and choosing it does nothing.
    ASSERT_TRUE(ChooseInSubmenu('c'));
    EXPECT_EQ(StoredBrowsers(), "<not as written>") << "nothing stored before the close";
    ExpectCounters(2, 4, 1);

    ASSERT_TRUE(Clear());
    EXPECT_EQ(app.Text(IDC_STATUS), "Done!");
    ExpectCounters(0, 0, 1);
    EXPECT_EQ(EdgeCookies(), 0);
    EXPECT_EQ(FirefoxCookies(), 0);
    EXPECT_FALSE(Exists(edge + "\\Default\\Cache\\Cache_Data\\f_000001"));
    EXPECT_FALSE(Exists(firefoxCache + "\\cache2\\entries\\0A1B"));
    EXPECT_EQ(ReadFileBytes(edge + "\\Default\\Bookmarks"), "{}");
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(StoredBrowsers(), "edge,firefox");
}

// The choices of an earlier release stored, no list: none chosen, until the entry is chosen.
TEST_F(Browsers, AfterAnUpgradeNoneIsChosenUntilTheEntrySaysSo) {
    ASSERT_NO_FATAL_FAILURE(Remember({{"cached_urls", "1"}}));
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Text(IDC_CACHED_COUNT), CachedText(0));
    EXPECT_EQ(app.Text(IDC_COOKIE_COUNT), CookieText(0));

    ASSERT_TRUE(ChooseInSubmenu('e'));
    EXPECT_EQ(StoredBrowsers(), "edge") << "stored when chosen";
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_COOKIE_COUNT) == CookieText(2); }, Millis(10000)))
        << app.Text(IDC_COOKIE_COUNT);
    ASSERT_TRUE(ChooseInSubmenu('f'));
    EXPECT_EQ(StoredBrowsers(), "edge,firefox");
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_COOKIE_COUNT) == CookieText(3); }, Millis(10000)))
        << app.Text(IDC_COOKIE_COUNT);

    // A system command with its low four bits set is the same entry: Edge again, now off.
    ASSERT_TRUE(PostMessageA(app.Main(), WM_SYSCOMMAND, kEdgeEntry | 0x3, 0));
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_COOKIE_COUNT) == CookieText(1); }, Millis(10000)))
        << app.Text(IDC_COOKIE_COUNT);
    EXPECT_EQ(StoredBrowsers(), "firefox");
    ASSERT_TRUE(app.Close());
}

// Edge runs (its lockfile held by another process): nothing of it is deleted, and the status line
// names it instead of "Done!".
TEST_F(Browsers, ABrowserThatRunsIsLeftWholeAndNamed) {
    ASSERT_NO_FATAL_FAILURE(Remember({{"browsers", "edge"}}));
    Holder running(L"lockfile", edge + "\\lockfile");
    ASSERT_TRUE(running.Holding());
    ASSERT_TRUE(app.Start());
    ExpectCounters(1, 2, 1);
    ASSERT_TRUE(Clear());
    EXPECT_EQ(app.Text(IDC_STATUS), "Close Microsoft Edge to clear it");
    EXPECT_EQ(EdgeCookies(), 2);
    EXPECT_TRUE(Exists(edge + "\\Default\\Cache\\Cache_Data\\f_000001"));
    EXPECT_EQ(FirefoxCookies(), 1) << "not chosen";
    ASSERT_TRUE(app.Close());
}

}  // namespace
}  // namespace e2e
