// The passes as the window's thread sees them: held by the stand-in runner until the test runs
// them, so that what happens while one runs, and at its end, can be looked at in turn.
#include "settings/settings_store.h"
#include "ui_fixture.h"

namespace {

class PassesTest : public DialogTest {
protected:
    MemoryPassRunner& passes = platform.passes;
};

TEST_F(PassesTest, WindowAnswersWhileTheFirstCountRunsAndDropsTheTicksThatFallDue) {
    platform.cache.Add("http://a/1");
    passes.runAtOnce = false;
    dlg.OnInitDialog();
    ASSERT_TRUE(passes.Holding());
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Static") << "the window is up before its first count ends";
    EXPECT_FALSE(platform.window.ToolTips().empty());

    platform.window.SetCheck(IDC_SNIFFER, 1);
    dlg.OnSniffer();
    dlg.OnTimer(ID_SNIFF_TIMER);
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(passes.PassesStarted(), 1);
    dlg.OnTimer(ID_PULSE_TIMER);
    EXPECT_EQ(platform.window.ProgressPos(), 1) << "the heartbeat goes on";
    Select(IDC_TEMP_FILES);
    dlg.OnTempFiles();
    EXPECT_EQ(Text(IDC_STATUS), "Clear Temporary Files");

    passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(passes.PassesStarted(), 2) << "once the pass is over, a tick counts again";
}

TEST_F(PassesTest, ClearAskedForDuringACountStartsWhenTheCountEnds) {
    SeedTyped({"url1"});
    passes.runAtOnce = false;
    dlg.OnInitDialog();
    Select(IDC_HISTORY);
    dlg.OnClearNow();
    EXPECT_FALSE(Control(IDOK).enabled);
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    dlg.OnClearNow();
    EXPECT_EQ(passes.PassesStarted(), 1);

    passes.RunHeldPass();
    ASSERT_TRUE(passes.Holding()) << "the clear follows the count";
    EXPECT_EQ(passes.PassesStarted(), 2);
    EXPECT_FALSE(Control(IDOK).enabled);
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), 1u);

    passes.RunHeldPass();
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    EXPECT_TRUE(Control(IDOK).enabled);
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
}

TEST_F(PassesTest, CloseDuringAPassStopsItThenClosesAsBefore) {
    platform.cache.Add("http://a/1");
    platform.cache.Add("http://a/2");
    dlg.OnInitDialog();
    passes.runAtOnce = false;
    Select(IDC_TEMP_FILES);
    dlg.OnClearNow();
    dlg.OnCancel();
    EXPECT_FALSE(passes.Holding());
    EXPECT_EQ(platform.cache.Size(), 2u) << "a stopped pass touches no item after the stop";
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 2") << "nor writes the counts it did not finish";
    EXPECT_NE(Text(IDC_STATUS), "Done!");
    EXPECT_EQ(platform.window.EndResult(), IDCANCEL);
    EXPECT_EQ(platform.registry.ValueNames(kSettingsPath).size(), 7u);
}

// A log-off stops the pass the same way, keeps the choices and leaves the window up.
TEST_F(PassesTest, EndOfSessionStopsThePassAndKeepsTheChoices) {
    platform.cache.Add("http://a/1");
    dlg.OnInitDialog();
    platform.window.SetCheck(IDC_SNIFFER, 1);
    dlg.OnSniffer();
    passes.runAtOnce = false;
    Select(IDC_TEMP_FILES);
    dlg.OnClearNow();
    dlg.OnEndSession(true, false);
    EXPECT_EQ(platform.cache.Size(), 1u);
    EXPECT_TRUE(platform.window.Timers().empty());
    EXPECT_EQ(platform.registry.ValueBytes(kSettingsPath, "snifTimer"), (std::vector<std::uint8_t>{'1', 0}));
    EXPECT_EQ(platform.window.EndResult(), -1);
    EXPECT_EQ(Control(IDC_SNIFFER).check, 1);
}

TEST_F(PassesTest, ListIsFilledBeforeTheFirstBoxWhichComesWhileTheKeyIsOpen) {
    SeedTyped({"url1", "url2"});
    platform.registry.ProtectValue(kTypedUrlsPath, "url1");
    Select(IDC_HISTORY);
    const long from = static_cast<long>(platform.faults.Events().size());
    dlg.OnClearNow();
    const long firstDelete = At("RegDeleteValue", from);
    const long box = At("MessageBox 0 url1", from);
    ASSERT_NE(box, -1);
    EXPECT_LT(At("RegOpenKeyEx", from), At("ListReset", from));
    EXPECT_LT(At("ListAdd 1006 url2", from), firstDelete) << "every name is in the list before the first deletion";
    EXPECT_LT(firstDelete, box) << "url1 fails first";
    EXPECT_LT(box, At("RegDeleteValue", box)) << "url2 goes only once the box is dismissed";
    EXPECT_LT(At("RegDeleteValue", box), At("RegCloseKey", box));
}

}  // namespace
