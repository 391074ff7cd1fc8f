// The typed-address sweep: what it lists, counts and deletes, and what it leaves on screen.
#include "ui_fixture.h"

namespace {

constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

class TypedUrlsDisplayTest : public DialogTest {
protected:
    void Seed(std::initializer_list<const char*> names) {
        platform.registry.AddKey(kTypedUrls);
        for (const char* name : names) platform.registry.SetText(kTypedUrls, name, std::string("http://") + name + "/");
    }
    std::vector<std::string> Remaining() { return platform.registry.ValueNames(kTypedUrls); }
};

TEST_F(TypedUrlsDisplayTest, EmptyKeyShowsZeroAndTheCleanMark) {
    platform.registry.AddKey(kTypedUrls);
    EXPECT_EQ(dlg.ScanTypedUrls(1), 0);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 0");
    EXPECT_FALSE(Control(IDC_FOUND_MARK).visible);
    EXPECT_TRUE(Control(IDC_CLEAN_MARK).visible);
    EXPECT_EQ(platform.registry.OpenKeys(), 0);
}

TEST_F(TypedUrlsDisplayTest, NamesAreListedInTheListsOrderAndDeletedInIt) {
    Seed({"url1", "url2", "url10"});
    EXPECT_EQ(dlg.ScanTypedUrls(1), 3);
    EXPECT_EQ(platform.window.List(), (std::vector<std::string>{"url1", "url10", "url2"}));
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_URL_LIST).visible);

    EXPECT_EQ(dlg.ScanTypedUrls(0), 3);
    EXPECT_EQ(platform.registry.DeletedNames(), (std::vector<std::string>{"url1", "url10", "url2"}));
    EXPECT_TRUE(Remaining().empty());
}

TEST_F(TypedUrlsDisplayTest, DeletingSweepShowsTheNumberListedAndTheNextCountZero) {
    Seed({"url1", "url2", "url3", "url4", "url5"});
    EXPECT_EQ(dlg.ScanTypedUrls(0), 5);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 5");
    EXPECT_EQ(dlg.ScanTypedUrls(1), 0);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 0");
}

TEST_F(TypedUrlsDisplayTest, AnyFlagButOneDeletes) {
    Seed({"url1", "url2"});
    dlg.ScanTypedUrls(2);
    EXPECT_TRUE(Remaining().empty());
}

TEST_F(TypedUrlsDisplayTest, ValueThatCannotBeDeletedIsNamedInItsBox) {
    Seed({"url1", "url2", "url3"});
    platform.registry.ProtectValue(kTypedUrls, "url2");
    EXPECT_EQ(dlg.ScanTypedUrls(0), 3);
    ASSERT_EQ(platform.window.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform.window.MessageBoxes()[0].text, "NOT DELETED");
    EXPECT_EQ(platform.window.MessageBoxes()[0].caption, "url2");
    EXPECT_EQ(platform.window.MessageBoxes()[0].style, 0u);
    EXPECT_EQ(Remaining(), std::vector<std::string>{"url2"});
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 3");
    EXPECT_EQ(platform.registry.OpenKeys(), 0);
}

TEST_F(TypedUrlsDisplayTest, MissingOrLockedKeyLeavesTheScreenAsItWas) {
    EXPECT_EQ(dlg.ScanTypedUrls(0), -1);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "Static");
    EXPECT_TRUE(Control(IDC_FOUND_MARK).visible);
    EXPECT_FALSE(Control(IDC_CLEAN_MARK).visible);

    Seed({"url1"});
    dlg.ScanTypedUrls(1);
    platform.registry.DenyAccess(kTypedUrls);
    platform.window.ListAdd(IDC_URL_LIST, "kept");
    EXPECT_EQ(dlg.ScanTypedUrls(0), -1);
    EXPECT_EQ(Text(IDC_HISTORY_COUNT), "URLs In History: 1");
    EXPECT_EQ(platform.window.List().size(), 2u);
    EXPECT_EQ(Remaining(), std::vector<std::string>{"url1"});
}

TEST_F(TypedUrlsDisplayTest, LongNamesAndLongAddressesDoNotEndTheListing) {
    platform.registry.AddKey(kTypedUrls);
    platform.registry.SetText(kTypedUrls, "url1", "http://a/");
    platform.registry.SetText(kTypedUrls, "url2", "http://a/" + std::string(4000, 'x'));
    platform.registry.SetText(kTypedUrls, "url3", "http://b/");
    platform.registry.SetText(kTypedUrls, std::string(300, 'n'), "http://c/");
    platform.registry.SetText(kTypedUrls, std::string(kMaxValueNameChars, 'm'), "http://d/");
    platform.registry.SetText(kTypedUrls, "url4", "http://e/");
    EXPECT_EQ(dlg.ScanTypedUrls(1), 6);
    EXPECT_EQ(dlg.ScanTypedUrls(0), 6);
    EXPECT_TRUE(Remaining().empty());
    EXPECT_TRUE(platform.window.MessageBoxes().empty());
}

TEST_F(TypedUrlsDisplayTest, NestedSweepInsideTheBoxDoesNotChangeWhatIsDeleted) {
    Seed({"url1", "url2", "url3"});
    platform.registry.ProtectValue(kTypedUrls, "url1");
    // While the box is open something else adds an address and counts again, refilling the
    // list: the outer sweep must still delete exactly url2 and url3.
    platform.window.whileMessageBoxOpen = [&](const MemoryWindow::MessageBoxShown&) {
        platform.registry.SetText(kTypedUrls, "new", "http://new/");
        dlg.ScanTypedUrls(1);
    };
    dlg.ScanTypedUrls(0);
    EXPECT_EQ(platform.registry.DeletedNames(), (std::vector<std::string>{"url2", "url3"}));
    EXPECT_EQ(Remaining(), (std::vector<std::string>{"url1", "new"}));
}

TEST_F(TypedUrlsDisplayTest, EnumerationErrorEndsTheListingWithoutLeaking) {
    Seed({"url1", "url2", "url3"});
    platform.faults.FailCall("RegEnumValue", 5, 2);
    EXPECT_EQ(dlg.ScanTypedUrls(0), 1);
    EXPECT_EQ(Remaining(), (std::vector<std::string>{"url2", "url3"}));
    EXPECT_EQ(platform.registry.OpenKeys(), 0);
}

}  // namespace
