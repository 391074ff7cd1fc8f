// The sniffer: its two timers, the heartbeat, the interval slider and the automatic clear.
#include "settings/settings_store.h"
#include "ui_fixture.h"

namespace {

class SnifferTest : public DialogTest {
protected:
    SnifferTest() {
        platform.window.SliderSetRange(IDC_INTERVAL, 1, 60);
        platform.window.SliderSetPos(IDC_INTERVAL, 2);
        platform.window.ProgressSetRange(IDC_PROGRESS, 0, 60);
    }
    void SwitchSniffer(int state) {
        platform.window.SetCheck(IDC_SNIFFER, state);
        dlg.OnSniffer();
    }
    std::map<std::uint32_t, std::uint32_t> Running() { return platform.window.Timers(); }
};

TEST_F(SnifferTest, SwitchingOnStartsBothTimersAtTheSlidersInterval) {
    platform.window.SliderSetPos(IDC_INTERVAL, 30);
    SwitchSniffer(1);
    EXPECT_EQ(Running(), (std::map<std::uint32_t, std::uint32_t>{{ID_SNIFF_TIMER, 30000}, {ID_PULSE_TIMER, 300}}));
    EXPECT_EQ(Text(IDC_SNIFFER), "Sniff: every 30 second(s)");
    EXPECT_EQ(Text(IDC_STATUS), "Sniffer Timer ON");
    EXPECT_TRUE(Control(IDC_AUTO_CLEAR).enabled);
}

TEST_F(SnifferTest, IntervalEndsGiveTheirPeriods) {
    platform.window.SliderSetPos(IDC_INTERVAL, 1);
    SwitchSniffer(1);
    EXPECT_EQ(Running().at(ID_SNIFF_TIMER), 1000u);
    EXPECT_EQ(Running().at(ID_PULSE_TIMER), 10u);
    SwitchSniffer(0);
    platform.window.SliderSetPos(IDC_INTERVAL, 60);
    SwitchSniffer(1);
    EXPECT_EQ(Running().at(ID_SNIFF_TIMER), 60000u);
    EXPECT_EQ(Running().at(ID_PULSE_TIMER), 600u);
}

TEST_F(SnifferTest, SwitchingOffStopsBothTimersAndKeepsTheAutoClearCheck) {
    SwitchSniffer(1);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    SwitchSniffer(0);
    EXPECT_TRUE(Running().empty());
    EXPECT_EQ(Text(IDC_STATUS), "Sniffer Timer OFF");
    EXPECT_FALSE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 1);
    SwitchSniffer(1);
    EXPECT_TRUE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 1);
}

TEST_F(SnifferTest, HeartbeatCyclesOneToSixtyAndRestartsAtZeroOnEverySwitch) {
    SwitchSniffer(1);
    std::vector<int> seen;
    for (int tick = 0; tick < 121; ++tick) {
        dlg.OnTimer(ID_PULSE_TIMER);
        seen.push_back(platform.window.ProgressPos());
        EXPECT_EQ(g_nPulsePos, seen.back());
    }
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[59], 60);
    EXPECT_EQ(seen[60], 1);
    EXPECT_EQ(seen[120], 1);
    EXPECT_EQ(*std::min_element(seen.begin(), seen.end()), 1);
    SwitchSniffer(0);
    EXPECT_EQ(platform.window.ProgressPos(), 0);
    EXPECT_EQ(g_nPulsePos, 0);
    dlg.OnTimer(ID_PULSE_TIMER);
    SwitchSniffer(1);
    EXPECT_EQ(platform.window.ProgressPos(), 0);
    EXPECT_EQ(g_nPulsePos, 0);
}

TEST_F(SnifferTest, AnyScrollSwitchesARunningSnifferOffForGood) {
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    SwitchSniffer(1);
    dlg.OnTimer(ID_PULSE_TIMER);
    platform.window.SliderSetPos(IDC_INTERVAL, 7);
    dlg.OnIntervalScroll(true);
    EXPECT_EQ(Control(IDC_SNIFFER).check, 0);
    EXPECT_TRUE(Running().empty());
    EXPECT_EQ(platform.window.ProgressPos(), 0);
    EXPECT_EQ(Text(IDC_STATUS), "Sniffer Timer OFF");
    EXPECT_FALSE(Control(IDC_AUTO_CLEAR).enabled);
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 1);
    EXPECT_EQ(Text(IDC_SNIFFER), "Sniff: every 7 second(s)");

    platform.window.SliderSetPos(IDC_INTERVAL, 9);
    dlg.OnIntervalScroll(true);
    EXPECT_EQ(Control(IDC_SNIFFER).check, 0);
    EXPECT_TRUE(Running().empty());
    EXPECT_EQ(Text(IDC_SNIFFER), "Sniff: every 9 second(s)");
}

TEST_F(SnifferTest, ScrollFromAnotherControlIsIgnored) {
    SwitchSniffer(1);
    dlg.OnIntervalScroll(false);
    EXPECT_EQ(Control(IDC_SNIFFER).check, 1);
    EXPECT_EQ(Running().size(), 2u);
}

