// brumix.exe's count, preview and clear over the stand-ins: what each selection reaches, the
// remembered choices, what reaches the output, the exit codes, Ctrl+C and the progress line.
#include "cli_host_fixture.h"
#include "platform/errors.h"

namespace {

class CliCommandTest : public CliTest {
protected:
    CliCommandTest() {
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        platform.cache.Add("http://b.example/2.htm");
        SeedTyped({"url1", "url2"});
    }
};

TEST_F(CliCommandTest, CountIsTheWindowsCountAndDeletesNothing) {
    NonNtWithCookieFiles({"user@a.txt", "user@b.txt"});
    EXPECT_EQ(Run({"count", "--browsers", "none"}), 0);
    EXPECT_EQ(Line(console.out, "Cached Files: "), "Cached Files: 2");
    EXPECT_EQ(Line(console.out, "Cookies: "), "Cookies: 3");
    EXPECT_EQ(Line(console.out, "URLs In History: "), "URLs In History: 2");
    EXPECT_TRUE(console.err.empty()) << console.err;
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_EQ(platform.files.Files(kCookieFolder).size(), 2u);
    EXPECT_TRUE(platform.registry.DeletedNames().empty());
    EXPECT_FALSE(Called("RegQueryValueEx")) << "with the browsers named, the count reads no remembered choice";
}

// brumix reaches the cookies whether the cache's walk without a pattern returns them or only
// the content entries, as its reference says; its report is the same.
class CliCookieReading : public CliCommandTest, public ::testing::WithParamInterface<CachePatternReading> {};

TEST_P(CliCookieReading, CountAndClearReachTheCookiesUnderEitherReading) {
    platform.cache.ReadPatternsAs(GetParam());
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(Line(console.out, "Cookies: "), "Cookies: 1");
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json"}), 0);
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cookies"}), "1");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "true");
    EXPECT_EQ(platform.cache.Size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCookieReading,
                         ::testing::Values(CachePatternReading::EveryContainer, CachePatternReading::Documented));

// The pages visited beside the other stores: always counted, reached by --visited alone, never
// taken by --temp.
TEST_F(CliCommandTest, PagesVisitedAreAlwaysCountedAndReachedOnlyByVisited) {
    platform.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(Line(console.out, "Pages Visited: "), "Pages Visited: 1");
    EXPECT_EQ(Line(console.out, "Cached Files: "), "Cached Files: 2");
    EXPECT_EQ(Run({"preview", "--visited"}), 0);
    EXPECT_EQ(console.out, "visited\tVisited: user@http://a.example/\n");

    EXPECT_EQ(Run({"clear", "--temp", "--cookies"}), 0);
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Visited: user@http://a.example/"});
    EXPECT_EQ(Run({"clear", "--visited"}), 0);
    EXPECT_EQ(platform.cache.Size(), 0u);
}

// A missing key is an empty one; a key that is there but refused is not: the script is told.
TEST_F(CliCommandTest, AMissingTypedUrlsKeyIsEmptyARefusedOneIsNot) {
    MemoryPlatform empty;
    EXPECT_EQ(RunOn(empty, {"count"}), 0);
    EXPECT_EQ(Line(console.out, "URLs In History: "), "URLs In History: 0");

    platform.registry.DenyAccess(kTypedUrlsPath);
    EXPECT_EQ(Run({"count"}), 3);
    EXPECT_EQ(Line(console.out, "URLs In History: "), "URLs In History: 0");
    EXPECT_EQ(Line(console.out, "Cached Files: "), "Cached Files: 2");
    EXPECT_NE(console.err.find("TypedURLs key cannot be opened (error 5)"), std::string::npos) << console.err;

    EXPECT_EQ(Run({"clear", "--history"}), 3);
    EXPECT_NE(console.err.find("error 5"), std::string::npos) << console.err;
}

TEST_F(CliCommandTest, AWalkThatFailsMidwayGivesTheCountsSoFarAndExitThree) {
    platform.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError);
    EXPECT_EQ(Run({"count"}), 3);
    EXPECT_EQ(Line(console.out, "Cached Files: "), "Cached Files: 1") << "the counts so far";
    EXPECT_EQ(Line(console.out, "Cookies: "), "Cookies: 0");
    EXPECT_EQ(Line(console.out, "URLs In History: "), "URLs In History: 2");
    EXPECT_EQ(console.err, "brumix: the URL cache could not be walked to its end\n");

    MemoryPlatform noTypedKey;
    noTypedKey.cache.Add("http://a.example/");
    noTypedKey.faults.FailCall("FindFirstUrlCacheEntry", kErrorInternetInternalError);
    EXPECT_EQ(RunOn(noTypedKey, {"count"}), 3);
    EXPECT_EQ(console.err, "brumix: the URL cache could not be walked to its end\n") << "a missing key is no fault";
}

TEST_F(CliCommandTest, PreviewListsExactlyWhatTheSelectionWouldDelete) {
    NonNtWithCookieFiles({"user@a.txt"});
    EXPECT_EQ(Run({"preview", "--history"}), 0);
    EXPECT_EQ(console.out, "typed\turl1\ntyped\turl2\n");
    EXPECT_FALSE(Called("FindFirstUrlCacheEntry")) << "the cache is not walked for the typed addresses alone";

    EXPECT_EQ(Run({"preview", "--temp"}), 0);
    EXPECT_EQ(console.out, "cache\thttp://a.example/1.gif\ncache\thttp://b.example/2.htm\n");

    EXPECT_EQ(Run({"preview", "--cookies", "--temp"}), 0);
    EXPECT_EQ(console.out,
              "cache\thttp://a.example/1.gif\ncookie\tCookie:user@a.example/\ncache\thttp://b.example/2.htm\n"
              "cookie-file\tuser@a.txt\n");

    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_EQ(platform.files.Files(kCookieFolder).size(), 1u);
    EXPECT_TRUE(platform.registry.DeletedNames().empty());
    EXPECT_TRUE(console.err.empty()) << console.err;
}

// The stand-in decoder reads bytes as ISO 8859-1, so 0xE9 must arrive as U+00E9 in UTF-8.
TEST_F(CliCommandTest, PreviewCarriesEachNameDecodedToUtf8) {
    MemoryPlatform odd;
    odd.registry.AddKey(kTypedUrlsPath);
    odd.registry.SetText(kTypedUrlsPath, "caf\xE9", "x");
    odd.registry.SetText(kTypedUrlsPath, "bar", "x");
    EXPECT_EQ(RunOn(odd, {"preview", "--history", "--json"}), 0);
    EXPECT_EQ(console.out,
              "{\"items\": [\n{\"store\": \"typed\", \"name\": \"caf\xC3\xA9\"},\n"
              "{\"store\": \"typed\", \"name\": \"bar\"}\n]}\n");
    EXPECT_EQ(RunOn(odd, {"preview", "--history"}), 0);
    EXPECT_EQ(console.out, "typed\tcaf\xC3\xA9\ntyped\tbar\n");
}

TEST_F(CliCommandTest, ClearTemporaryFilesKeepsCookiesAndTypedAddresses) {
    NonNtWithCookieFiles({"user@a.txt"});
    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    EXPECT_EQ(Line(console.out, "Cached Files deleted: "), "Cached Files deleted: 2");
    EXPECT_EQ(Line(console.out, "Cookies deleted: "), "Cookies deleted: 0");
    EXPECT_EQ(Line(console.out, "URLs In History deleted: "), "URLs In History deleted: 0");
    EXPECT_TRUE(console.err.empty()) << console.err;
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"Cookie:user@a.example/"});
    EXPECT_EQ(platform.files.Files(kCookieFolder).size(), 1u);
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), 2u);
}

