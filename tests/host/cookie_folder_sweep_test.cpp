// The cookie folder sweep: only outside the NT family, only *.txt, and a walk that always ends.
#include "sweep/cookie_folder_sweep.h"

#include <algorithm>

#include "platform/errors.h"
#include "sweep_fixture.h"

namespace {

class CookieFolderSweepTest : public SweepTest {};

TEST_F(CookieFolderSweepTest, UndeletableCookieFileIsReportedOnceThoughMetAgain) {
    p.files.AddFile(kCookieFolder, "stuck.txt", true);
    p.files.AddFile(kCookieFolder, "b.txt");
    p.files.AddFile(kCookieFolder, "c.txt");
    const CookieFolderResult result = SweepCookieFiles(p.files, kWin98, true, recorder);
    EXPECT_EQ(result.count, 5);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(std::count(recorder.heard.begin(), recorder.heard.end(), "stayed cookie-file stuck.txt"), 1);
    EXPECT_EQ(p.files.Files(kCookieFolder), std::vector<std::string>{"stuck.txt"});
    ExpectNothingOpen();
}

TEST_F(CookieFolderSweepTest, OnlyNamesWhoseOwnExtensionIsTxtAreCookieFiles) {
    // The search hands these out through their 8.3 aliases (NOTES~1.TXT, ...), as the real one does.
    p.files.AddFile(kCookieFolder, "notes.txtold");
    p.files.AddFile(kCookieFolder, "archive.txt.bak");
    p.files.AddFile(kCookieFolder, "USER@A.TXT");
    p.files.AddFile(kCookieFolder, "user@b.Txt");
    ASSERT_EQ(MemoryFileSearch::ShortAlias("notes.txtold"), "NOTES~1.TXT");

    EXPECT_EQ(SweepCookieFiles(p.files, kWin98, false, recorder).count, 2);
    EXPECT_EQ(p.files.CurrentDir(), "C:\\WINDOWS\\Cookies\\");
    const CookieFolderResult cleared = SweepCookieFiles(p.files, kWin98, true, recorder);
    EXPECT_EQ(cleared.deleted, 2);
    EXPECT_EQ(cleared.count, 0);
    EXPECT_EQ(p.files.Files(kCookieFolder), (std::vector<std::string>{"notes.txtold", "archive.txt.bak"}));
    for (const std::string& line : recorder.heard) EXPECT_EQ(line.find("notes"), std::string::npos) << line;
    ExpectNothingOpen();
}

// A system that does not answer is taken for the NT family, whose cookies all live in the cache.
TEST_F(CookieFolderSweepTest, UnansweredSystemQueriesLeaveTheFolderAlone) {
    p.system.platformId = kPlatformWin32Windows;
    p.faults.FailCall("GetVersionEx", kErrorInvalidParameter);
    p.faults.FailCall("GetWindowsDirectory", kErrorInsufficientBuffer);
    const CookieFolderPlace place = QueryCookieFolderPlace(p.system);
    EXPECT_TRUE(place.isNt);
    EXPECT_EQ(place.windowsDir, "");
}

// Only outside the NT family and with a Windows directory, whose Cookies folder is the only place
// looked at; a root directory is joined with one separator.
TEST_F(CookieFolderSweepTest, FolderIsLookedForOnlyOutsideTheNtFamilyUnderTheWindowsDirectory) {
    p.files.AddFile(kCookieFolder, "a.txt");
    EXPECT_EQ(SweepCookieFiles(p.files, kNt, true, recorder).count, 0);
    EXPECT_EQ(SweepCookieFiles(p.files, CookieFolderPlace{.isNt = false, .windowsDir = ""}, true, recorder).count, 0);
    EXPECT_TRUE(recorder.heard.empty());
    EXPECT_TRUE(p.files.HasFile(kCookieFolder, "a.txt"));
    EXPECT_EQ(p.files.CurrentDir(), "C:\\");

    p.files.AddFolder("C:\\WIN");
    p.files.AddFile("C:\\WIN", "readme.txt");
    ASSERT_TRUE(p.files.SetCurrentDir("C:\\WIN"));
    EXPECT_EQ(
        SweepCookieFiles(p.files, CookieFolderPlace{.isNt = false, .windowsDir = "C:\\WIN"}, true, recorder).count, 0);
    EXPECT_TRUE(p.files.HasFile("C:\\WIN", "readme.txt"));
    EXPECT_TRUE(recorder.heard.empty());

    p.files.AddFolder("C:\\Cookies");
    p.files.AddFile("C:\\Cookies", "a.txt");
    EXPECT_EQ(SweepCookieFiles(p.files, CookieFolderPlace{.isNt = false, .windowsDir = "C:\\"}, false, recorder).count,
              1);
    EXPECT_EQ(p.files.CurrentDir(), "C:\\Cookies\\");
}

TEST_F(CookieFolderSweepTest, FilePendingDeletionEndsTheWalk) {
    p.files.AddFile(kCookieFolder, "held.txt", false, true);
    p.files.AddFile(kCookieFolder, "a.txt");
    // held.txt: reported deleted (1), met again and passed over (2); a.txt deleted (3);
    // the fresh search meets held.txt once more (4) and ends.
    EXPECT_EQ(SweepCookieFiles(p.files, kWin98, true, recorder).count, 4);
    EXPECT_EQ(p.files.Files(kCookieFolder), std::vector<std::string>{"held.txt"});
    EXPECT_EQ(p.files.DeleteAttempts(), 2);
    ExpectNothingOpen();
}

TEST_F(CookieFolderSweepTest, FailedNextRequestEndsWithTheCountSoFar) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) p.files.AddFile(kCookieFolder, name);
    p.faults.FailCall("FindNextFile", kErrorAccessDenied, 2);
    EXPECT_EQ(SweepCookieFiles(p.files, kWin98, false, recorder).count, 2);
    ExpectNothingOpen();
}

}  // namespace
