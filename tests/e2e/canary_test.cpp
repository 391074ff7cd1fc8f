// Canaries: whatever lies outside the three stores survives every kind of clear, manual or automatic.
#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

// The parameter: whether the program is told it runs outside the NT family, where it also
// sweeps the Cookies folder.
class Canaries : public E2eTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        win98_ = GetParam();
        ForgetVersionOverride(Exe());
        if (win98_) {
            ASSERT_NO_FATAL_FAILURE(ReportNonNtFamily(Exe()));
        }
        ASSERT_NO_FATAL_FAILURE(neighbours_.Plant());
    }

    void TearDown() override {
        neighbours_.Remove();
        ForgetVersionOverride(Exe());
    }

    static std::string Exe() { return ProgramName() + ".exe"; }
    static std::vector<std::string> CookieFiles() {
        return {CookieFolderPath() + "\\user@a.txt", CookieFolderPath() + "\\user@b.txt"};
    }

    static void ExpectCookieFiles(bool present) {
        for (const std::string& path : CookieFiles()) EXPECT_EQ(FileExists(path), present) << path;
    }

    static void SeedAll(int files, int cookieDomains, const std::vector<std::string>& typed) {
        SeedCacheFiles(files);
        SeedCookieDomains(cookieDomains);
        SeedTypedUrls(typed);
        SeedCookieFiles({"user@a.txt", "user@b.txt"});
    }

    // The cookie files count only where the program looks for them: outside the NT family.
    int CookieFileCount() const { return win98_ ? static_cast<int>(CookieFiles().size()) : 0; }

    bool win98_ = false;
    Neighbours neighbours_;
};

TEST_P(Canaries, EveryKindOfClearLeavesTheNeighboursAlone) {
    SeedAll(3, 2, {"url1", "url2"});
    ASSERT_TRUE(app.Start());
    ExpectCounters(3, 2 + CookieFileCount(), 2);

    {
        SCOPED_TRACE("temporary files without cookies");
        ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
        ASSERT_TRUE(app.ClearNow());
        EXPECT_EQ(app.Text(IDC_STATUS), "Done!");
        ExpectCounters(0, 2 + CookieFileCount(), 2);
        ExpectCensus(0, 2);
        EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 2u);
        ExpectCookieFiles(true);
        neighbours_.ExpectIntact();
    }
    {
        SCOPED_TRACE("history alone");
        ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
        ASSERT_TRUE(app.Click(IDC_HISTORY));
        SeedCacheFiles(1);
        ASSERT_TRUE(app.ClearNow());
        ExpectCounters(1, 2 + CookieFileCount(), 0);
        ExpectCensus(1, 2);
        EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
        ExpectCookieFiles(true);
        neighbours_.ExpectIntact();
    }
    {
        SCOPED_TRACE("everything, cookies included");
        SeedTypedUrls({"url3"});
        ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
        ASSERT_TRUE(app.Click(IDC_COOKIES));
        ASSERT_TRUE(app.ClearNow());
        ExpectCounters(0, 0, 0);
        ExpectCensus(0, 0);
        EXPECT_TRUE(ValueNames(kTypedUrlsPath).empty());
        // On the NT family the program never looks into the Cookies folder.
        ExpectCookieFiles(!win98_);
        neighbours_.ExpectIntact();
    }
    {
        SCOPED_TRACE("automatic clear while minimised");
        SeedAll(2, 1, {"url4"});
        ASSERT_TRUE(app.Click(IDC_SNIFFER));
        ASSERT_TRUE(app.Click(IDC_AUTO_CLEAR));
        ASSERT_EQ(app.Check(IDC_AUTO_CLEAR), BST_CHECKED);
        ASSERT_TRUE(app.Minimise());
        EXPECT_TRUE(WaitUntil(
            [&] {
                // The recount's title comes after the cookie folder sweep, so the whole clear is over.
                CacheCensus census = TakeCensus();
                return census.complete && census.files.empty() && census.cookies.empty() &&
                       ValueNames(kTypedUrlsPath).empty() && app.Title() == "t:0-c:0";
            },
            Millis(8000)))
            << "the automatic clear did not run";
        ExpectCookieFiles(!win98_);
        neighbours_.ExpectIntact();
        ASSERT_TRUE(app.Restore());
    }
    ASSERT_TRUE(app.Close());
    // Closing writes the seven values, the option and the browsers, and leaves the key's other contents as they were.
    neighbours_.ExpectIntact();
    EXPECT_EQ(ValueNames(kSettingsPath).size(), 11u)
        << "the seven, the option, the browsers, the default value and the extra one";
}

// Cookie text files count and go only where the program looks for them, outside the NT family.
TEST_P(Canaries, CookieFilesFollowThePlatformFamily) {
    SeedAll(0, 1, {});
    ASSERT_TRUE(app.Start());
    ExpectCounters(0, 1 + CookieFileCount(), 0);
    ASSERT_TRUE(app.Click(IDC_TEMP_FILES));
    ASSERT_TRUE(app.ClearNow());
    ExpectCounters(0, 1 + CookieFileCount(), 0);
    ExpectCookieFiles(true);
    ASSERT_TRUE(app.Click(IDC_COOKIES));
    ASSERT_TRUE(app.ClearNow());
    ExpectCounters(0, 0, 0);
    ExpectMark(false);
    ExpectCookieFiles(!win98_);
    neighbours_.ExpectIntact();
    ASSERT_TRUE(app.Close());
}

INSTANTIATE_TEST_SUITE_P(PlatformFamily, Canaries, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Win98" : "NT"; });

}  // namespace
}  // namespace e2e
