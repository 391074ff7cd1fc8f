// The option in the system menu: the pages visited counted and cleared with the history, under
// either reading of the cache walk; and kept out of the temporary files with the option off.
#include "platform/errors.h"
#include "ui_fixture.h"

namespace {

class VisitedOptionTest : public DialogTest, public ::testing::WithParamInterface<CachePatternReading> {
protected:
    VisitedOptionTest() {
        platform.cache.ReadPatternsAs(GetParam());
        SeedTyped({"url1"});
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        platform.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
        platform.cache.Add("Visited: user@http://b.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    }
    std::size_t VisitedLeft() {
        std::size_t left = 0;
        for (const std::string& url : platform.cache.Urls()) left += url.rfind("Visited:", 0) == 0 ? 1 : 0;
        return left;
    }
};

TEST_P(VisitedOptionTest, OffTheyAreInNoCounterAndNoClear) {
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_FALSE(platform.window.SystemMenuEntries().at(0).checked);
    Select(IDC_TEMP_FILES);
    Select(IDC_COOKIES);
    Select(IDC_HISTORY);
    dlg.OnClearNow();
    EXPECT_EQ(VisitedLeft(), 2u);
    EXPECT_EQ(platform.cache.Size(), 2u);
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible) << "what is left is nothing the window clears";
}

TEST_P(VisitedOptionTest, OnTheyCountWithTheHistoryAndGoAfterTheTypedAddresses) {
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.OnSysCommand(IDM_VISITED), CBrumixDlg::SystemCommand::Handled);
    EXPECT_TRUE(platform.window.SystemMenuEntries().at(0).checked);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 3") << "counted again at once";
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");

    platform.faults.FailCall("DeleteUrlCacheEntry", kErrorInvalidParameter);
    Select(IDC_HISTORY);
    const long from = static_cast<long>(platform.faults.Events().size());
    dlg.OnClearNow();
    EXPECT_LT(At("RegDeleteValue", from), At("DeleteUrlCacheEntry", from)) << "the typed addresses first";
    EXPECT_EQ(VisitedLeft(), 1u) << "one refused";
    EXPECT_TRUE(platform.window.MessageBoxes().empty()) << "no box for a page visited";
    EXPECT_EQ(platform.cache.Size(), 3u) << "the cache's content stays with its box unticked";
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);

    dlg.OnClearNow();
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 0");
    dlg.OnSysCommand(IDM_VISITED);
    EXPECT_FALSE(platform.window.SystemMenuEntries().at(0).checked);
}

// A pass takes the option at its start; one changed meanwhile is counted once the pass ends.
TEST_P(VisitedOptionTest, OptionChangedDuringAPassIsCountedWhenItEnds) {
    platform.passes.runAtOnce = false;
    dlg.OnInitDialog();
    dlg.OnSysCommand(IDM_VISITED);
    EXPECT_EQ(platform.passes.PassesStarted(), 1);
    platform.passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1") << "the first count, without them";
    ASSERT_TRUE(platform.passes.Holding());
    platform.passes.RunHeldPass();
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 3");
}

INSTANTIATE_TEST_SUITE_P(BothReadings, VisitedOptionTest,
                         ::testing::Values(CachePatternReading::EveryContainer, CachePatternReading::Documented));

}  // namespace