TEST_F(SnifferTest, ClosingWhileRunningSavesOnAndThenStops) {
    SwitchSniffer(1);
    dlg.OnCancel();
    EXPECT_EQ(platform.registry.ValueBytes(kSettingsPath, "snifTimer"), (std::vector<std::uint8_t>{'1', 0}));
    EXPECT_TRUE(Running().empty());
    EXPECT_EQ(Control(IDC_SNIFFER).check, 0);
    EXPECT_EQ(platform.window.EndResult(), IDCANCEL);
}

TEST_F(SnifferTest, SniffTickCountsUnlessAutoClearApplies) {
    platform.cache.Add("http://a/1");
    SwitchSniffer(1);
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(platform.cache.Size(), 1u);

    // Each condition alone is not enough.
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    platform.window.SetCheck(IDC_TEMP_FILES, 1);
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(platform.cache.Size(), 1u);
    platform.window.minimised = true;
    platform.window.SetCheck(IDC_AUTO_CLEAR, 0);
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(platform.cache.Size(), 1u);
    EXPECT_EQ(platform.window.Title(), "t:1-c:0");

    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_EQ(Text(IDC_STATUS), "Done!");
    EXPECT_EQ(platform.window.Title(), "t:0-c:0");
}

TEST_F(SnifferTest, AutoClearBoxIsAskedBeforeTheWindowState) {
    // Whether the window is minimised is asked only once the automatic clear is ticked;
    // otherwise the first question of the tick is the count's own.
    const auto firstAfter = [&](std::size_t from) {
        const auto& events = platform.faults.Events();
        for (std::size_t i = from; i < events.size(); ++i) {
            if (events[i].rfind("IsMinimised", 0) == 0 || events[i] == "RegOpenKeyEx") return events[i];
        }
        return std::string();
    };
    platform.window.minimised = true;
    std::size_t from = platform.faults.Events().size();
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(firstAfter(from), "RegOpenKeyEx");

    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    from = platform.faults.Events().size();
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(firstAfter(from).rfind("IsMinimised", 0), 0u);
}

TEST_F(SnifferTest, MinimisedAutoClearWithoutSelectionOnlyCounts) {
    platform.cache.Add("http://a/1");
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    platform.window.minimised = true;
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(platform.cache.Size(), 1u);
    EXPECT_TRUE(platform.window.MessageBoxes().empty());
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
}

TEST_F(SnifferTest, OtherTimerIdsChangeNothing) {
    SwitchSniffer(1);
    const auto before = platform.faults.Events().size();
    dlg.OnTimer(3);
    dlg.OnTimer(0);
    EXPECT_EQ(platform.faults.Events().size(), before);
}

TEST_F(SnifferTest, TickInsideAClearsMessageBoxIsHeldOff) {
    SeedTyped({"url1", "url2"});
    platform.registry.ProtectValue(kTypedUrlsPath, "url1");
    platform.cache.Add("http://a/1");
    platform.window.SetCheck(IDC_HISTORY, 1);
    platform.window.SetCheck(IDC_TEMP_FILES, 1);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    platform.window.minimised = true;
    SwitchSniffer(1);

    std::size_t callsWhenBoxOpened = 0;
    std::size_t callsAfterNestedTicks = 0;
    platform.window.whileMessageBoxOpen = [&](const MemoryWindow::MessageBoxShown&) {
        callsWhenBoxOpened = platform.faults.Calls().size();
        dlg.OnTimer(ID_SNIFF_TIMER);
        dlg.OnTimer(ID_PULSE_TIMER);
        callsAfterNestedTicks = platform.faults.Calls().size();
    };
    dlg.OnTimer(ID_SNIFF_TIMER);
    ASSERT_EQ(platform.window.MessageBoxes().size(), 1u);
    EXPECT_EQ(callsAfterNestedTicks, callsWhenBoxOpened);
    EXPECT_EQ(platform.window.ProgressPos(), 1);
    EXPECT_EQ(platform.registry.DeletedNames(), std::vector<std::string>{"url2"});
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_EQ(Text(IDC_STATUS), "Done!");

    // Once the clear is over, ticks are handled again.
    platform.cache.Add("http://a/2");
    platform.window.whileMessageBoxOpen = nullptr;
    dlg.OnTimer(ID_SNIFF_TIMER);
    EXPECT_EQ(platform.cache.Size(), 0u);
}

TEST_F(SnifferTest, AutoClearNeedsASelection) {
    SwitchSniffer(1);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    dlg.OnAutoClear();
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 0);
    EXPECT_EQ(Text(IDC_STATUS), "Select 'Temporary' (+ Cookies) or 'History' first");

    Control(IDC_STATUS).text = "before";
    platform.window.SetCheck(IDC_HISTORY, 1);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 1);
    dlg.OnAutoClear();
    EXPECT_EQ(Control(IDC_AUTO_CLEAR).check, 1);
    EXPECT_EQ(Text(IDC_STATUS), "before");

    platform.window.SetCheck(IDC_HISTORY, 0);
    platform.window.SetCheck(IDC_AUTO_CLEAR, 0);
    dlg.OnAutoClear();
    EXPECT_EQ(Text(IDC_STATUS), "before");
}

}  // namespace
