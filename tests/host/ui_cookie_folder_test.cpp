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

}  // namespace
