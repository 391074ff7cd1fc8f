// Canaries: whatever lies outside the three stores survives every kind of clear, manual or automatic.
#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr char kSiblingPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsBackup";
constexpr char kNestedPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs\\Nested";
constexpr char kOtherToolPath[] = "SOFTWARE\\Quellmar\\Other Tool";

// Wine's per-executable override of the version query, read when a process starts.
std::string VersionOverridePath() {
    return "Software\\Wine\\AppDefaults\\" + ProgramName() + ".exe";
}

struct CanaryValue {
    const char* path;
    const char* name;
    const char* text;
};

const CanaryValue kCanaryValues[] = {
    {kSiblingPath, "url1", "http://sibling.example/"},
    {kIePath, "TypedURLsCanary", "keep me"},
    {kNestedPath, "url1", "http://nested.example/"},
    {kOtherToolPath, "cached_urls", "1"},
    {kOtherToolPath, "timer", "45"},
    {kSettingsPath, "", "default value of the settings key"},
    {kSettingsPath, "extra", "not one of the seven"},
};

// The parameter: whether the program is told it runs outside the NT family, where it also
// sweeps the Cookies folder.
class Canaries : public E2eTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        win98_ = GetParam();
        ASSERT_TRUE(DeleteKeyTree(VersionOverridePath()));
        if (win98_) {
            ASSERT_EQ(SetTextValue(VersionOverridePath(), "Version", "win98"), ERROR_SUCCESS);
        }
        ASSERT_TRUE(DeleteKeyTree(kSiblingPath));
        ASSERT_TRUE(DeleteKeyTree(kOtherToolPath));
        for (const CanaryValue& canary : kCanaryValues) {
            ASSERT_EQ(SetTextValue(canary.path, canary.name, canary.text), ERROR_SUCCESS)
                << canary.path << "\\" << canary.name;
        }
        windows_ = WindowsDir();
        ASSERT_FALSE(windows_.empty());
        cookies_ = windows_ + "\\Cookies";
        ASSERT_TRUE(MakeDirectory(cookies_));
        ASSERT_TRUE(MakeDirectory(windows_ + "\\CookiesOld"));
        canaryFiles_ = {cookies_ + "\\index.dat", cookies_ + "\\keep.txt.bak", cookies_ + "\\notes.text",
                        windows_ + "\\cookie-canary.txt", windows_ + "\\CookiesOld\\old@site.txt"};
        for (const std::string& path : canaryFiles_) ASSERT_TRUE(WriteTextFile(path, "canary " + path));
    }

    void TearDown() override {
        for (const std::string& path : canaryFiles_) DeleteFileA(path.c_str());
        for (const std::string& path : CookieFiles()) DeleteFileA(path.c_str());
        DeleteKeyTree(kSiblingPath);
        DeleteKeyTree(kOtherToolPath);
        DeleteKeyTree(kNestedPath);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kIePath, "TypedURLsCanary");
        DeleteKeyTree(VersionOverridePath());
    }

    std::vector<std::string> CookieFiles() const { return {cookies_ + "\\user@a.txt", cookies_ + "\\user@b.txt"}; }

    static void ExpectCanaryValues() {
        for (const CanaryValue& canary : kCanaryValues) {
            std::optional<RegValue> value = ReadValue(canary.path, canary.name);
            RegValue wanted = SzValue(canary.text);
            EXPECT_TRUE(value && value->type == wanted.type && value->data == wanted.data)
                << canary.path << "\\" << canary.name << ": " << Describe(value);
        }
        EXPECT_EQ(ValueNames(kSiblingPath).size(), 1u);
        EXPECT_EQ(ValueNames(kOtherToolPath).size(), 2u);
    }

    void ExpectCanaryFiles() const {
        for (const std::string& path : canaryFiles_) {
            std::optional<std::string> content = ReadTextFile(path);
            EXPECT_TRUE(content && *content == "canary " + path) << path;
        }
    }

    void ExpectCookieFiles(bool present) const {
        for (const std::string& path : CookieFiles()) EXPECT_EQ(FileExists(path), present) << path;
    }

    void SeedAll(int files, int cookieDomains, const std::vector<std::string>& typed) {
        SeedCacheFiles(files);
        SeedCookieDomains(cookieDomains);
        SeedTypedUrls(typed);
        for (const std::string& path : CookieFiles()) ASSERT_TRUE(WriteTextFile(path, "cookie file"));
    }

    // The cookie files count only where the program looks for them: outside the NT family.
    int CookieFileCount() const { return win98_ ? static_cast<int>(CookieFiles().size()) : 0; }

    std::string windows_;
    std::string cookies_;
    bool win98_ = false;
    std::vector<std::string> canaryFiles_;
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
        ExpectCanaryValues();
        ExpectCanaryFiles();
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
        ExpectCanaryValues();
        ExpectCanaryFiles();
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
        ExpectCanaryValues();
        ExpectCanaryFiles();
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
        ExpectCanaryValues();
        ExpectCanaryFiles();
        ASSERT_TRUE(app.Restore());
    }
    ASSERT_TRUE(app.Close());
    // Closing writes the seven values and leaves the key's other contents as they were.
    ExpectCanaryValues();
    EXPECT_EQ(ValueNames(kSettingsPath).size(), 9u) << "the seven, the default value and the extra one";
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
    ExpectCanaryFiles();
    ASSERT_TRUE(app.Close());
}

INSTANTIATE_TEST_SUITE_P(PlatformFamily, Canaries, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Win98" : "NT"; });

}  // namespace
}  // namespace e2e
