// Start-up of the main window: its fixed order, the system menu, the platform facts, painting.
#include <algorithm>

#include "settings/settings_store.h"
#include "ui_fixture.h"

namespace {

class InitTest : public DialogTest {};

TEST_F(InitTest, StepsRunInTheirFixedOrder) {
    platform.registry.SetText(kSettingsPath, "IE_history", "1");
    platform.registry.AddKey(kTypedUrlsPath);
    EXPECT_TRUE(dlg.OnInitDialog());
    const std::vector<long> order = {
        At("AddAbout"),
        At("SetIcons"),
        At("GetVersionEx"),
        At("GetWindowsDirectory"),
        At("SliderSetRange 1012 1 60"),
        At("SliderSetPos 1012 2"),
        At("ProgressSetRange 1016 0 60"),
        At("ProgressSetPos 1016 0"),
        At("SetText 1004 S U R F"),
        At("RegOpenKeyEx"),
        At("SetText 1004 Clear IE History"),
        At("SetText 1011 Sniff: every 1 second(s)"),
        At("SetText 1010 URLs In History"),
        At("FindFirstUrlCacheEntry"),
        At("SetText 1007 Cached Files"),
        At("CreateToolTips"),
    };
    for (std::size_t i = 0; i < order.size(); ++i) {
        ASSERT_NE(order[i], -1) << "step " << i << " never ran";
        if (i > 0) {
            EXPECT_LT(order[i - 1], order[i]) << "step " << i << " ran too early";
        }
    }
}

TEST_F(InitTest, SystemMenuGetsTheAboutEntryUnlessItsTextIsEmpty) {
    dlg.OnInitDialog();
    EXPECT_EQ(platform.window.AboutEntry(), "&About Win Brumix...");
    EXPECT_FALSE(platform.window.HasSizeAndMaximize());

    MainWindowPlatform plain;
    plain.window.strings.clear();
    CBrumixDlg plainDlg(plain.window, plain.Services(), plain.passes);
    plainDlg.OnInitDialog();
    EXPECT_EQ(plain.window.AboutEntry(), "");
    EXPECT_TRUE(plain.window.HasSizeAndMaximize());
}

// Only the high twelve bits of a system command name it: 16 to 31 open the About box, 64 to 79
// switch the visited-pages option, 80 to 95 open the cookies to keep, 256 to 351 switch the six
// browsers, every other command is the system's.
TEST_F(InitTest, SystemCommandsAreTakenByTheirHighTwelveBits) {
    using Command = CBrumixDlg::SystemCommand;
    for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
        const Command expected = id >= 0x10 && id <= 0x1F     ? Command::About
                                 : id >= 0x40 && id <= 0x4F   ? Command::Handled
                                 : id >= 0x50 && id <= 0x5F   ? Command::KeepCookies
                                 : id >= 0x100 && id <= 0x15F ? Command::Handled
                                                              : Command::Default;
        EXPECT_EQ(dlg.OnSysCommand(id), expected) << id;
    }
    EXPECT_EQ(dlg.OnSysCommand(0xF060), Command::Default);
}

TEST_F(InitTest, PlatformFamilyAndWindowsDirectoryAreKept) {
    g_bIsNT = 7;
    platform.system.platformId = kPlatformWin32Windows;
    platform.system.windowsDir = "D:\\WIN";
    dlg.OnInitDialog();
    EXPECT_EQ(g_bIsNT, 0);
    EXPECT_EQ(g_strWindowsDir, "D:\\WIN");

    MainWindowPlatform nt;
    CBrumixDlg ntDlg(nt.window, nt.Services(), nt.passes);
    ntDlg.OnInitDialog();
    EXPECT_EQ(g_bIsNT, 1);
}

TEST_F(InitTest, TooltipsAreRegisteredInOrderWithTheirTexts) {
    dlg.OnInitDialog();
    const auto& tips = platform.window.ToolTips();
    std::vector<int> ids(tips.size());
    std::transform(tips.begin(), tips.end(), ids.begin(), [](const ToolTip& tip) { return tip.controlId; });
    EXPECT_EQ(ids, (std::vector<int>{IDOK, IDC_ON_TOP, IDC_SNIFFER, IDC_AUTO_CLEAR, IDC_TEMP_FILES, IDC_COOKIES,
                                     IDC_HISTORY, IDC_STATUS}));
    EXPECT_EQ(tips[0].text, "C L E A R   N O W");
    EXPECT_EQ(tips[4].text, "Clears all temporary Internet Files (gif's, jpg's, scripts  etc");
}

TEST_F(InitTest, FirstCountFillsTheCountersAndMarks) {
    platform.registry.SetText(kTypedUrlsPath, "url1", "http://a/");
    platform.cache.Add("http://a/x");
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(Text(IDC_COOKIE_COUNT), "Cookies: 0");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_CLEAN_MARK).visible);
}

TEST_F(InitTest, PaintRestoresTheTitleOnlyWhenNotMinimised) {
    platform.window.SetTitle("t:1-c:2");
    platform.window.minimised = true;
    EXPECT_TRUE(dlg.OnPaint());
    EXPECT_EQ(platform.window.Title(), "t:1-c:2");
    platform.window.minimised = false;
    EXPECT_FALSE(dlg.OnPaint());
    EXPECT_EQ(platform.window.Title(), "Win Brumix");
}

}  // namespace
