// Win32FileSearch and Win32SystemFacts on the NT family, and the cookie folder left alone there.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/errors.h"
#include "res/resource.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_dialog.h"
#include "tests/support/wine_files.h"
#include "ui/globals.h"

namespace {

constexpr char kFolder[] = "C:\\brumix-files";

class Win32FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeEmptyFolder(kFolder);
        ASSERT_TRUE(MakeFile(kFolder, "a.txt"));
        ASSERT_TRUE(MakeFile(kFolder, "b.txt"));
        ASSERT_TRUE(MakeFile(kFolder, "notes.log"));
        ASSERT_TRUE(files.SetCurrentDir(kFolder));
    }
    void TearDown() override { RemoveFolder(kFolder); }

    std::set<std::string> Matches(const std::string& pattern) {
        std::set<std::string> names;
        std::string name;
        const FileSearch::SearchHandle search = files.FindFirst(pattern, name);
        if (search == FileSearch::kNoSearch) return names;
        names.insert(name);
        while (files.FindNext(search, name)) names.insert(name);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(kErrorNoMoreFiles));
        files.CloseSearch(search);
        return names;
    }

    Win32FileSearch files;
};

TEST_F(Win32FileSearchTest, SearchIsRelativeToTheCurrentDirectoryAndGivesBareNames) {
    EXPECT_EQ(Matches("*.txt"), (std::set<std::string>{"a.txt", "b.txt"}));
    std::string untouched = "unchanged";
    EXPECT_EQ(files.FindFirst("*.zip", untouched), FileSearch::kNoSearch);
    EXPECT_EQ(untouched, "unchanged");
}

TEST_F(Win32FileSearchTest, CurrentDirectoryCannotBeAMissingFolder) {
    EXPECT_FALSE(files.SetCurrentDir("C:\\brumix-no-such-folder"));
    EXPECT_EQ(Matches("*.txt"), (std::set<std::string>{"a.txt", "b.txt"})) << "a failed change keeps the old one";
}

TEST_F(Win32FileSearchTest, DeletionByBareNameRemovesTheFileOnce) {
    EXPECT_TRUE(files.DeleteByName("a.txt"));
    EXPECT_FALSE(files.DeleteByName("a.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(kErrorFileNotFound));
    EXPECT_EQ(Matches("*.txt"), std::set<std::string>{"b.txt"});
}

TEST_F(Win32FileSearchTest, ReadOnlyFileRefusesDeletionWithAccessDenied) {
    ASSERT_TRUE(MakeFile(kFolder, "locked.txt", true));
    EXPECT_FALSE(files.DeleteByName("locked.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(kErrorAccessDenied));
    EXPECT_EQ(Matches("locked.txt"), std::set<std::string>{"locked.txt"});
}

TEST(Win32SystemFactsTest, NtFamilyAndTheWindowsDirectoryWithoutTrailingSeparator) {
    Win32SystemFacts system;
    std::uint32_t platform = 0;
    ASSERT_TRUE(system.QueryPlatformId(platform));
    EXPECT_EQ(platform, kPlatformWin32Nt);

    std::string windowsDir;
    ASSERT_TRUE(system.QueryWindowsDirectory(windowsDir));
    char expected[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("windir", expected, MAX_PATH), 0u);
    EXPECT_EQ(lstrcmpiA(windowsDir.c_str(), expected), 0) << windowsDir << " vs " << expected;
    EXPECT_NE(windowsDir.back(), '\\');
}

class NtCookieFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ClearCache());
        MakeEmptyFolder(CookieFolderPath());
        ASSERT_TRUE(MakeFile(CookieFolderPath(), "user@site.txt"));
        ASSERT_TRUE(MakeFile(CookieFolderPath(), "user@other.txt"));
    }
    void TearDown() override { RemoveFolder(CookieFolderPath()); }

    WineDialog wine;
};

TEST_F(NtCookieFolderTest, InitialisationOnNtNeitherCountsNorDeletesCookieFiles) {
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    wine.dlg.OnInitDialog();
    EXPECT_EQ(g_bIsNT, 1);
    EXPECT_EQ(wine.Text(IDC_COOKIE_COUNT), "Cookies: 0");

    EXPECT_EQ(wine.dlg.ScanCache(1, 0), 1);
    EXPECT_EQ(wine.dlg.SweepCookieFolder(1, 0), 0);
    EXPECT_EQ(FindNames(CookieFolderPath(), "*.txt").size(), 2u);
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
}

}  // namespace
