// What a typed-address pass leaves on screen (the scratch list, the counter, the marks, the box
// naming an address that stays) and what ScanTypedUrls's flag and result mean.
#include "ui_fixture.h"

namespace {

using TypedUrlsDisplayTest = DialogTest;

// Only 1 counts: 2 deletes as 0 does.
TEST_F(TypedUrlsDisplayTest, NamesAreListedInTheListsOrderAndAnyFlagButOneDeletesThemInIt) {
    SeedTyped({"url1", "url2", "url10"});
    EXPECT_EQ(dlg.ScanTypedUrls(1), 3);
    EXPECT_EQ(platform.window.List(IDC_URL_LIST), (std::vector<std::string>{"url1", "url10", "url2"}));
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_URL_LIST).visible);

    EXPECT_EQ(dlg.ScanTypedUrls(2), 3);
    EXPECT_EQ(platform.registry.DeletedNames(), (std::vector<std::string>{"url1", "url10", "url2"}));
}

// A deleting pass shows the number it listed; the next count, of an empty key, shows 0.
TEST_F(TypedUrlsDisplayTest, CounterShowsTheNumberListedAndTheMarksFollowIt) {
    SeedTyped({"url1", "url2", "url3", "url4", "url5"});
    EXPECT_EQ(dlg.ScanTypedUrls(0), 5);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 5");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_EQ(dlg.ScanTypedUrls(1), 0);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 0");
    EXPECT_FALSE(Control(IDC_FOUND_MARK).visible);
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);
}

TEST_F(TypedUrlsDisplayTest, ValueThatCannotBeDeletedIsNamedInItsBox) {
    SeedTyped({"url1", "url2", "url3"});
    platform.registry.ProtectValue(kTypedUrlsPath, "url2");
    EXPECT_EQ(dlg.ScanTypedUrls(0), 3);
    ASSERT_EQ(platform.window.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform.window.MessageBoxes()[0].text, "NOT DELETED");
    EXPECT_EQ(platform.window.MessageBoxes()[0].caption, "url2");
    EXPECT_EQ(platform.window.MessageBoxes()[0].style, 0u);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 3");
}

TEST_F(TypedUrlsDisplayTest, MissingOrLockedKeyLeavesTheScreenAsItWas) {
    EXPECT_EQ(dlg.ScanTypedUrls(0), -1);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "Static");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_CLEAN_MARK).visible);

    SeedTyped({"url1"});
    dlg.ScanTypedUrls(1);
    platform.registry.DenyAccess(kTypedUrlsPath);
    platform.window.ListAdd(IDC_URL_LIST, "kept");
    EXPECT_EQ(dlg.ScanTypedUrls(0), -1);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_EQ(platform.window.List(IDC_URL_LIST).size(), 2u);
}

TEST_F(TypedUrlsDisplayTest, NestedSweepInsideTheBoxDoesNotChangeWhatIsDeleted) {
    SeedTyped({"url1", "url2", "url3"});
    platform.registry.ProtectValue(kTypedUrlsPath, "url1");
    // While the box is open something else adds an address and counts again, refilling the
    // list: the outer sweep must still delete exactly url2 and url3.
    platform.window.whileMessageBoxOpen = [&](const MemoryWindow::MessageBoxShown&) {
        platform.registry.SetText(kTypedUrlsPath, "new", "http://new/");
        dlg.ScanTypedUrls(1);
    };
    dlg.ScanTypedUrls(0);
    EXPECT_EQ(platform.registry.DeletedNames(), (std::vector<std::string>{"url2", "url3"}));
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath), (std::vector<std::string>{"url1", "new"}));
}

}  // namespace
