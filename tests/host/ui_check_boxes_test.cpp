// The selection boxes, the on-top box and the status line they write.
#include "ui_fixture.h"

namespace {

class SelectionTest : public DialogTest {
protected:
    void Click(int id, void (CBrumixDlg::*handler)()) {
        ASSERT_TRUE(platform.window.Click(id)) << "control " << id << " is disabled";
        (dlg.*handler)();
    }
};

TEST_F(SelectionTest, TemporaryFilesBoxLeadsTheCookieBox) {
    Click(IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    EXPECT_EQ(Text(IDC_STATUS), "Clear Temporary Files");
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 0);

    Click(IDC_COOKIES, &CBrumixDlg::OnCookies);
    EXPECT_EQ(Text(IDC_STATUS), "Include cookies in Clear ");

    Click(IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    EXPECT_EQ(Text(IDC_STATUS), "Keep Temporary Files");
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 0);

    Click(IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 0);
}

TEST_F(SelectionTest, CheckedButDisabledCookieBoxKeepsItsCheckWhenEnabled) {
    platform.window.SetCheck(IDC_COOKIES, 1);
    Click(IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    EXPECT_TRUE(Control(IDC_COOKIES).enabled);
    EXPECT_EQ(Control(IDC_COOKIES).check, 1);
    Click(IDC_COOKIES, &CBrumixDlg::OnCookies);
    EXPECT_EQ(Text(IDC_STATUS), "Do Not Include cookies in Clear ");
}

TEST_F(SelectionTest, HistoryBoxIsIndependent) {
    Click(IDC_HISTORY, &CBrumixDlg::OnHistory);
    EXPECT_EQ(Text(IDC_STATUS), "Clear IE History");
    EXPECT_FALSE(Control(IDC_COOKIES).enabled);
    Click(IDC_HISTORY, &CBrumixDlg::OnHistory);
    EXPECT_EQ(Text(IDC_STATUS), "Keep IE History");
}

TEST_F(SelectionTest, OnTopChangesOnlyTheZOrder) {
    Control(IDC_STATUS).text = "before";
    Click(IDC_ON_TOP, &CBrumixDlg::OnOnTop);
    EXPECT_TRUE(platform.window.Topmost());
    Click(IDC_ON_TOP, &CBrumixDlg::OnOnTop);
    EXPECT_FALSE(platform.window.Topmost());
    EXPECT_EQ(Text(IDC_STATUS), "before");
}

TEST_F(SelectionTest, NoHandlerCountsOrTouchesAStore) {
    Click(IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    Click(IDC_COOKIES, &CBrumixDlg::OnCookies);
    Click(IDC_HISTORY, &CBrumixDlg::OnHistory);
    Click(IDC_ON_TOP, &CBrumixDlg::OnOnTop);
    EXPECT_TRUE(platform.faults.Calls().empty());
    EXPECT_EQ(Text(IDC_CACHED_COUNT), "Static");
}

}  // namespace
