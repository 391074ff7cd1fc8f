// Stored settings applied at start and written at close; the sniffer, its slider and the auto clear.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <set>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

class SettingsAndSniffer : public E2eTest {
protected:
    bool Topmost() const { return (GetWindowLongA(app.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    // The heartbeat is running when the bar shows several different non-zero positions.
    bool HeartbeatRuns(Millis limit) const {
        std::set<int> seen;
        WaitUntil(
            [&] {
                int pos = app.ProgressPos();
                if (pos > 0 && pos <= 60) seen.insert(pos);
                return seen.size() >= 3;
            },
            limit, Millis(5));
        return seen.size() >= 3;
    }
};

TEST_F(SettingsAndSniffer, StoredChoicesRunTheSnifferWhichCountsAndClearsWhileMinimised) {
    ASSERT_NO_FATAL_FAILURE(Remember({{"cached_urls", "1"},
                                      {"IE_history", "1"},
                                      {"snifTimer", "1"},
                                      {"auto_clear", "1"},
                                      {"timer", "2"},
                                      {"modal", "0"}}));
    SeedCacheFiles(1);
    SeedCookieDomains(1);
    SeedTypedUrls({"typed"});
    ASSERT_TRUE(app.Start());

    EXPECT_EQ(app.Check(IDC_TEMP_FILES), BST_CHECKED);
    EXPECT_TRUE(app.Enabled(IDC_COOKIES)) << "the restored files tick enables the cookie box";
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_UNCHECKED) << "no stored cookies value";
    EXPECT_EQ(app.Check(IDC_HISTORY), BST_CHECKED);
    EXPECT_EQ(app.SliderPos(), 2);
    EXPECT_EQ(app.Check(IDC_SNIFFER), BST_CHECKED);
    EXPECT_EQ(app.Text(IDC_SNIFFER), SniffCaption(2));
    EXPECT_TRUE(app.Enabled(IDC_AUTO_CLEAR));
    EXPECT_EQ(app.Check(IDC_AUTO_CLEAR), BST_CHECKED);
    EXPECT_EQ(app.Check(IDC_ON_TOP), BST_UNCHECKED);
    EXPECT_FALSE(Topmost());
    EXPECT_EQ(app.Text(IDC_STATUS), "Sniffer Timer ON") << "the last text the restored handlers wrote";
    EXPECT_EQ(app.Title(), "Win Brumix");
    ExpectCounters(1, 1, 1);
    EXPECT_TRUE(HeartbeatRuns(Millis(3000))) << "the progress bar does not move";

    // Not minimised, a tick only counts, even with the automatic clear armed.
    SeedCacheFiles(2);
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_CACHED_COUNT) == CachedText(3); }, Millis(7000)))
        << "no sniff tick counted the new entries: " << app.Text(IDC_CACHED_COUNT);
    ExpectCensus(3, 1);

    // A key press on the slider is a scroll: the sniffer stops, the automatic clear keeps its tick.
    ASSERT_TRUE(app.PressKey(IDC_INTERVAL, VK_RIGHT));
    EXPECT_EQ(app.SliderPos(), 3);
    EXPECT_EQ(app.Check(IDC_SNIFFER), BST_UNCHECKED);
    EXPECT_EQ(app.Text(IDC_SNIFFER), SniffCaption(3));
    EXPECT_EQ(app.Text(IDC_STATUS), "Sniffer Timer OFF");
    EXPECT_FALSE(app.Enabled(IDC_AUTO_CLEAR));
    EXPECT_EQ(app.Check(IDC_AUTO_CLEAR), BST_CHECKED);
    EXPECT_EQ(app.ProgressPos(), 0);
    EXPECT_FALSE(WaitUntil([&] { return app.ProgressPos() != 0; }, Millis(400))) << "the heartbeat goes on";

    ASSERT_TRUE(app.PressKey(IDC_INTERVAL, VK_LEFT));
    ASSERT_TRUE(app.PressKey(IDC_INTERVAL, VK_LEFT));
    EXPECT_EQ(app.SliderPos(), 1);
    EXPECT_EQ(app.Text(IDC_SNIFFER), SniffCaption(1));
    EXPECT_EQ(app.Check(IDC_SNIFFER), BST_UNCHECKED) << "moving the slider never switches the sniffer on";

    ASSERT_TRUE(app.Click(IDC_SNIFFER));
    EXPECT_EQ(app.Check(IDC_SNIFFER), BST_CHECKED);
    EXPECT_EQ(app.Text(IDC_STATUS), "Sniffer Timer ON");
    EXPECT_TRUE(app.Enabled(IDC_AUTO_CLEAR));
    EXPECT_EQ(app.Check(IDC_AUTO_CLEAR), BST_CHECKED);
    EXPECT_TRUE(HeartbeatRuns(Millis(2000)));

    ASSERT_TRUE(app.Click(IDC_ON_TOP));
    EXPECT_EQ(app.Check(IDC_ON_TOP), BST_CHECKED);
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(app.Text(IDC_STATUS), "Sniffer Timer ON") << "the on-top box writes no status";

    // Minimised with the automatic clear armed, a tick clears what the driver adds meanwhile.
    ASSERT_TRUE(app.Minimise());
    SeedCacheFiles(3);
    SeedTypedUrls({"fresh1", "fresh2"});
    EXPECT_TRUE(WaitUntil(
        [&] {
            CacheCensus census = TakeCensus();
            return census.complete && census.files.empty() && ValueNames(kTypedUrlsPath).empty();
        },
        Millis(6000)))
        << "the minimised sniffer did not clear the new entries and typed addresses";
    ExpectCensus(0, 1);
    EXPECT_TRUE(WaitUntil([&] { return app.Title() == "t:0-c:1"; }, Millis(4000)))
        << "title while minimised: " << app.Title();
    // The clear's "Done!" follows its recount's title.
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_STATUS) == "Done!"; }, Millis(4000))) << app.Text(IDC_STATUS);
    EXPECT_TRUE(IsIconic(app.Main()));

    ASSERT_TRUE(app.Restore());
    EXPECT_TRUE(WaitUntil([&] { return app.Title() == "Win Brumix"; }, Millis(4000)))
        << "title after restoring: " << app.Title();
    // A clear that a tick started before the restore may still run; it disables BRUMIX.
    EXPECT_TRUE(WaitUntil([&] { return app.Enabled(IDOK); }, Millis(10000)));
    // Restored, ticks count again instead of clearing.
    SeedCacheFiles(1);
    EXPECT_TRUE(WaitUntil([&] { return app.Text(IDC_CACHED_COUNT) == CachedText(1); }, Millis(4000)));
    ExpectCensus(1, 1);

    ASSERT_TRUE(app.Close());
    ExpectStored({{"cached_urls", "1"},
                  {"cookies", "0"},
                  {"IE_history", "1"},
                  {"snifTimer", "1"},
                  {"auto_clear", "1"},
                  {"timer", "1"},
                  {"modal", "1"}});

    // The next start takes all of it up again: the sniffer runs at once at the stored interval.
    BrumixProcess again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.Check(IDC_SNIFFER), BST_CHECKED);
    EXPECT_EQ(again.Text(IDC_SNIFFER), SniffCaption(1));
    EXPECT_EQ(again.Check(IDC_ON_TOP), BST_CHECKED);
    EXPECT_TRUE(GetWindowLongA(again.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(again.Text(IDC_STATUS), "Sniffer Timer ON");
    ASSERT_TRUE(again.Close());
}

// Values a user cannot make with a click: a cookie tick under an unticked files box, another
// value type, out-of-range numbers, and an automatic clear with nothing selected.
TEST_F(SettingsAndSniffer, OddStoredValuesRestoreAsTheirHandlersDecide) {
    ASSERT_EQ(SetTextValue(kSettingsPath, "cached_urls", "0"), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "cookies", "1"), ERROR_SUCCESS);
    ASSERT_EQ(SetRawValue(kSettingsPath, L"IE_history", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "timer", "75"), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "snifTimer", "0"), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "auto_clear", "1"), ERROR_SUCCESS);
    ASSERT_EQ(SetTextValue(kSettingsPath, "modal", "2"), ERROR_SUCCESS);
    ASSERT_TRUE(app.Start());

    EXPECT_EQ(app.Check(IDC_TEMP_FILES), BST_UNCHECKED);
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_CHECKED);
    EXPECT_FALSE(app.Enabled(IDC_COOKIES));
    EXPECT_EQ(app.Check(IDC_HISTORY), BST_UNCHECKED) << "the bytes 01 00 00 00 read as a text that is no number";
    EXPECT_EQ(app.SliderPos(), 2) << "75 is out of range and ignored";
    EXPECT_EQ(app.Text(IDC_SNIFFER), SniffCaption(2));
    EXPECT_EQ(app.Check(IDC_SNIFFER), BST_UNCHECKED);
    EXPECT_EQ(app.Check(IDC_AUTO_CLEAR), BST_UNCHECKED) << "nothing selected, so the restored tick is undone";
    EXPECT_FALSE(app.Enabled(IDC_AUTO_CLEAR));
    EXPECT_EQ(app.Check(IDC_ON_TOP), BST_UNCHECKED);
    EXPECT_EQ(app.Text(IDC_STATUS), "Select 'Temporary' (+ Cookies) or 'History' first");

    ASSERT_TRUE(app.Close());
    ExpectStored({{"cached_urls", "0"},
                  {"cookies", "1"},
                  {"IE_history", "0"},
                  {"snifTimer", "0"},
                  {"auto_clear", "0"},
                  {"timer", "2"},
                  {"modal", "0"}});
}

}  // namespace
}  // namespace e2e