TEST_F(CliCommandTest, ClearEverythingOutsideTheNtFamilyTakesTheCookieFilesToo) {
    NonNtWithCookieFiles({"user@a.txt", "user@b.txt", "notes.log"});
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--history", "--json"}), 0);
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cookies"}), "3");
    EXPECT_EQ(JsonValue(console.out, {"not_deleted"}), "[]");
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_EQ(platform.files.Files(kCookieFolder), std::vector<std::string>{"notes.log"});
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());
    EXPECT_EQ(platform.registry.DeletedNames(), (std::vector<std::string>{"url1", "url2"}));
}

TEST_F(CliCommandTest, ItemsThatStayAreNamedOnStandardErrorAndGiveExitOne) {
    platform.registry.SetText(kTypedUrlsPath, "caf\xE9", "x");
    platform.registry.ProtectValue(kTypedUrlsPath, "caf\xE9");
    platform.cache.Add("http://refused.example/");
    platform.faults.FailCall("DeleteUrlCacheEntry", kErrorInternetInternalError, 3);

    EXPECT_EQ(Run({"clear", "--history", "--temp", "--json"}), 1);
    EXPECT_EQ(console.err,
              "brumix: not deleted: typed\tcaf\xC3\xA9\nbrumix: not deleted: cache\thttp://refused.example/\n");
    EXPECT_EQ(JsonValue(console.out, {"not_deleted"}),
              "[{\"store\": \"typed\", \"name\": \"caf\xC3\xA9\"}, "
              "{\"store\": \"cache\", \"name\": \"http://refused.example/\"}]");
    EXPECT_EQ(JsonValue(console.out, {"deleted", "typed_urls"}), "2") << "listed, the one that stayed among them";
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "true");
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath), std::vector<std::string>{"caf\xE9"});
    EXPECT_EQ(platform.cache.Urls(), (std::vector<std::string>{"Cookie:user@a.example/", "http://refused.example/"}));
}

