// The Chromium browsers' pass over fixture profiles in the stand-ins: what each kind counts and
// clears, what stays, the cookies to keep, profiles found, a browser in use, unknown layouts.
#include "sweep/chromium_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sweep/chromium_stores.h"
#include "tests/host/browser_sweep_fixture.h"

namespace {

const std::string kLocal = "C:\\Users\\Zo\xC3\xAB\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\Zo\xC3\xAB\\AppData\\Roaming";
const std::string kEdge = kLocal + "\\Microsoft\\Edge\\User Data";
const std::string kDefault = kEdge + "\\Default";
constexpr KindSet kAll = KindSet::All();
constexpr KindSet kNone{};

class ChromiumSweepTest : public BrowserSweepFixture {
protected:
    ChromiumSweepTest() : BrowserSweepFixture(kLocal, kRoaming) {}

    // A profile with two of each: cached files, cookies, typed addresses (one url, one
    // shortcut), pages visited; and the files no kind touches.
    void AddProfile(const std::string& path) {
        files.WriteFile(path + "\\Cache\\Cache_Data\\f_000001", "entry");
        files.WriteFile(path + "\\Code Cache\\js\\index-dir\\the-real-index", "index");
        const FixtureCookie cookies[] = {{"www.shop.example"}, {".news.example"}};
        files.WriteFile(path + "\\Network\\Cookies", CookiesFile(cookies));
        const FixtureUrl urls[] = {
            {"https://typed.example/", 2, 2}, {"https://a.example/", 0, 3}, {"https://b.example/", 0, 1}};
        files.WriteFile(path + "\\History", HistoryFile(urls));
        const FixtureShortcut shortcuts[] = {{"typ", "https://typed.example/"}};
        files.WriteFile(path + "\\Shortcuts", ShortcutsFile(shortcuts));
        const std::string top[] = {"https://a.example/"};
        files.WriteFile(path + "\\Top Sites", TopSitesFile(top));
        files.WriteFile(path + "\\Visited Links", "VLnk");
        files.WriteFile(path + "\\Bookmarks", R"({"roots":{"bookmark_bar":{"children":[]}}})");
        files.WriteFile(path + "\\Login Data", LoginDataFile());
        files.WriteFile(path + "\\Web Data", WebDataFile());
        files.WriteFile(path + "\\Preferences", "{}");
        files.WriteFile(path + "\\Sessions\\Session_1", "tabs");
        files.WriteFile(path + "\\Extensions\\abc\\1.0\\manifest.json", "{}");
    }
    BrowserResult Sweep(KindSet count, KindSet remove, std::string_view id = "edge") {
        return SweepChromiumBrowser(services, *FindChromiumBrowser(id), {count, remove, keep}, recorder);
    }
};

TEST_F(ChromiumSweepTest, EachKindIsCountedThenClearedWithAllThatRecordsIt) {
    AddProfile(kDefault);
    const std::string history = File(kDefault + "\\History");

    const BrowserResult counted = Sweep(kAll, kNone);
    EXPECT_TRUE(counted.installed);
    EXPECT_EQ(counted.profiles, 1);
    EXPECT_EQ(Found(counted), (std::array{2, 2, 2, 2}));
    EXPECT_TRUE(File(kDefault + "\\History") == history);
    EXPECT_TRUE(recorder.visited.size() == 8 && recorder.visited[0] == "edge:Default:Cache\\Cache_Data\\f_000001" &&
                recorder.visited[2] == "edge:Default:Cookie:id@.news.example/" &&
                recorder.visited[4] == "edge:Default:https://typed.example/" &&
                recorder.visited[5] == "edge:Default:Shortcut:typ https://typed.example/")
        << ::testing::PrintToString(recorder.visited);

    const BrowserResult cleared = Sweep(kAll, kAll);
    EXPECT_EQ(Deleted(cleared), (std::array{2, 2, 2, 2}));
    EXPECT_TRUE(cleared.complete && !cleared.inUse && cleared.layoutProblems.empty() && recorder.stayed.empty());
    EXPECT_TRUE(files.FilesUnder(kDefault + "\\Cache").empty() && files.FilesUnder(kDefault + "\\Code Cache").empty());
    EXPECT_TRUE(files.IsFolder(kDefault + "\\Cache\\Cache_Data"));
    EXPECT_EQ(Rows(kDefault + "\\Network\\Cookies", "SELECT count(*) FROM cookies"), 0);
    for (const char* table : {"urls", "visits", "visit_source", "keyword_search_terms", "segments", "segment_usage",
                              "visited_links", "content_annotations", "context_annotations", "clusters",
                              "clusters_and_visits", "cluster_keywords", "cluster_visit_duplicates"})
        EXPECT_EQ(Rows(kDefault + "\\History", std::string("SELECT count(*) FROM ") + table), 0) << table;
    EXPECT_EQ(Rows(kDefault + "\\History", "SELECT count(*) FROM downloads_url_chains"), 1);
    EXPECT_EQ(Rows(kDefault + "\\Shortcuts", "SELECT count(*) FROM omni_box_shortcuts"), 0);
    EXPECT_EQ(Rows(kDefault + "\\Top Sites", "SELECT count(*) FROM top_sites"), 0);
    EXPECT_FALSE(files.ReadFile(kDefault + "\\Visited Links"));
    for (const char* database : {"\\Network\\Cookies", "\\History", "\\Shortcuts", "\\Top Sites"})
        EXPECT_EQ(FixtureDatabase::FromBytes(File(kDefault + database)).Text("PRAGMA integrity_check"), "ok")
            << database;
}

TEST_F(ChromiumSweepTest, BookmarksPasswordsAutofillSettingsSessionsAndExtensionsStayByteForByte) {
    AddProfile(kDefault);
    const char* untouched[] = {"\\Bookmarks",   "\\Login Data",          "\\Web Data",
                               "\\Preferences", "\\Sessions\\Session_1", "\\Extensions\\abc\\1.0\\manifest.json"};
    std::vector<std::string> before;
    for (const char* file : untouched) before.push_back(File(kDefault + file));
    Sweep(kAll, kAll);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(File(kDefault + untouched[i]) == before[i]) << untouched[i];
}

TEST_F(ChromiumSweepTest, ADeletedCookieIsNotLeftReadableInTheFile) {
    const std::string secret = "session-secret-0123456789abcdef";
    const FixtureCookie cookies[] = {{"bank.example", "SID", secret}, {"shop.example"}};
    files.WriteFile(kDefault + "\\Network\\Cookies", CookiesFile(cookies));
    ASSERT_NE(File(kDefault + "\\Network\\Cookies").find(secret), std::string::npos);
    Sweep(kNone, KindSet{Kind::Cookies});
    const std::string after = File(kDefault + "\\Network\\Cookies");
    EXPECT_TRUE(after.find(secret) == std::string::npos);
    EXPECT_TRUE(after.find("bank.example") == std::string::npos);
    EXPECT_EQ(FixtureDatabase::FromBytes(after).Text("PRAGMA integrity_check"), "ok");
}

TEST_F(ChromiumSweepTest, KeptCookiesAreAskedByTheSiteAsTheSystemBrowserNamesIt) {
    const FixtureCookie cookies[] = {
        {"bank.example", "host"},     {".BANK.example", "domain"}, {"login.bank.example", "sub"},
        {"evilbank.example", "evil"}, {"[::1]", "local"},          {".", "odd"},
        {"Shop.example.", "dot"}};
    files.WriteFile(kDefault + "\\Network\\Cookies", CookiesFile(cookies));
    std::vector<std::string> asked;
    keep = [&](std::string_view site) {
        asked.emplace_back(site);
        return site == "bank.example" || site == "[::1]";
    };
    const BrowserResult result = Sweep(kNone, KindSet{Kind::Cookies});
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{"[::1]", "bank.example", "bank.example", "evilbank.example",
                                               "login.bank.example", "shop.example"}));
    EXPECT_EQ(result[Kind::Cookies].kept, 3);
    EXPECT_EQ(result[Kind::Cookies].found, 4);
    EXPECT_EQ(result[Kind::Cookies].deleted, 4);
    std::sort(recorder.kept.begin(), recorder.kept.end());
    EXPECT_EQ(recorder.kept,
              (std::vector<std::string>{"edge:Default:Cookie:domain@.BANK.example/",
                                        "edge:Default:Cookie:host@bank.example/", "edge:Default:Cookie:local@[::1]/"}));
    EXPECT_EQ(FixtureDatabase::FromBytes(File(kDefault + "\\Network\\Cookies"))
                  .Text("SELECT group_concat(name, ' ') FROM (SELECT name FROM cookies ORDER BY name)"),
              "domain host local");
}

