// brumix.exe and the other browsers over the stand-ins: --browsers, the remembered list and the
// rule while none is stored, each browser's share in the text and in JSON, a browser in use or
// with a database it does not know, and the exit codes they give.
#include "cli_host_fixture.h"
#include "tests/support/chromium_fixture.h"
#include "tests/support/firefox_fixture.h"

namespace {

const std::string kLocal = "C:\\Users\\ann\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\ann\\AppData\\Roaming";
const std::string kEdge = kLocal + "\\Microsoft\\Edge\\User Data";
const std::string kEdgeDefault = kEdge + "\\Default";
const std::string kFirefoxProfile = kRoaming + "\\Mozilla\\Firefox\\Profiles\\p1.default";

// The system browser's stores hold one cached file, one cookie and one typed address; Edge one
// profile with two cached files (one named outside ASCII), two cookies (one of a kept site), a
// typed address and a page visited; Firefox one profile with a cached file, a cookie and a typed
// place with the address bar's memory of it (two typed addresses).
class CliBrowsersTest : public CliTest {
protected:
    CliBrowsersTest() {
        platform.cache.Add("http://a.example/1.gif");
        platform.cache.Add("Cookie:user@a.example/", kCookieCacheEntry);
        SeedTyped({"url1"});
        platform.userFolders.paths[UserFolder::LocalAppData] = kLocal;
        platform.userFolders.paths[UserFolder::RoamingAppData] = kRoaming;

        platform.profileFiles.WriteFile(kEdgeDefault + "\\Cache\\Cache_Data\\f_000001", "entry");
        platform.profileFiles.WriteFile(kEdgeDefault + "\\Cache\\Cache_Data\\caf\xC3\xA9", "entry");
        const FixtureCookie cookies[] = {{".bank.example"}, {"tracker.example"}};
        platform.profileFiles.WriteFile(kEdgeDefault + "\\Network\\Cookies", CookiesFile(cookies));
        const FixtureUrl urls[] = {{"https://typed.example/", 1, 1}, {"https://b.example/", 0, 1}};
        platform.profileFiles.WriteFile(kEdgeDefault + "\\History", HistoryFile(urls));

        const FixtureIniProfile listed[] = {{"default", "Profiles/p1.default"}};
        platform.profileFiles.WriteFile(kRoaming + "\\Mozilla\\Firefox\\profiles.ini", ProfilesIniText(listed));
        platform.profileFiles.WriteFile(kLocal + "\\Mozilla\\Firefox\\Profiles\\p1.default\\cache2\\entries\\A1",
                                        "entry");
        const FixtureCookie firefoxCookies[] = {{"www.shop.example"}};
        platform.profileFiles.WriteFile(kFirefoxProfile + "\\cookies.sqlite", FirefoxCookiesFile(firefoxCookies));
        FixtureDatabase places = PlacesDatabase();
        AddPlace(places, {"https://ff-typed.example/", true, 1});
        platform.profileFiles.WriteFile(kFirefoxProfile + "\\places.sqlite", places.Bytes());
    }
    void KeepBank() { EXPECT_EQ(Run({"keep", "add", "bank.example"}), 0); }
    std::int64_t EdgeCookies() {
        return CountIn(platform.profileFiles.ReadFile(kEdgeDefault + "\\Network\\Cookies").value_or(""),
                       "SELECT count(*) FROM cookies");
    }
    void HoldEdge() {
        platform.profileFiles.WriteFile(kEdge + "\\lockfile", "");
        platform.profileFiles.Hold(kEdge + "\\lockfile");
    }
};

TEST_F(CliBrowsersTest, CountGivesTheTotalsThenEachChosenBrowsersShare) {
    KeepBank();
    EXPECT_EQ(Run({"count", "--browsers", "Firefox, edge,chrome"}), 0);
    EXPECT_EQ(console.out,
              "Cached Files: 4\nCookies: 3\nURLs In History: 4\nPages Visited: 1\nCookies kept: 1\n"
              "Microsoft Edge (1 profile): Cached Files 2, Cookies 1, Cookies kept 1, URLs In History 1, "
              "Pages Visited 1\n"
              "Google Chrome: not installed\n"
              "Mozilla Firefox (1 profile): Cached Files 1, Cookies 1, URLs In History 2, Pages Visited 0\n")
        << "the browsers in the table's order, whatever the list's";
    EXPECT_TRUE(console.err.empty()) << console.err;
    EXPECT_EQ(EdgeCookies(), 2) << "a count deletes nothing";

    EXPECT_EQ(Run({"count", "--json", "--browsers", "edge,chrome"}), 0);
    EXPECT_EQ(console.out,
              "{\"cached_files\": 3, \"cookies\": 2, \"cookies_kept\": 1, \"typed_urls\": 2, \"visited_pages\": 1, "
              "\"browsers\": {"
              "\"edge\": {\"profiles\": 1, \"cached_files\": 2, \"cookies\": 1, \"cookies_kept\": 1, "
              "\"typed_urls\": 1, \"visited_pages\": 1, \"in_use\": false}, "
              "\"chrome\": {\"profiles\": 0, \"cached_files\": 0, \"cookies\": 0, \"cookies_kept\": 0, "
              "\"typed_urls\": 0, \"visited_pages\": 0, \"in_use\": false}}}\n");

    EXPECT_EQ(Run({"count", "--json", "--browsers", "none"}), 0);
    EXPECT_EQ(console.out,
              "{\"cached_files\": 1, \"cookies\": 1, \"cookies_kept\": 0, \"typed_urls\": 1, \"visited_pages\": 0}\n")
        << "no browser chosen: the report as it always was";
}

TEST_F(CliBrowsersTest, PreviewNamesEachBrowsersItemsWithBrowserAndProfileInUtf8) {
    EXPECT_EQ(Run({"preview", "--temp", "--browsers", "edge"}), 0);
    EXPECT_EQ(console.out,
              "cache\thttp://a.example/1.gif\n"
              "cache\tedge:Default:Cache\\Cache_Data\\caf\xC3\xA9\n"
              "cache\tedge:Default:Cache\\Cache_Data\\f_000001\n")
        << "a browser's names are UTF-8 already: not decoded from the code page again";
    EXPECT_EQ(Run({"preview", "--history", "--json", "--browsers", "firefox"}), 0);
    EXPECT_NE(console.out.find("{\"store\": \"typed\", \"name\": \"firefox:p1.default:https://ff-typed.example/\"}"),
              std::string::npos)
        << console.out;
}

TEST_F(CliBrowsersTest, ClearReportsEachBrowsersDeletedUnderTheTopLevelsKeys) {
    KeepBank();
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--history", "--json", "--browsers", "edge,firefox"}), 0);
    EXPECT_EQ(JsonValue(console.out, {"deleted"}), "{\"cached_files\": 4, \"cookies\": 3, \"typed_urls\": 4}");
    EXPECT_EQ(JsonValue(console.out, {"browsers", "edge"}),
              "{\"deleted\": {\"cached_files\": 2, \"cookies\": 1, \"typed_urls\": 1}, \"in_use\": false}");
    EXPECT_EQ(JsonValue(console.out, {"browsers", "firefox"}),
              "{\"deleted\": {\"cached_files\": 1, \"cookies\": 1, \"typed_urls\": 2}, \"in_use\": false}");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "true");
    EXPECT_EQ(EdgeCookies(), 1) << "the kept site's cookie stays";
    EXPECT_FALSE(platform.profileFiles.ReadFile(kEdgeDefault + "\\Cache\\Cache_Data\\f_000001"));

