// brumix.exe's command line: commands, flags in any order, help and version, every usage error.
#include "cli/arguments.h"
#include "cli/report.h"
#include "cli_host_fixture.h"

namespace {

TEST(CliArguments, FlagsComeInAnyOrderAfterTheCommandAndIgnoreCase) {
    const ParseResult parsed = ParseArguments({"Clear", "--JSON", "--history", "--temp", "--Cookies", "--Visited"});
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    EXPECT_EQ(parsed.arguments.command, Command::Clear);
    EXPECT_EQ(parsed.arguments.kinds, KindSet::All());
    EXPECT_TRUE(parsed.arguments.json);

    const ParseResult bare = ParseArguments({"preview"});
    ASSERT_TRUE(bare.Ok());
    EXPECT_EQ(bare.arguments.command, Command::Preview);
    EXPECT_FALSE(bare.arguments.AnyStore());
    EXPECT_FALSE(bare.arguments.json);

    EXPECT_EQ(ParseArguments({"count", "--json"}).arguments.command, Command::Count);
    EXPECT_EQ(ParseArguments({"--version"}).arguments.command, Command::Version);
}

TEST(CliArguments, AHelpFlagAnywhereAsksForHelp) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"/?"}, {"-H"}, {"clear", "--temp", "/?"}, {"wipe", "--bogus", "--help"}}) {
        const ParseResult parsed = ParseArguments(args);
        EXPECT_TRUE(parsed.Ok()) << args.back() << ": " << parsed.error;
        EXPECT_EQ(parsed.arguments.command, Command::Help) << args.back();
    }
}

// Read through GetParam(), which cppcheck does not follow.
struct UsageCase {
    // cppcheck-suppress unusedStructMember
    std::vector<std::string> args;
    // cppcheck-suppress unusedStructMember
    const char* named;  // what the message must mention
};

class CliUsageErrors : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

// Each is refused with a message naming the problem, exit 2, and not one platform call.
TEST_P(CliUsageErrors, AreRefusedBeforeAnythingIsTouched) {
    platform.cache.Add("http://keep.example/");
    SeedTyped({"url1"});
    Remember("1", "1", "1");

    EXPECT_EQ(Run(GetParam().args), 2);
    EXPECT_NE(console.err.find(GetParam().named), std::string::npos) << console.err;
    EXPECT_NE(console.err.find("brumix --help"), std::string::npos) << console.err;
    EXPECT_TRUE(console.out.empty()) << console.out;
    EXPECT_TRUE(platform.faults.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Cli, CliUsageErrors,
                         ::testing::Values(UsageCase{{}, "no command"}, UsageCase{{"wipe"}, "unknown command 'wipe'"},
                                           UsageCase{{"--temp", "clear"}, "command must come first"},
                                           UsageCase{{"clear", "--tmp"}, "unknown option '--tmp'"},
                                           UsageCase{{"clear", "/s"}, "unknown option '/s'"},
                                           UsageCase{{"clear", "everything"}, "unexpected argument 'everything'"},
                                           UsageCase{{"clear", "count"}, "one command at a time"},
                                           UsageCase{{"clear", "--cookies"},
                                                     "--cookies is only valid together with --temp"},
                                           UsageCase{{"preview", "--cookies", "--history"}, "--cookies is only valid"},
                                           UsageCase{{"count", "--temp"}, "count always counts the four stores"},
                                           UsageCase{{"--version", "--json"}, "--version takes nothing"}));

// An id that names no browser is refused before anything is read: a typing error must not clear
// less than the user meant, nor fall back on the remembered list.
INSTANTIATE_TEST_SUITE_P(
    Browsers, CliUsageErrors,
    ::testing::Values(
        UsageCase{{"count", "--browsers", "edge,nosuch"},
                  "unknown browser 'nosuch'; the browsers are edge, chrome, brave, vivaldi, opera and firefox"},
        UsageCase{{"clear", "--temp", "--browsers"}, "--browsers needs a list"},
        UsageCase{{"clear", "--browsers", "--temp"}, "--browsers needs a list"},
        UsageCase{{"preview", "--temp", "--browsers", "edge", "--browsers", "none"}, "--browsers is given twice"},
        UsageCase{{"--browsers", "all", "count"}, "command must come first"},
        UsageCase{{"keep", "--browsers", "edge"}, "keep takes no --browsers"}));

TEST(CliArguments, BrowsersTakeIdsAllOrNoneForEveryCommandThatSweeps) {
    const ParseResult some = ParseArguments({"clear", "--Browsers", "Firefox, edge", "--temp"});
    ASSERT_TRUE(some.Ok()) << some.error;
    EXPECT_EQ(some.arguments.browsers, SourceSet::Only(SourceId::Edge) | SourceSet::Only(SourceId::Firefox));
    EXPECT_EQ(some.arguments.kinds, KindSet{Kind::CachedFiles});
    const ParseResult all = ParseArguments({"count", "--browsers", "ALL", "--json"});
    ASSERT_TRUE(all.Ok()) << all.error;
    SourceSet every;
    for (const Source& row : BrowserSources()) every |= SourceSet::Only(row.id);
    EXPECT_EQ(all.arguments.browsers, every);
    const ParseResult none = ParseArguments({"preview", "--browsers", "none"});
    ASSERT_TRUE(none.Ok()) << none.error;
    EXPECT_EQ(none.arguments.browsers, SourceSet{}) << "none named is not the same as the option left out";
    EXPECT_FALSE(ParseArguments({"count"}).arguments.browsers);
}

// Nothing is read or written for a keep that is refused, however many of its sites are sound.
INSTANTIATE_TEST_SUITE_P(
    Keep, CliUsageErrors,
    ::testing::Values(UsageCase{{"keep", "remove", "--json"}, "keep remove needs at least one site"},
                      UsageCase{{"keep", "bank.example"}, "keep takes add or remove, not 'bank.example'"},
                      UsageCase{{"keep", "add", "bank.example", "not a site"},
                                "'not a site' is no host name or IP address: ' ' cannot be part of a host name"},
                      UsageCase{{"keep", "--cookies"}, "keep takes no store flag"}));

TEST_F(CliTest, HelpAndVersionGoToStandardOutputAndTouchNothing) {
    EXPECT_EQ(Run({"/?"}), 0);
    EXPECT_EQ(console.out, UsageText());
    EXPECT_EQ(console.out.rfind(
                  "Usage: brumix COMMAND [--temp] [--cookies] [--history] [--visited] [--browsers LIST] [--json]\n", 0),
              0u);
    EXPECT_NE(console.out.find("130"), std::string::npos) << "the exit codes are listed";
    EXPECT_TRUE(console.err.empty());
    // Each kind's flag and help, and what count counts, filled to 80 columns from the sixteenth.
    for (const char* entry : {"\n  count         count the cached files, the cookies, the typed addresses and the\n"
                              "                pages visited\n",
                              "\n                is cache, cookie, cookie-file, typed or visited; deletes nothing\n",
                              "\n  --temp        the temporary Internet files: the cache entries that are neither\n"
                              "                cookies nor pages visited\n  --cookies     the cookies as well;",
                              "\n  --visited     the pages visited, from the browser's history\n\nOther browsers",
                              "\n  --browsers LIST\n                the browsers whose caches,",
                              "\n    edge        Microsoft Edge\n", "\n    firefox     Mozilla Firefox\n\n  --json "}) {
        EXPECT_NE(console.out.find(entry), std::string::npos) << entry;
    }

    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(console.out, "brumix " BRUMIX_VERSION_TEXT "\n");
    EXPECT_TRUE(platform.faults.Calls().empty());
}

}  // namespace
