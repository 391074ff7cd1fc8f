// Clearing through the window: selection boxes, the status line, BRUMIX, the recount and the stores.
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/message_box.h"

namespace e2e {
namespace {

class Clear : public E2eTest {};

TEST_F(Clear, NothingSelectedShowsTheExclamationBoxAndTouchesNothing) {
    SeedTypedUrls({"a", "b"});
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    ASSERT_TRUE(app.Start());
    ExpectCounters(2, 1, 2);

    ASSERT_TRUE(app.PostClick(IDOK));
    HWND box = app.WaitForBox(ProgramName());
    ASSERT_TRUE(box) << "no box captioned \"" << ProgramName() << "\" after BRUMIX with nothing selected";
    EXPECT_EQ(GetWindow(box, GW_OWNER), app.Main());
    MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.caption, ProgramName());
    EXPECT_EQ(view.text, kNothingToClear);
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(view.icon, "exclamation");

    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(PostMessageA(ok, BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, Millis(5000))) << "OK did not close the box";
    ASSERT_TRUE(app.Sync());

    EXPECT_EQ(app.Text(IDC_STATUS), kWelcome) << "the status line keeps its text";
    EXPECT_TRUE(app.Enabled(IDOK));
    ExpectCounters(2, 1, 2);
    ExpectCensus(2, 1);
    EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 2u);
    ASSERT_TRUE(app.Close());
}

// Files and history first with cookies kept, then cookies too, then history alone.
TEST_F(Clear, RemovesExactlyTheChosenTraces) {
    SeedTypedUrls({"url1", "url2", "url3"});
    SeedCacheFiles(4);
    SeedCookieDomains(2);
    ASSERT_TRUE(app.Start());
    ExpectCounters(4, 2, 3);
    ExpectMark(true);

    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    EXPECT_EQ(app.Check(IDC_TEMP_FILES), BST_CHECKED);
    EXPECT_EQ(app.Text(IDC_STATUS), "Clear Temporary Files");
    EXPECT_TRUE(app.Enabled(IDC_COOKIES));
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_UNCHECKED);

    ASSERT_TRUE(app.Click(IDC_HISTORY));
    EXPECT_EQ(app.Check(IDC_HISTORY), BST_CHECKED);
    EXPECT_EQ(app.Text(IDC_STATUS), "Clear IE History");
    // Choosing counts nothing.
    ExpectCounters(4, 2, 3);

    ASSERT_TRUE(app.ClearNow());
    EXPECT_EQ(app.Text(IDC_STATUS), "Done!");
    ExpectCounters(0, 2, 0);
    ExpectMark(true);
    EXPECT_TRUE(app.Enabled(IDOK));
    EXPECT_TRUE(app.Enabled(IDC_COOKIES));
    ExpectCensus(0, 2);
    EXPECT_TRUE(KeyExists(kTypedUrlsPath)) << "the values go, the key stays";
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());

    ASSERT_TRUE(app.Click(IDC_COOKIES));
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_CHECKED);
    EXPECT_EQ(app.Text(IDC_STATUS), "Include cookies in Clear ");
    ASSERT_TRUE(app.ClearNow());
    EXPECT_EQ(app.Text(IDC_STATUS), "Done!");
    ExpectCounters(0, 0, 0);
    ExpectMark(false);
    ExpectCensus(0, 0);

    ASSERT_TRUE(app.Click(IDC_COOKIES));
    EXPECT_EQ(app.Text(IDC_STATUS), "Do Not Include cookies in Clear ");
    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    EXPECT_EQ(app.Text(IDC_STATUS), "Keep Temporary Files");
    EXPECT_FALSE(app.Enabled(IDC_COOKIES));
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_UNCHECKED);

    // History alone: new typed addresses go, new cache entries are only counted.
    SeedTypedUrls({"later1", "later2"});
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    ASSERT_TRUE(app.ClearNow());
    EXPECT_EQ(app.Text(IDC_STATUS), "Done!");
    ExpectCounters(2, 1, 0);
    ExpectMark(true);
    ExpectCensus(2, 1);
    EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
    EXPECT_TRUE(app.Enabled(IDC_COOKIES)) << "a clear enables the cookie box whatever the temporary-files box says";

    ASSERT_TRUE(app.Click(IDC_HISTORY));
    EXPECT_EQ(app.Text(IDC_STATUS), "Keep IE History");
    ASSERT_TRUE(app.Close());
}

// A selection that a clear leaves checked keeps the cookie box ticked when files are chosen again.
TEST_F(Clear, CookieTickKeptAcrossAClearComesBackWithTheFilesBox) {
    SeedCacheFiles(1);
    SeedCookieDomains(1);
    SeedTypedUrls({"one"});
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Click(IDC_HISTORY));
    ASSERT_TRUE(app.ClearNow());
    ASSERT_TRUE(app.Enabled(IDC_COOKIES));
    ASSERT_TRUE(app.Click(IDC_COOKIES));
    EXPECT_EQ(app.Text(IDC_STATUS), "Include cookies in Clear ");
    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    EXPECT_EQ(app.Check(IDC_COOKIES), BST_CHECKED) << "checking the files box keeps the cookie tick";
    EXPECT_TRUE(app.Enabled(IDC_COOKIES));
    ASSERT_TRUE(app.ClearNow());
    ExpectCounters(0, 0, 0);
    ExpectCensus(0, 0);
    ASSERT_TRUE(app.Close());
}

// The pages visited are no temporary files: without the option they stay in every clear and in
// no counter; with it (the system menu's entry) they count and go with the history.
TEST_F(Clear, PagesVisitedGoWithTheHistoryOnlyWithTheOption) {
    SeedTypedUrls({"url1"});
    SeedCacheFiles(2);
    SeedVisitedPages(3);
    ASSERT_TRUE(app.Start());
    ExpectCounters(2, 0, 1);
    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    ASSERT_TRUE(app.Click(IDC_HISTORY));
    ASSERT_TRUE(app.ClearNow());
    ExpectCounters(0, 0, 0);
    EXPECT_EQ(TakeCensus().visited.size(), 3u);

    ASSERT_TRUE(PostMessageA(app.Main(), WM_SYSCOMMAND, IDM_VISITED, 0));
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_HISTORY_COUNT) == HistoryText(3); }, Millis(10000)))
        << app.Text(IDC_HISTORY_COUNT);
    ExpectMark(true);
    ASSERT_TRUE(app.ClearNow());
    ExpectCounters(0, 0, 0);
    EXPECT_TRUE(TakeCensus().visited.empty());
    ASSERT_TRUE(app.Close());
    const std::optional<RegValue> stored = ReadValue(kSettingsPath, "visited");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->data, SzValue("1").data);
}

}  // namespace
}  // namespace e2e