    EXPECT_EQ(Run({"clear", "--visited", "--browsers", "edge"}), 0);
    EXPECT_EQ(console.out,
              "Cached Files deleted: 0\nCookies deleted: 0\nURLs In History deleted: 0\n"
              "Pages Visited deleted: 1\n"
              "Microsoft Edge (1 profile): Cached Files deleted 0, Cookies deleted 0, "
              "URLs In History deleted 0, Pages Visited deleted 1\n");
}

// Nothing stored: a first start chooses what is installed; the seven choices stored without a
// list: an upgrade, none; a stored list is taken as it is, an id it does not know passed over.
// brumix never writes the list.
TEST_F(CliBrowsersTest, WithoutTheOptionTheRememberedListOrTheFirstStartRule) {
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_NE(Line(console.out, "Microsoft Edge"), "");
    EXPECT_NE(Line(console.out, "Mozilla Firefox"), "");
    EXPECT_EQ(Line(console.out, "Google Chrome"), "") << "a first start chooses only what is installed";
    EXPECT_EQ(Line(console.out, "Cached Files: "), "Cached Files: 4");

    const char* const names[] = {"cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "timer", "modal"};
    for (const char* name : names) platform.registry.SetText(kSettingsPath, name, "0");
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(console.out, "Cached Files: 1\nCookies: 1\nURLs In History: 1\nPages Visited: 0\n")
        << "after an earlier release: none";

    platform.registry.SetText(kSettingsPath, "browsers", "firefox,safari");
    EXPECT_EQ(Run({"count"}), 0);
    EXPECT_EQ(Line(console.out, "Microsoft Edge"), "");
    EXPECT_NE(Line(console.out, "Mozilla Firefox"), "");
    EXPECT_TRUE(console.err.empty()) << console.err;

    EXPECT_EQ(Run({"count", "--browsers", "edge"}), 0);
    EXPECT_NE(Line(console.out, "Microsoft Edge"), "") << "the option over the stored list";
    EXPECT_EQ(Line(console.out, "Mozilla Firefox"), "");
    EXPECT_FALSE(RegistryWritten());
}

// Edge's lockfile held: counted as far as readable, nothing deleted, named with the note on the
// browsers that outlive their windows, and exit 3, in every command.
TEST_F(CliBrowsersTest, ABrowserInUseIsLeftWholeNamedAndGivesExitThree) {
    HoldEdge();
    EXPECT_EQ(Run({"count", "--browsers", "edge"}), 3);
    EXPECT_EQ(Line(console.out, "Microsoft Edge"),
              "Microsoft Edge (1 profile, in use): Cached Files 2, Cookies 2, URLs In History 1, Pages Visited 1");
    EXPECT_EQ(console.err,
              "brumix: Microsoft Edge is running, so a clear leaves it whole until it is closed\n"
              "brumix: Edge and Chrome may keep running after their last window closes (Startup boost, "
              "background apps)\n");

    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--json", "--browsers", "edge"}), 3);
    EXPECT_EQ(EdgeCookies(), 2);
    EXPECT_TRUE(platform.profileFiles.ReadFile(kEdgeDefault + "\\Cache\\Cache_Data\\f_000001"));
    EXPECT_EQ(JsonValue(console.out, {"browsers", "edge", "in_use"}), "true");
    EXPECT_EQ(JsonValue(console.out, {"complete"}), "false");
    EXPECT_EQ(JsonValue(console.out, {"deleted", "cached_files"}), "1") << "the system browser's stores are cleared";
    EXPECT_NE(console.err.find("Microsoft Edge is running, so it was left whole; close it and clear again"),
              std::string::npos)
        << console.err;

    EXPECT_EQ(Run({"clear", "--temp", "--browsers", "firefox"}), 0) << "a browser not chosen is not asked about";
}

TEST_F(CliBrowsersTest, ADatabaseOfALayoutNotKnownIsReportedAndGivesExitThree) {
    platform.profileFiles.WriteFile(kEdgeDefault + "\\Network\\Cookies",
                                    FixtureDatabase("CREATE TABLE cookies (host_key TEXT, name TEXT)").Bytes());
    EXPECT_EQ(Run({"clear", "--temp", "--cookies", "--browsers", "edge"}), 3);
    EXPECT_EQ(console.err.rfind("brumix: Microsoft Edge: a database this program does not know how to change, so "
                                "was left whole: edge:Default:Network\\Cookies: no column path in cookies\n",
                                0),
              0u)
        << console.err;
    EXPECT_FALSE(platform.profileFiles.ReadFile(kEdgeDefault + "\\Cache\\Cache_Data\\f_000001"))
        << "the rest of the browser is cleared";
    EXPECT_EQ(Run({"count", "--browsers", "edge"}), 3);
    EXPECT_NE(console.err.find("so a clear leaves it whole: edge:Default:Network\\Cookies: "), std::string::npos)
        << console.err;
}

}  // namespace
