// The remembered choices on the window: the restore at start-up, in its order and with its
// handlers, and the save at the close.
#include "platform/errors.h"
#include "settings/settings_store.h"
#include "ui_fixture.h"

namespace {

class SettingsTest : public DialogTest {
protected:
    void Save(const char* name, const std::string& text) { platform.registry.SetText(kSettingsPath, name, text); }
    void Start() { dlg.OnInitDialog(); }
    std::vector<std::uint8_t> Stored(const char* name) { return platform.registry.ValueBytes(kSettingsPath, name); }
};

TEST_F(SettingsTest, FirstRunKeepsTheTemplateAndAOneSecondInterval) {
    Start();
    EXPECT_EQ(Text(IDC_STATUS), "S U R F  F A S T E R  &&  S A F E R");
    EXPECT_EQ(platform.window.SliderGetPos(IDC_INTERVAL), 1);
    EXPECT_EQ(Text(IDC_SNIFFER), "Sniff: every 1 second(s)");
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    EXPECT_FALSE(Control(IDC_AUTO_CLEAR).enabled);
    for (int id : {IDC_TEMP_FILES, IDC_COOKIES, IDC_HISTORY, IDC_SNIFFER, IDC_AUTO_CLEAR, IDC_ON_TOP}) {
        EXPECT_EQ(Control(id).check, 0) << id;
    }
    EXPECT_TRUE(platform.window.Timers().empty());
}

TEST_F(SettingsTest, HandlersRunInOrderAndTheLastTextStays) {
    Save("cached_urls", "1");
    Save("cookies", "1");
    Save("IE_history", "0");
    Start();
    EXPECT_EQ(Control(IDC_TEMP_FILES).check, 1);
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 1);
    EXPECT_EQ(Control(IDC_HISTORY).check, 0);
    EXPECT_EQ(platform.window.SliderGetPos(IDC_INTERVAL), 1);
    EXPECT_EQ(Text(IDC_STATUS), "Keep IE History");
}

TEST_F(SettingsTest, IntervalOutOfRangeIsIgnoredAndZeroGivesOne) {
    for (const auto& [text, expected] :
         std::vector<std::pair<std::string, int>>{{"75", 2}, {"-5", 2}, {"0", 1}, {"45", 45}}) {
        MainWindowPlatform fresh;
        fresh.registry.SetText(kSettingsPath, "timer", text);
        CBrumixDlg freshDlg(fresh.window, fresh.Services(), fresh.passes);
        freshDlg.OnInitDialog();
        EXPECT_EQ(fresh.window.SliderGetPos(IDC_INTERVAL), expected) << text;
        EXPECT_EQ(fresh.window.control(IDC_SNIFFER).text, "Sniff: every " + std::to_string(expected) + " second(s)");
    }
}

TEST_F(SettingsTest, SnifferRestoredOnRunsAtTheRestoredIntervalAndOnTopIsRestored) {
    Save("timer", "30");
    Save("snifTimer", "1");
    Save("modal", "1");
    Start();
    EXPECT_EQ(platform.window.Timers().at(ID_SNIFF_TIMER), 30000u);
    EXPECT_EQ(Text(IDC_SNIFFER), "Sniff: every 30 second(s)");
    EXPECT_EQ(Text(IDC_STATUS), "Sniffer Timer ON");
    EXPECT_TRUE(platform.window.Topmost());
}

TEST_F(SettingsTest, AutoClearWithoutSelectionIsUncheckedAgain) {
    Save("snifTimer", "1");
    Save("auto_clear", "1");
    Start();
    EXPECT_EQ(Control(IDC_SNIFFER).check, 1);
    EXPECT_TRUE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 0);
    EXPECT_EQ(Text(IDC_STATUS), "Select 'Temporary' (+ Cookies) or 'History' first");
}

// The cookie box under an unchecked temporary box, the automatic clear under a sniffer that is off.
TEST_F(SettingsTest, BoxRestoredCheckedUnderAnOffBoxStaysCheckedButDisabled) {
    Save("cached_urls", "0");
    Save("cookies", "1");
    Save("IE_history", "1");
    Save("snifTimer", "0");
    Save("auto_clear", "1");
    Start();
    EXPECT_EQ(Control(IDC_COOKIES).check, 1);
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Text(IDC_STATUS), "Sniffer Timer OFF");
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 1);
    EXPECT_FALSE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_TRUE(platform.window.Timers().empty());
}