TEST_F(ChromiumSweepTest, TypedAddressesAndPagesVisitedAreClearedApart) {
    AddProfile(kDefault);
    const std::string history = kDefault + "\\History";
    const BrowserResult typed = Sweep(kAll, KindSet{Kind::TypedUrls});
    EXPECT_EQ(typed[Kind::TypedUrls].deleted, 2);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM urls WHERE typed_count > 0"), 0);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM urls"), 2);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM visits"), 4);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM keyword_search_terms"), 2);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM clusters"), 2);
    EXPECT_EQ(Rows(kDefault + "\\Shortcuts", "SELECT count(*) FROM omni_box_shortcuts"), 0);
    EXPECT_EQ(Rows(kDefault + "\\Top Sites", "SELECT count(*) FROM top_sites"), 1);
    EXPECT_TRUE(files.ReadFile(kDefault + "\\Visited Links"));

    const FixtureUrl urls[] = {{"https://typed.example/", 1}, {"https://a.example/"}};
    files.WriteFile(history, HistoryFile(urls));
    const BrowserResult visited = Sweep(kNone, KindSet{Kind::VisitedPages});
    EXPECT_EQ(visited[Kind::VisitedPages].deleted, 1);
    EXPECT_EQ(FixtureDatabase::FromBytes(File(history)).Text("SELECT url FROM urls"), "https://typed.example/");
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM visits WHERE url = 1"), 1);
    EXPECT_EQ(Rows(history, "SELECT count(*) FROM visits"), 1);
    EXPECT_EQ(Rows(kDefault + "\\Top Sites", "SELECT count(*) FROM top_sites"), 0);
    EXPECT_FALSE(files.ReadFile(kDefault + "\\Visited Links"));
}