// Entries in use go once released: counted on one line of standard error and in JSON, never
// named, and no exit code of their own.
TEST_F(CliCommandTest, CacheEntriesInUseArePendingUnnamedAndGiveNoExitCode) {
    platform.cache.Add("Visited: user@http://locked.example/", kNormalCacheEntry | kUrlHistoryCacheEntry, 0, true);
    EXPECT_EQ(Run({"clear", "--temp", "--visited", "--json"}), 0);
    EXPECT_EQ(console.err, "brumix: cache entries in use, deletion pending: 1\n");
    EXPECT_EQ(JsonValue(console.out, {"pending"}), "1");
    EXPECT_EQ(JsonValue(console.out, {"deleted", "visited_pages"}), "0");
    EXPECT_EQ(JsonValue(console.out, {"not_deleted"}), "[]");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "true");
}

TEST_F(CliCommandTest, ATypedTimeThatStaysGivesNoReportAndNoExitCode) {
    platform.registry.SetText(kTypedUrlsTimePath, "url1", "time");
    platform.registry.SetText(kTypedUrlsTimePath, "url2", "time");
    platform.registry.ProtectValue(kTypedUrlsTimePath, "url2");
    EXPECT_EQ(Run({"clear", "--history"}), 0);
    EXPECT_EQ(Line(console.out, "URLs In History deleted: "), "URLs In History deleted: 2");
    EXPECT_TRUE(console.err.empty()) << console.err;
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsTimePath), std::vector<std::string>{"url2"});
}

TEST_F(CliCommandTest, AWalkCutShortOutranksItemsThatStay) {
    platform.registry.ProtectValue(kTypedUrlsPath, "url1");
    platform.faults.FailCall("FindNextUrlCacheEntry", kErrorInternetInternalError, 2);
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--history", "--json"}), 3);
    EXPECT_EQ(JsonValue(console.out, {"not_deleted"}), "[{\"store\": \"typed\", \"name\": \"url1\"}]");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "false");
    EXPECT_NE(console.err.find("URL cache could not be walked to its end"), std::string::npos) << console.err;
    EXPECT_EQ(platform.cache.Urls(), std::vector<std::string>{"http://b.example/2.htm"});
}

struct Remembered {
    const char* cachedUrls;
    const char* cookies;
    const char* history;
    const char* selects;            // the flags the run announces
    std::vector<std::string> left;  // the cache after the clear
    std::size_t typedLeft;
};

class CliRememberedChoices : public CliCommandTest, public ::testing::WithParamInterface<Remembered> {};

