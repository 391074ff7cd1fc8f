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
    EXPECT_EQ(platform.registry.ValueNames(kSettingsPath).size(), 9u) << "the seven, the option and the browsers";
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

// A control disabled while it has the focus would take the keyboard with it: Escape, Tab and
// Enter would do nothing until a click.
TEST_F(PassesTest, DisablingNeverLeavesTheKeyboardWithoutAControl) {
    dlg.OnInitDialog();
    MemoryWindow& window = platform.window;
    ASSERT_EQ(window.focus, IDOK);
    passes.runAtOnce = false;
    Select(IDC_TEMP_FILES);
    Select(IDC_COOKIES);
    dlg.OnClearNow();
    EXPECT_EQ(window.focus, IDC_TEMP_FILES) << "past the cookie box, which goes too";
    window.focus = 0;
    passes.RunHeldPass();
    EXPECT_EQ(window.focus, IDOK) << "none has it: the button takes it back";

    window.active = false;
    dlg.OnClearNow();
    window.focus = 0;
    passes.RunHeldPass();
    EXPECT_EQ(window.focus, 0) << "an inactive window's dialog manager gives it back itself";

    window.active = true;
    passes.runAtOnce = true;
    window.SetCheck(IDC_SNIFFER, 1);
    dlg.OnSniffer();
    window.focus = IDC_AUTO_CLEAR;
    dlg.OnIntervalScroll(true);
    EXPECT_FALSE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_EQ(window.focus, IDOK) << "the tab order wraps round";
}

// The cookie box is enabled again only when the clear ends, as on one thread, where a click
// during the clear would wait for it. An untick takes the cookies out of the next clear at
// once: ticking the temporary files again before the end brings no cookie back.
TEST_F(PassesTest, TemporaryFilesClickedDuringAClearUnticksCookiesAtOnceAndEnablesOnlyAtTheEnd) {
    dlg.OnInitDialog();
    passes.runAtOnce = false;
    Select(IDC_TEMP_FILES);
    Select(IDC_COOKIES);
    dlg.OnClearNow();
    ASSERT_TRUE(platform.window.Click(IDC_TEMP_FILES));
    dlg.OnTempFiles();
    EXPECT_EQ(Text(IDC_STATUS), "Keep Temporary Files");
    EXPECT_EQ(Control(IDC_COOKIES).check, 0) << "unticked at once";
    ASSERT_TRUE(platform.window.Click(IDC_TEMP_FILES));
    dlg.OnTempFiles();
    EXPECT_FALSE(Control(IDC_COOKIES).enabled) << "ticked again, still the clear's";
    passes.RunHeldPass();
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 0) << "ticking the temporary files again brings no cookie back";
    platform.cache.Add("Cookie:ann@a.example/", kCookieCacheEntry);
    dlg.OnClearNow();
    passes.RunHeldPass();
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:ann@a.example/"});

    dlg.OnClearNow();
    ASSERT_TRUE(platform.window.Click(IDC_TEMP_FILES));
    dlg.OnTempFiles();
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    EXPECT_FALSE(Control(IDC_COOKIES).enabled) << "unticked during the clear";
    EXPECT_EQ(Control(IDC_COOKIES).check, 0);
}

// A cache call can hang on a database the browser holds. The choices are saved before anything
// waits, and no close or log-off waits for the call for more than a few seconds.
TEST_F(PassesTest, PassStuckInACallNeverCostsTheChoicesNorHoldsTheWindow) {
    dlg.OnInitDialog();
    platform.window.SetCheck(IDC_SNIFFER, 1);
    dlg.OnSniffer();
    passes.runAtOnce = false;
    passes.heldPassStuck = true;
    Select(IDC_TEMP_FILES);
    dlg.OnClearNow();
    std::size_t savedWhenTheWaitBegan = 0;
    passes.onWait = [&] { savedWhenTheWaitBegan = platform.registry.ValueNames(kSettingsPath).size(); };
    dlg.OnEndSession(true, false);
    EXPECT_EQ(savedWhenTheWaitBegan, 9u);
    EXPECT_TRUE(platform.window.Timers().count(ID_SNIFF_TIMER) == 0 &&
                platform.window.Timers().count(ID_PULSE_TIMER) == 0);

    dlg.OnCancel();
    EXPECT_EQ(platform.window.EndResult(), IDCANCEL) << "the close goes on without the pass";
    ASSERT_EQ(passes.WaitLimits().size(), 2u);
    for (std::uint32_t limit : passes.WaitLimits()) EXPECT_LE(limit, 5000u);
}

// A wake-up the window's queue refused must not leave the window waiting for a pass that has
// ended: its thread looks for what was handed over.
TEST_F(PassesTest, HandOversWhoseWakeUpWasLostAreFoundByTheWindowsThread) {
    platform.cache.Add("http://a/1");
    passes.wakeUpsLost = true;
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Static");
    ASSERT_EQ(platform.window.Timers().count(ID_HANDOVER_TIMER), 1u);
    dlg.OnTimer(ID_HANDOVER_TIMER);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(platform.window.Timers().count(ID_HANDOVER_TIMER), 0u) << "the pass has ended";
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(passes.PassesStarted(), 2);
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