TEST_F(ChromiumSweepTest, ProfilesAreThoseLocalStateListsThatAreFoldersUnderTheUserData) {
    AddProfile(kDefault);
    AddProfile(kEdge + "\\Profile 2");
    AddProfile(kEdge + "\\Profile 3");
    files.AddFolder(kEdge + "\\Guest Profile");
    files.AddFolder(kLocal + "\\Microsoft\\Edge\\Outside");
    const std::string listed[] = {"Profile 2", "Default", "default", "..\\Outside", "..", "Guest Profile", "Missing"};
    files.WriteFile(kEdge + "\\Local State", LocalStateJson(listed));
    const BrowserResult result = Sweep(KindSet{Kind::Cookies}, kNone);
    EXPECT_EQ(result.profiles, 2);
    EXPECT_EQ(result[Kind::Cookies].found, 4);
    EXPECT_EQ(recorder.visited.front(), "edge:Profile 2:Cookie:id@.news.example/");
    EXPECT_EQ(recorder.visited.back(), "edge:Default:Cookie:id@www.shop.example/");
}

TEST_F(ChromiumSweepTest, WithoutAReadableLocalStateTheProfileFoldersAreFound) {
    for (const char* name :
         {"Default", "Profile 1", "Profile 12", "System Profile", "Guest Profile", "Profile x", "Crashpad"})
        AddProfile(kEdge + "\\" + name);
    for (const std::string localState : {"", "{\"profile\":{\"info_cache\":{}", "{\"profile\":{\"info_cache\":[]}}",
                                         "{\"profile\":{}}", "\xEF\xBB\xBF{\"profile\":{\"info_cache\":{}}}"}) {
        files.WriteFile(kEdge + "\\Local State", localState);
        recorder.visited.clear();
        const BrowserResult result = Sweep(KindSet{Kind::Cookies}, kNone);
        EXPECT_EQ(result.profiles, 3) << localState;
        EXPECT_EQ(recorder.visited.front(), "edge:Default:Cookie:id@.news.example/") << localState;
    }
    files.RemoveFile(kEdge + "\\Local State");
    EXPECT_EQ(Sweep(kNone, kNone).profiles, 3);
}