// Read by the window's rules: cookies only with the temporary files; anything but 0 or 1 is
// not a choice. The settings are read, never written.
TEST_P(CliRememberedChoices, SelectWhatTheWindowWouldClear) {
    const Remembered& r = GetParam();
    Remember(r.cachedUrls, r.cookies, r.history);

    EXPECT_EQ(Run({"preview"}), 0);
    EXPECT_EQ(console.err, std::string("brumix: no store named; the remembered choices select ") + r.selects + "\n");
    EXPECT_EQ(platform.cache.Size(), 3u);

    EXPECT_EQ(Run({"clear"}), 0);
    EXPECT_EQ(console.err, std::string("brumix: no store named; the remembered choices select ") + r.selects + "\n");
    EXPECT_EQ(platform.cache.Urls(), r.left);
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), r.typedLeft);
    EXPECT_FALSE(RegistryWritten());
    EXPECT_EQ(platform.registry.ValueNames(kSettingsPath),
              (std::vector<std::string>{"cached_urls", "cookies", "IE_history"}));
}

const std::vector<std::string> kAllEntries = {"http://a.example/1.gif", "Cookie:user@a.example/",
                                              "http://b.example/2.htm"};

INSTANTIATE_TEST_SUITE_P(Cli, CliRememberedChoices,
                         ::testing::Values(Remembered{"1", "1", "0", "--temp --cookies", {}, 2},
                                           Remembered{"1", "0", "1", "--temp --history", {"Cookie:user@a.example/"}, 0},
                                           Remembered{"0", "1", "1", "--history", kAllEntries, 0},
                                           Remembered{"1abc", "2", "-1", "--temp", {"Cookie:user@a.example/"}, 2}));

TEST_F(CliCommandTest, RememberedChoicesThatSelectNothingAreRefusedUntouched) {
    for (const auto& [cachedUrls, history] : std::vector<std::pair<const char*, const char*>>{{"0", "0"}, {"2", "x"}}) {
        Remember(cachedUrls, "1", history);
        EXPECT_EQ(Run({"clear"}), 2) << cachedUrls << " " << history;
        EXPECT_EQ(console.err,
                  "brumix: no store named, and the remembered choices select none; name them with --temp, "
                  "--cookies, --history or --visited\n");
        EXPECT_TRUE(console.out.empty());
    }
    EXPECT_EQ(Run({"preview", "--json"}), 2);
    EXPECT_TRUE(console.out.empty()) << "no half document";

    MemoryPlatform firstRun;
    EXPECT_EQ(RunOn(firstRun, {"clear"}), 2) << "no settings key at all";

    EXPECT_FALSE(Called("FindFirstUrlCacheEntry"));
    EXPECT_FALSE(Called("RegEnumValue"));
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_FALSE(RegistryWritten());
}

// The option goes with the history: it selects the pages visited only where IE_history does.
TEST_F(CliCommandTest, RememberedChoicesSelectThePagesVisitedOnlyWithTheHistory) {
    platform.cache.Add("Visited: user@http://a.example/", kNormalCacheEntry | kUrlHistoryCacheEntry);
    platform.registry.SetText(kSettingsPath, "visited", "1");
    Remember("0", "0", "0");
    EXPECT_EQ(Run({"clear"}), 2);
    Remember("0", "0", "1");
    EXPECT_EQ(Run({"clear"}), 0);
    EXPECT_EQ(console.err, "brumix: no store named; the remembered choices select --history --visited\n");
    EXPECT_EQ(Line(console.out, "URLs In History deleted: "), "URLs In History deleted: 2");
    EXPECT_EQ(Line(console.out, "Pages Visited deleted: "), "Pages Visited deleted: 1");
    EXPECT_EQ(platform.cache.Urls(), kAllEntries);
}

TEST_F(CliCommandTest, FlagsOverrideTheRememberedChoicesWithoutReadingThem) {
    Remember("1", "1", "1");
    // With the browsers named too: without them the remembered browsers are read.
    EXPECT_EQ(Run({"clear", "--history", "--browsers", "none"}), 0);
    EXPECT_TRUE(console.err.empty()) << console.err;
    EXPECT_FALSE(Called("RegQueryValueEx"));
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());
}

