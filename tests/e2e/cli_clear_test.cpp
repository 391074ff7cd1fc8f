// brumix.exe clear on seeded stores: each selection, the remembered choices, an undeletable
// typed address, the non-NT family's cookie files; neighbours and settings untouched.
// <windows.h> has to come before the other Windows headers.
// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include "tests/e2e/cli_e2e_fixture.h"

namespace e2e {
namespace {

void ExpectDeleted(const std::string& out, int files, int cookies, int typed) {
    ExpectLines(out, {"Cached Files deleted: " + std::to_string(files), "Cookies deleted: " + std::to_string(cookies),
                      "URLs In History deleted: " + std::to_string(typed)});
}

struct Selection {
    std::vector<std::string> args;
    bool files;
    bool cookies;
    bool typed;
};

class CliClear : public CliE2e, public ::testing::WithParamInterface<Selection> {};

TEST_P(CliClear, DeletesExactlyTheSelectedStores) {
    const Selection& s = GetParam();
    SeedCacheFiles(3);
    SeedCookieDomains(2);
    SeedTypedUrls({"url1", "url2"});
    Remember({{"cached_urls", "0"}, {"cookies", "0"}, {"IE_history", "0"}});
    const auto settings = SettingsSnapshot();
    const Items files = CacheItems(false);
    Items cookies = CacheItems(true);
    for (const Item& file : files) cookies.erase(file);
    const Items typed = TypedItems();

    const CliResult run = RunCli(s.args);
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.err, "") << "flags given: the remembered choices are not mentioned";
    ExpectDeleted(run.out, s.files ? 3 : 0, s.cookies ? 2 : 0, s.typed ? 2 : 0);

