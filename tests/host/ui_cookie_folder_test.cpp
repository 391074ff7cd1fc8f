// The cookie folder sweep: only outside the NT family, only *.txt, and a walk that always ends.
#include "ui_fixture.h"

namespace {

constexpr char kFolder[] = "C:\\WINDOWS\\Cookies";

class CookieFolderDisplayTest : public DialogTest {
protected:
    CookieFolderDisplayTest() {
        g_bIsNT = 0;
        platform.files.AddFolder("C:\\WINDOWS");
        platform.files.AddFolder(kFolder);
    }
    void AddCookies(std::initializer_list<const char*> names) {
        for (const char* name : names) platform.files.AddFile(kFolder, name);
    }
};

TEST_F(CookieFolderDisplayTest, NtFamilyNeverLooks) {
    AddCookies({"a.txt"});
    g_bIsNT = 1;
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_TRUE(platform.files.HasFile(kFolder, "a.txt"));
    EXPECT_EQ(platform.files.CurrentDir(), "C:\\");
}

TEST_F(CookieFolderDisplayTest, EmptyWindowsDirectoryNeverLooks) {
    AddCookies({"a.txt"});
    g_strWindowsDir.clear();
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(platform.files.CurrentDir(), "C:\\");
}

TEST_F(CookieFolderDisplayTest, MissingFolderCountsNothingElsewhere) {
    MainWindowPlatform other;
    other.files.AddFolder("C:\\WINDOWS");
    other.files.AddFile("C:\\WINDOWS", "readme.txt");
    CBrumixDlg otherDlg(other.window, other.Services(), other.passes);
    EXPECT_EQ(otherDlg.SweepCookieFolder(1, 0), 0);
    EXPECT_TRUE(other.files.HasFile("C:\\WINDOWS", "readme.txt"));
}

TEST_F(CookieFolderDisplayTest, CountingCountsEachTxtFileOnce) {
    AddCookies({"a.txt", "b.txt", "c.txt"});
    platform.files.AddFile(kFolder, "index.dat");
    EXPECT_EQ(dlg.SweepCookieFolder(0, 1), 3);
    EXPECT_EQ(dlg.SweepCookieFolder(1, 1), 3);
    EXPECT_EQ(dlg.SweepCookieFolder(0, 0), 3);
    EXPECT_EQ(platform.files.Files(kFolder).size(), 4u);
    EXPECT_EQ(platform.files.CurrentDir(), "C:\\WINDOWS\\Cookies\\");
}

TEST_F(CookieFolderDisplayTest, DeletingEverythingLeavesOnlyOtherFiles) {
    AddCookies({"a.txt", "b.txt", "c.txt"});
    platform.files.AddFile(kFolder, "index.dat");
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(platform.files.Files(kFolder), std::vector<std::string>{"index.dat"});
    EXPECT_EQ(platform.files.OpenSearches(), 0);
}

TEST_F(CookieFolderDisplayTest, UndeletableFileFirstIsCountedOncePerSearch) {
    platform.files.AddFile(kFolder, "locked.txt", true);
    AddCookies({"a.txt", "b.txt"});
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 5);
    EXPECT_EQ(platform.files.Files(kFolder), std::vector<std::string>{"locked.txt"});
    EXPECT_EQ(platform.files.OpenSearches(), 0);
}

TEST_F(CookieFolderDisplayTest, FilePendingDeletionEndsTheWalk) {
    platform.files.AddFile(kFolder, "held.txt", false, true);
    AddCookies({"a.txt"});
    // held.txt: reported deleted (1), met again and passed over (2); a.txt deleted (3);
    // the fresh search meets held.txt once more (4) and ends.
    EXPECT_EQ(dlg.SweepCookieFolder(1, 0), 4);
    EXPECT_EQ(platform.files.Files(kFolder), std::vector<std::string>{"held.txt"});
    EXPECT_EQ(platform.files.DeleteAttempts(), 2);
    EXPECT_EQ(platform.files.OpenSearches(), 0);
}

TEST_F(CookieFolderDisplayTest, RootWindowsDirectoryIsJoinedWithOneSeparator) {
    MainWindowPlatform other;
    other.files.AddFolder("C:\\Cookies");
    other.files.AddFile("C:\\Cookies", "a.txt");
    g_strWindowsDir = "C:\\";
    CBrumixDlg otherDlg(other.window, other.Services(), other.passes);
    EXPECT_EQ(otherDlg.SweepCookieFolder(0, 1), 1);
    EXPECT_EQ(other.files.CurrentDir(), "C:\\Cookies\\");
}

TEST_F(CookieFolderDisplayTest, FailedNextRequestEndsWithTheCountSoFar) {
    AddCookies({"a.txt", "b.txt", "c.txt"});
    platform.faults.FailCall("FindNextFile", 5, 2);
    EXPECT_EQ(dlg.SweepCookieFolder(0, 1), 2);
    EXPECT_EQ(platform.files.OpenSearches(), 0);
}

}  // namespace