// A value read as 0 unchecks its box and runs the handler; one not stored, or other than 0 or 1,
// runs none.
TEST_F(SettingsTest, OnlyZeroOrOneSetsABoxAndZeroUnchecksAndRunsTheHandler) {
    Save("cached_urls", "2");
    Start();
    EXPECT_EQ(Text(IDC_STATUS), "S U R F  F A S T E R  &&  S A F E R");
    EXPECT_EQ(Control(IDC_TEMP_FILES).check, 0);

    platform.registry.SetValue(kSettingsPath, "cached_urls", kRegDword, {1, 0, 0, 0});
    platform.registry.SetValue(kSettingsPath, "IE_history", kRegSz, std::vector<std::uint8_t>(300, '1'));
    Save("snifTimer", "ERR_KEY_NOT_OPEN");
    platform.window.SetCheck(IDC_TEMP_FILES, 1);
    Start();
    EXPECT_EQ(Control(IDC_TEMP_FILES).check, 0);
    EXPECT_EQ(Control(IDC_HISTORY).check, 0);
    EXPECT_EQ(Control(IDC_SNIFFER).check, 0);
    EXPECT_EQ(Text(IDC_STATUS), "Keep Temporary Files");
}

TEST_F(SettingsTest, CloseWritesTheSevenValuesAndTheOptionAsTextWithOneNul) {
    Start();
    platform.window.SetCheck(IDC_TEMP_FILES, 1);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    platform.window.SliderSetPos(IDC_INTERVAL, 45);
    dlg.OnCancel();
    EXPECT_EQ(platform.registry.ValueNames(kSettingsPath),
              (std::vector<std::string>{"cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "timer",
                                        "modal", "visited", "browsers"}));
    EXPECT_EQ(Stored("cached_urls"), (std::vector<std::uint8_t>{'1', 0}));
    EXPECT_EQ(Stored("cookies"), (std::vector<std::uint8_t>{'0', 0}));
    EXPECT_EQ(Stored("auto_clear"), (std::vector<std::uint8_t>{'1', 0}));
    EXPECT_EQ(Stored("timer"), (std::vector<std::uint8_t>{'4', '5', 0}));
    EXPECT_EQ(Stored("visited"), (std::vector<std::uint8_t>{'0', 0}));
    EXPECT_EQ(platform.window.EndResult(), IDCANCEL);
    EXPECT_EQ(platform.registry.OpenKeys(), 0);
}

TEST_F(SettingsTest, CloseGoesOnWhenTheChoicesCannotBeWritten) {
    platform.faults.FailCall("RegCreateKeyEx", kErrorAccessDenied);
    dlg.OnCancel();
    EXPECT_EQ(platform.window.EndResult(), IDCANCEL);
}

TEST_F(SettingsTest, WhatACloseSavesTheNextStartRestores) {
    Start();
    platform.window.SetCheck(IDC_TEMP_FILES, 1);
    dlg.OnTempFiles();
    platform.window.SetCheck(IDC_COOKIES, 1);
    platform.window.SetCheck(IDC_ON_TOP, 1);
    platform.window.SliderSetPos(IDC_INTERVAL, 12);
    platform.window.SetCheck(IDC_SNIFFER, 1);
    dlg.OnSniffer();
    dlg.OnSysCommand(IDM_VISITED);
    dlg.OnCancel();

    MemoryWindow next(platform.faults, MainWindowTemplate());
    next.strings[IDS_ABOUTBOX] = "&About Win Brumix...";
    CBrumixDlg nextDlg(next, platform.Services(), platform.passes);
    nextDlg.OnInitDialog();
    EXPECT_EQ(next.control(IDC_TEMP_FILES).check, 1);
    EXPECT_EQ(next.control(IDC_COOKIES).check, 1);
    EXPECT_EQ(next.control(IDC_SNIFFER).check, 1);
    EXPECT_EQ(next.Timers().at(ID_SNIFF_TIMER), 12000u);
    EXPECT_TRUE(next.Topmost());
    ASSERT_EQ(next.SystemMenuEntries().size(), 3u) << "the two options and the browsers' submenu";
    EXPECT_TRUE(next.SystemMenuEntries()[0].checked) << "the visited pages' option";
}

}  // namespace