    Items left;
    if (!s.files) left.insert(files.begin(), files.end());
    if (!s.cookies) left.insert(cookies.begin(), cookies.end());
    EXPECT_EQ(CacheItems(true), left);
    EXPECT_EQ(TypedItems(), s.typed ? Items{} : typed);
    EXPECT_TRUE(KeyExists(kTypedUrlsPath)) << "the values go, the key stays";
    ExpectNeighboursIntact();
    EXPECT_EQ(SettingsSnapshot(), settings);
}

INSTANTIATE_TEST_SUITE_P(Selections, CliClear,
                         ::testing::Values(Selection{{"clear", "--temp"}, true, false, false},
                                           Selection{{"clear", "--cookies", "--temp"}, true, true, false},
                                           Selection{{"clear", "--history"}, false, false, true},
                                           Selection{{"clear", "--history", "--temp", "--cookies"}, true, true, true}));

class CliRemembered : public CliE2e {};

// The window's choices, read by its rules and never written: cookies only with the files.
TEST_F(CliRemembered, ChoicesOfTheWindowSelectWhenNoStoreIsNamed) {
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    SeedTypedUrls({"url1"});
    Remember({{"cached_urls", "0"}, {"cookies", "1"}, {"IE_history", "1"}, {"snifTimer", "1"}, {"timer", "45"}});
    auto settings = SettingsSnapshot();
    const Items files = CacheItems(false);
    const Items cache = CacheItems(true);

    CliResult run = RunCli({"preview"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.err, "brumix: no store named; the remembered choices select --history\n");
    EXPECT_EQ(ParsePreview(run.out), (Items{{"typed", "url1"}}));

    run = RunCli({"clear"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.err, "brumix: no store named; the remembered choices select --history\n");
    ExpectDeleted(run.out, 0, 0, 1);
    EXPECT_EQ(CacheItems(true), cache);
    EXPECT_TRUE(TypedItems().empty());

    EXPECT_EQ(SettingsSnapshot(), settings);

    Remember({{"cached_urls", "1"}, {"cookies", "0"}, {"IE_history", "0"}});
    settings = SettingsSnapshot();
    SeedTypedUrls({"url2"});
    run = RunCli({"clear", "--json"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.err, "brumix: no store named; the remembered choices select --temp\n");
    const JsonValue summary = ParseOrFail(run.out);
    const JsonValue* deleted = summary.Get("deleted");
    ASSERT_TRUE(deleted && deleted->Get("cached_files")) << run.out;
    EXPECT_EQ(deleted->Get("cached_files")->number, 2);
    EXPECT_EQ(deleted->Get("cookies")->number, 0);
    EXPECT_EQ(deleted->Get("typed_urls")->number, 0);
    ASSERT_TRUE(summary.Get("complete"));
    EXPECT_TRUE(summary.Get("complete")->boolean);
    Items cookies = cache;
    for (const Item& file : files) cookies.erase(file);
    EXPECT_EQ(CacheItems(true), cookies);
    EXPECT_EQ(TypedItems(), (Items{{"typed", "url2"}}));

    EXPECT_EQ(SettingsSnapshot(), settings);

    Remember({{"cached_urls", "0"}, {"IE_history", "0"}});
    settings = SettingsSnapshot();
    run = RunCli({"clear"});
    EXPECT_EQ(run.exitCode, 2u) << Said(run);
    EXPECT_NE(run.err.find("the remembered choices select none"), std::string::npos) << Said(run);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(CacheItems(true), cookies);
    EXPECT_EQ(TypedItems().size(), 1u);

    EXPECT_EQ(SettingsSnapshot(), settings);
    ExpectNeighboursIntact();
}

class CliNotDeleted : public CliE2e {};

// A name outside the code page enumerates with '?', and deleting that spelling fails.
TEST_F(CliNotDeleted, AnUndeletableTypedAddressIsNamedAndGivesExitOne) {
    const std::wstring foreign = L"url\x4E00";
    BOOL lossy = FALSE;
    char converted[16] = {};
    WideCharToMultiByte(CP_ACP, 0, foreign.c_str(), -1, converted, sizeof converted, nullptr, &lossy);
    if (!lossy) GTEST_SKIP() << "the code page in use holds U+4E00; no undeletable name can be made";
    SeedTypedUrls({"url1"});
    ASSERT_EQ(SetRawValue(kTypedUrlsPath, foreign, REG_SZ, {'x', 0}), ERROR_SUCCESS);
    SeedTypedUrls({"url2"});
    SeedCacheFiles(1);

    CliResult run = RunCli({"clear", "--history", "--json"});
    EXPECT_EQ(run.exitCode, 1u) << Said(run);
    EXPECT_EQ(run.err, std::string("brumix: not deleted: typed\t") + converted + "\n");
    const JsonValue summary = ParseOrFail(run.out);
    ASSERT_TRUE(summary.Get("not_deleted") && summary.Get("deleted")) << run.out;
    EXPECT_EQ(JsonItems(*summary.Get("not_deleted")), (Items{{"typed", converted}}));
    EXPECT_EQ(summary.Get("deleted")->Get("typed_urls")->number, 2);
    EXPECT_EQ(ValueNames(kTypedUrlsPath), std::vector<std::wstring>{foreign}) << "the others went";
    EXPECT_EQ(CacheItems(false).size(), 1u);
    ExpectNeighboursIntact();
}

// Retrieving an entry's file locks it, here in the driver's process, until it is unlocked. The
// service refuses the delete but marks the entry, which goes when the lock does: pending, not
// failed, so it is counted but not named and gives no exit code.
TEST_F(CliNotDeleted, ALockedCacheEntryIsPendingAndTheOthersGo) {
    const std::vector<std::string> urls = SeedCacheFiles(3);
    std::vector<char> buffer(8192);
    auto* record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    record->dwStructSize = sizeof(*record);
    DWORD size = static_cast<DWORD>(buffer.size());
    ASSERT_TRUE(RetrieveUrlCacheEntryFileA(urls[1].c_str(), record, &size, 0)) << GetLastError();

    const CliResult run = RunCli({"clear", "--temp"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.err, "brumix: cache entries in use, deletion pending: 1\n");
    ExpectDeleted(run.out, 2, 0, 0);
    EXPECT_EQ(CacheItems(true), (Items{{"cache", urls[1]}}));
    UnlockUrlCacheEntryFileA(urls[1].c_str(), 0);
    EXPECT_TRUE(CacheItems(true).empty()) << "the entry goes once released";
}

// A key with an empty access list: the typed addresses were not reached, which a script must
// not take for an empty history.
TEST_F(CliNotDeleted, ATypedUrlsKeyThatCannotBeOpenedIsExitThree) {
    SeedTypedUrls({"url1"});
    ASSERT_TRUE(SetKeyAccessDenied(kTypedUrlsPath, true));

    CliResult run = RunCli({"count"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    ExpectLines(run.out, {"URLs In History: 0"});
    EXPECT_EQ(run.err, "brumix: the TypedURLs key cannot be opened (error 5)\n");

    run = RunCli({"clear", "--history", "--json"});
    EXPECT_EQ(run.exitCode, 3u) << Said(run);
    const JsonValue summary = ParseOrFail(run.out);
    ASSERT_TRUE(summary.Get("complete")) << run.out;
    EXPECT_FALSE(summary.Get("complete")->boolean);

    ASSERT_TRUE(SetKeyAccessDenied(kTypedUrlsPath, false));
    EXPECT_EQ(TypedItems(), (Items{{"typed", "url1"}}));
}

class CliNonNt : public CliE2e {};

// Told it runs outside the NT family, it counts and deletes the Cookies folder's *.txt files
// with the cookies, and nothing else there.
TEST_F(CliNonNt, CountsAndDeletesTheCookieFiles) {
    ASSERT_NO_FATAL_FAILURE(ReportNonNtFamily(kCliExe));
    SeedCookieDomains(1);
    SeedCacheFiles(1);
    SeedCookieFiles({"user@a.txt", "user@b.txt"});

    CliResult run = RunCli({"count"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cached Files: 1", "Cookies: 3"});

    run = RunCli({"preview", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    Items expected = CacheItems(true);
    const Items cookieFiles = CookieFileItems();
    ASSERT_EQ(cookieFiles.size(), 2u);
    expected.insert(cookieFiles.begin(), cookieFiles.end());
    EXPECT_EQ(ParsePreview(run.out), expected);

    run = RunCli({"clear", "--temp"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectDeleted(run.out, 1, 0, 0);
    EXPECT_EQ(CookieFileItems(), cookieFiles) << "the files go only with the cookies";

    run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectDeleted(run.out, 0, 3, 0);
    EXPECT_TRUE(CookieFileItems().empty());
    EXPECT_TRUE(CacheItems(true).empty());
    ExpectNeighboursIntact();
}

}  // namespace
}  // namespace e2e