// Ctrl+C between two items: what went stays gone, the rest stays, the summary still comes.
TEST_F(CliCommandTest, AStopBetweenTwoItemsEndsTheClearWithExit130) {
    console.errorIsConsole = true;
    int ticks = 0;
    // The clock is read once per item: the stop arrives while the first cache entry is handled.
    console.onTick = [&] {
        if (++ticks == 4) stop.Press(0);
    };
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--history"}), 130);
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), 0u);
    EXPECT_EQ(platform.cache.Urls(), (std::vector<std::string>{"Cookie:user@a.example/", "http://b.example/2.htm"}));
    EXPECT_EQ(Line(console.out, "Cached Files deleted: "), "Cached Files deleted: 1");
    EXPECT_EQ(Line(console.out, "URLs In History deleted: "), "URLs In History deleted: 2");
    EXPECT_NE(console.err.find("stopped by Ctrl+C"), std::string::npos) << console.err;
    EXPECT_EQ(LeftOpen(platform), "");
}

TEST_F(CliCommandTest, AStopBeforeTheFirstItemDeletesNothing) {
    stop.Press(0);
    EXPECT_EQ(Run({"clear", "--temp", "--history", "--json"}), 130);
    EXPECT_EQ(JsonValue(console.out, {"deleted"}), "{\"cached_files\": 0, \"cookies\": 0, \"typed_urls\": 0}");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "false");
    EXPECT_EQ(platform.cache.Size(), 3u);
    EXPECT_EQ(platform.registry.ValueNames(kTypedUrlsPath).size(), 2u);
    EXPECT_EQ(Run({"count"}), 130);
    EXPECT_EQ(Run({"preview", "--temp"}), 130);
    EXPECT_TRUE(console.out.empty());
}

TEST_F(CliCommandTest, ProgressShowsOnlyOnAConsoleAfterHalfASecondAndIsRemovedAtTheEnd) {
    console.stepMs = 1000;
    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    EXPECT_TRUE(console.progress.empty()) << "standard error is redirected";

    for (int i = 0; i < 20; ++i) platform.cache.Add("http://more.example/" + std::to_string(i));
    console.errorIsConsole = true;
    console.stepMs = 100;
    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    ASSERT_GE(console.progress.size(), 2u);
    // Items 1 to 4 fall inside the first half second.
    EXPECT_EQ(console.progress.front(), "clearing: 5 items looked at");
    EXPECT_EQ(console.progress.back(), "") << "the line is removed before the summary";
    EXPECT_EQ(Line(console.out, "Cached Files deleted: "), "Cached Files deleted: 20");

    console.progress.clear();
    platform.cache.Add("http://again.example/");
    console.stepMs = 0;
    EXPECT_EQ(Run({"clear", "--temp"}), 0);
    EXPECT_TRUE(console.progress.empty()) << "a quick clear shows none";
}

constexpr std::uint32_t kDiskFull = 112;

// A full disk, or a pipe whose reader has gone: what the user asked to delete still goes, and
// the exit code and standard error say that the report is lost.
TEST_F(CliCommandTest, OutputThatCannotBeWrittenGivesExitFourAndTheClearStillDeletes) {
    console.outFailsWith = kDiskFull;
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--history", "--json"}), 4);
    EXPECT_EQ(console.err, "brumix: standard output could not be written (error 112); what it was to show is lost\n");
    EXPECT_EQ(platform.cache.Size(), 0u);
    EXPECT_TRUE(platform.registry.ValueNames(kTypedUrlsPath).empty());

    EXPECT_EQ(Run({"count"}), 4);
    EXPECT_EQ(Run({"--version"}), 4);
}

TEST_F(CliCommandTest, APreviewThatCannotBeWrittenStopsAtOnce) {
    for (int i = 0; i < 20; ++i) platform.cache.Add("http://more.example/" + std::to_string(i));
    console.outFailsWith = kDiskFull;
    EXPECT_EQ(Run({"preview", "--temp"}), 4);
    EXPECT_EQ(console.outWrites, 1) << "nothing more is listed after the line that failed";
    EXPECT_EQ(LeftOpen(platform), "");
    EXPECT_EQ(console.err.find("stopped by Ctrl+C"), std::string::npos) << console.err;

    stop.Press(0);
    EXPECT_EQ(Run({"preview", "--temp"}), 130) << "a stop outranks the lost output";
}

}  // namespace
