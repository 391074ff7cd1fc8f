// brumix.exe count and preview on seeded stores: the window's counts, the items a clear would
// take for each selection, JSON that parses, and nothing deleted.
#include "res/version.h"
#include "tests/e2e/cli_e2e_fixture.h"

namespace e2e {
namespace {

class CliCount : public CliE2e {};

TEST_F(CliCount, PrintsTheWindowsThreeCountersAndDeletesNothing) {
    SeedCacheFiles(3);
    SeedCookieDomains(2);
    CliResult run = RunCli({"count"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cached Files: 3", "Cookies: 2", "URLs In History: 0"});
    EXPECT_EQ(run.err, "");

    SeedTypedUrls({"url1", "url2", "url3"});
    run = RunCli({"count", "--json"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue counts = ParseOrFail(run.out);
    ASSERT_EQ(counts.kind, JsonValue::Kind::Object) << run.out;
    for (const auto& [key, wanted] : {std::pair<const char*, double>{"cached_files", 3},
                                      {"cookies", 2},
                                      {"cookies_kept", 0},
                                      {"typed_urls", 3},
                                      {"visited_pages", 0}}) {
        const JsonValue* value = counts.Get(key);
        EXPECT_TRUE(value && value->kind == JsonValue::Kind::Number && value->number == wanted)
            << key << ": " << run.out;
    }

    EXPECT_EQ(CacheItems(true).size(), 5u);
    EXPECT_EQ(ValueNames(kTypedUrlsPath).size(), 3u);
    ExpectNeighboursIntact();
}

class CliVisited : public CliE2e {};

// Pages visited in Wine's history container, whose walk without a pattern returns them with the
// rest: counted on their own line, never as cached files, cleared only with --visited.
TEST_F(CliVisited, CountsThePagesAndClearsThemOnlyWithVisited) {
    SeedCacheFiles(2);
    SeedCookieDomains(1);
    SeedVisitedPages(3);
    CliResult run = RunCli({"count"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cached Files: 2", "Pages Visited: 3"});

    run = RunCli({"clear", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Cached Files deleted: 2", "Cookies deleted: 1"});
    EXPECT_EQ(VisitedItems().size(), 3u) << "a temporary files clear leaves the pages visited";

    run = RunCli({"clear", "--visited"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    ExpectLines(run.out, {"Pages Visited deleted: 3"});
    EXPECT_TRUE(VisitedItems().empty());
    ExpectNeighboursIntact();
}

class CliPreview : public CliE2e {};

TEST_F(CliPreview, ListsWhatEachSelectionWouldDeleteAndDeletesNothing) {
    SeedCacheFiles(3);
    SeedCookieDomains(2);
    SeedTypedUrls({"url1", "url2"});
    const Items files = CacheItems(false);
    const Items cache = CacheItems(true);
    const Items typed = TypedItems();
    ASSERT_EQ(files.size(), 3u);
    ASSERT_EQ(cache.size(), 5u);

    CliResult run = RunCli({"preview", "--temp"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(ParsePreview(run.out), files) << run.out;

    run = RunCli({"preview", "--cookies", "--temp"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(ParsePreview(run.out), cache) << run.out;

    run = RunCli({"preview", "--history"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(ParsePreview(run.out), typed) << run.out;
    EXPECT_EQ(run.err, "");

    run = RunCli({"preview", "--json", "--history", "--temp", "--cookies"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    const JsonValue preview = ParseOrFail(run.out);
    ASSERT_TRUE(preview.Get("items")) << run.out;
    Items everything = cache;
    everything.insert(typed.begin(), typed.end());
    EXPECT_EQ(JsonItems(*preview.Get("items")), everything);

    EXPECT_EQ(CacheItems(true), cache) << "preview deletes nothing";
    EXPECT_EQ(TypedItems(), typed);
    ExpectNeighboursIntact();
}

// Written to a file, a name from the code page arrives as UTF-8, in the lines and in JSON.
TEST_F(CliPreview, NamesReachAFileAsUtf8) {
    const std::wstring cafe = L"caf\x00E9";
    BOOL lossy = FALSE;
    char ansi[16] = {};
    WideCharToMultiByte(CP_ACP, 0, cafe.c_str(), -1, ansi, sizeof ansi, nullptr, &lossy);
    if (lossy) GTEST_SKIP() << "the code page in use has no e acute";
    ASSERT_EQ(SetRawValue(kTypedUrlsPath, cafe, REG_SZ, {'x', 0}), ERROR_SUCCESS);

    CliResult run = RunCli({"preview", "--history"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out, "typed\tcaf\xC3\xA9\n");

    run = RunCli({"preview", "--history", "--json"});
    const JsonValue preview = ParseOrFail(run.out);
    ASSERT_TRUE(preview.Get("items")) << run.out;
    EXPECT_EQ(JsonItems(*preview.Get("items")), (Items{{"typed", "caf\xC3\xA9"}}));
}

TEST_F(CliPreview, UsageErrorsHelpAndVersion) {
    SeedCacheFiles(1);
    SeedTypedUrls({"url1"});
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"wipe"}, {"clear", "--cookies"}, {"clear", "--temp", "--everything"}, {"count", "--history"}}) {
        const CliResult run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2u) << Said(run);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("brumix: "), std::string::npos) << Said(run);
    }
    CliResult run = RunCli({"--version"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out, "brumix " BRUMIX_VERSION_TEXT "\n") << "read from the version record";

    run = RunCli({"/?"});
    EXPECT_EQ(run.exitCode, 0u) << Said(run);
    EXPECT_EQ(run.out.rfind("Usage: brumix COMMAND", 0), 0u) << run.out;

    EXPECT_EQ(CacheItems(false).size(), 1u);
    EXPECT_EQ(TypedItems().size(), 1u);
}

}  // namespace
}  // namespace e2e
