// The option in the system menu: the pages visited counted with the history and cleared after the
// typed addresses, taken by a pass at its start. (That they are no cached files is the engine's.)
#include "platform/errors.h"
#include "ui_fixture.h"

namespace {

class VisitedOptionTest : public DialogTest {
protected:
    VisitedOptionTest() {
        SeedTyped({"url1"});
        platform.cache.Add("http://a.example/1.gif");
        for (const char* page : {"Visited: user@http://a.example/", "Visited: user@http://b.example/"}) {
            platform.cache.Add(page, kNormalCacheEntry | kUrlHistoryCacheEntry);
        }
    }
};

TEST_F(VisitedOptionTest, OnTheyCountWithTheHistoryAndGoAfterTheTypedAddresses) {
    dlg.OnInitDialog();
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_EQ(dlg.OnSysCommand(IDM_VISITED), CBrumixDlg::SystemCommand::Handled);
    EXPECT_TRUE(platform.window.SystemMenuEntries().at(0).checked);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 3") << "counted again at once";
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Cached Files: 1");

    platform.faults.FailCall("DeleteUrlCacheEntry", kErrorInvalidParameter);
    Select(IDC_HISTORY);
    const long from = static_cast<long>(platform.faults.Events().size());
    dlg.OnClearNow();
    EXPECT_LT(At("RegDeleteValue", from), At("DeleteUrlCacheEntry", from)) << "the typed addresses first";
    EXPECT_EQ(platform.cache.Size(), 2u) << "one page refused, the cached file stays with its box unticked";
    EXPECT_TRUE(platform.window.MessageBoxes().empty()) << "no box for a page visited";
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    dlg.OnSysCommand(IDM_VISITED);
    EXPECT_FALSE(platform.window.SystemMenuEntries().at(0).checked);
}

// A pass takes the option at its start; one changed meanwhile is counted once the pass ends.
TEST_F(VisitedOptionTest, OptionChangedDuringAPassIsCountedWhenItEnds) {
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

}  // namespace