TEST_F(ChromiumSweepTest, ABrowserThatRunsIsLeftWholeAndCountedAsFarAsItCanBeRead) {
    AddProfile(kDefault);
    AddProfile(kEdge + "\\Profile 1");
    files.WriteFile(kEdge + "\\lockfile", "");
    files.Hold(kEdge + "\\lockfile");
    BrowserResult result = Sweep(kAll, kAll);
    EXPECT_TRUE(result.inUse);
    EXPECT_EQ(Found(result), (std::array{4, 4, 4, 4}));
    EXPECT_EQ(Deleted(result), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(files.FilesUnder(kDefault + "\\Cache").size(), 1u);

    // Without the lockfile, the cookies the browser holds in the second profile keep the first
    // one whole too: nothing is deleted before every database is open.
    files.Hold(kEdge + "\\lockfile", false);
    files.Hold(kEdge + "\\Profile 1\\Network\\Cookies");
    result = Sweep(kAll, kAll);
    EXPECT_TRUE(result.inUse);
    EXPECT_EQ(Found(result), (std::array{4, 2, 4, 4}));
    EXPECT_EQ(Deleted(result), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(Rows(kDefault + "\\Network\\Cookies", "SELECT count(*) FROM cookies"), 2);
    EXPECT_TRUE(files.ReadFile(kDefault + "\\Visited Links"));
}

TEST_F(ChromiumSweepTest, ALayoutThisProgramDoesNotKnowIsLeftWholeAndNamed) {
    FixtureDatabase noTypedCount(
        "CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR);"
        "INSERT INTO urls VALUES (1, 'https://a.example/')");
    files.WriteFile(kDefault + "\\History", noTypedCount.Bytes());
    FixtureDatabase trigger(kCookiesSchema);
    trigger.Execute(
        "CREATE TABLE log(host); CREATE TRIGGER keep AFTER DELETE ON cookies BEGIN "
        "INSERT INTO log VALUES (old.host_key); END");
    trigger.Execute(
        "INSERT INTO cookies VALUES (1, 'a.example', '', 'n', '', x'00', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
        "0, 0, 0)");
    files.WriteFile(kDefault + "\\Network\\Cookies", trigger.Bytes());
    files.WriteFile(kEdge + "\\Profile 1\\Shortcuts",
                    "not a database, but text long enough to be read as a header.......");
    const FixtureUrl urls[] = {{"https://b.example/"}};
    FixtureDatabase oldSegments = FixtureDatabase::FromBytes(HistoryFile(urls));
    oldSegments.Execute("DROP TABLE segments; CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR)");
    files.WriteFile(kEdge + "\\Profile 1\\History", oldSegments.Bytes());
    const std::string before[] = {File(kDefault + "\\History"), File(kDefault + "\\Network\\Cookies"),
                                  File(kEdge + "\\Profile 1\\History")};

    const BrowserResult result = Sweep(kNone, kAll);
    EXPECT_EQ(result.layoutProblems,
              (std::vector<std::string>{"edge:Profile 1:Shortcuts: not a database",
                                        "edge:Default:Network\\Cookies: a trigger on cookies",
                                        "edge:Default:History: no column typed_count in urls",
                                        "edge:Profile 1:History: no column url_id in segments"}));
    EXPECT_TRUE(File(kDefault + "\\History") == before[0]);
    EXPECT_TRUE(File(kDefault + "\\Network\\Cookies") == before[1]);
    EXPECT_TRUE(File(kEdge + "\\Profile 1\\History") == before[2]);
    EXPECT_EQ(result[Kind::VisitedPages].found, 1);
    EXPECT_EQ(result[Kind::VisitedPages].deleted, 0);
}

TEST_F(ChromiumSweepTest, ABrowserNotInstalledHasNoProfilesAndNoFigures) {
    AddProfile(kLocal + "\\Google\\Chrome\\User Data\\Default");
    BrowserResult result = Sweep(kAll, kAll);
    EXPECT_FALSE(result.installed);
    EXPECT_EQ(Found(result), (std::array{0, 0, 0, 0}));
    EXPECT_TRUE(Sweep(kAll, kNone, "chrome").installed);

    // The Windows 9x family has no user folders: no browser is there.
    folders.paths.clear();
    faults.Clear();
    EXPECT_FALSE(Sweep(kAll, kNone, "chrome").installed);
    EXPECT_TRUE(faults.Calls().empty());
}

TEST_F(ChromiumSweepTest, OperasFolderIsItsProfileAndItsCacheLivesUnderTheLocalFolder) {
    const std::string roaming = kRoaming + "\\Opera Software\\Opera Stable";
    const std::string local = kLocal + "\\Opera Software\\Opera Stable";
    AddProfile(roaming);
    files.RemoveFile(roaming + "\\Cache\\Cache_Data\\f_000001");
    files.WriteFile(local + "\\Cache\\Cache_Data\\f_000007", "entry");
    files.WriteFile(local + "\\Cache\\Cache_Data\\index", "index");
    const BrowserResult result = Sweep(kAll, KindSet{Kind::CachedFiles}, "opera");
    EXPECT_EQ(result.profiles, 1);
    EXPECT_EQ(Found(result), (std::array{3, 2, 2, 2}));
    EXPECT_EQ(recorder.visited[0], "opera:Opera Stable:Cache\\Cache_Data\\f_000007");
    EXPECT_TRUE(files.FilesUnder(local).empty());
}

TEST_F(ChromiumSweepTest, AStopAmidAKindsRowsLeavesThatKindWhole) {
    AddProfile(kDefault);
    recorder.stopAfterVisits = 3;
    const BrowserResult result = Sweep(kNone, kAll);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(Deleted(result), (std::array{2, 0, 0, 0}));
    EXPECT_EQ(Rows(kDefault + "\\Network\\Cookies", "SELECT count(*) FROM cookies"), 2);
    EXPECT_EQ(recorder.visited.size(), 3u);
}

TEST_F(ChromiumSweepTest, AChangeThatFailsIsRolledBackAndToldOnceByTheDatabase) {
    AddProfile(kDefault);
    files.MakeReadOnly(kDefault + "\\History");
    files.Hold(kDefault + "\\Code Cache\\js\\index-dir\\the-real-index");
    const BrowserResult result = Sweep(kNone, kAll);
    EXPECT_EQ(Deleted(result), (std::array{1, 2, 1, 0}));
    EXPECT_EQ(result.stayed, 3);
    EXPECT_EQ(recorder.stayed, (std::vector<std::string>{"edge:Default:Code Cache\\js\\index-dir\\the-real-index",
                                                         "edge:Default:History", "edge:Default:History"}));
    EXPECT_EQ(Rows(kDefault + "\\History", "SELECT count(*) FROM urls"), 3);
}

TEST_F(ChromiumSweepTest, TheCacheWalkFollowsNoLinkAndStopsAtItsDepth) {
    files.AddLink(kDefault + "\\Cache\\Cache_Data\\elsewhere");
    files.WriteFile(kDefault + "\\Cache\\Cache_Data\\elsewhere\\Documents.txt", "mine");
    BrowserResult result = Sweep(kNone, KindSet{Kind::CachedFiles});
    EXPECT_EQ(result[Kind::CachedFiles].found, 0);
    EXPECT_TRUE(result.complete);
    EXPECT_TRUE(files.ReadFile(kDefault + "\\Cache\\Cache_Data\\elsewhere\\Documents.txt"));

    std::string deep = kDefault + "\\GPUCache";
    for (int i = 0; i < 17; ++i) deep += "\\d";
    files.WriteFile(deep + "\\data_0", "deep");
    result = Sweep(kNone, KindSet{Kind::CachedFiles});
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(files.ReadFile(deep + "\\data_0"));
}

}  // namespace
