// Firefox's pass over fixture profiles in the stand-ins: what each kind counts and clears, the
// bookmarks that stay, the cookies to keep, the profiles profiles.ini lists, Firefox in use,
// unknown layouts.
#include "sweep/firefox_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sweep/profiles_ini.h"
#include "tests/host/browser_sweep_fixture.h"
#include "tests/support/firefox_fixture.h"

namespace {

const std::string kLocal = "C:\\Users\\Zo\xC3\xAB\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\Zo\xC3\xAB\\AppData\\Roaming";
const std::string kFirefox = kRoaming + "\\Mozilla\\Firefox";
const std::string kName = "abcd1234.default-release";
const std::string kProfile = kFirefox + "\\Profiles\\" + kName;
const std::string kCache = kLocal + "\\Mozilla\\Firefox\\Profiles\\" + kName;
const std::string kPlaces = kProfile + "\\places.sqlite";
constexpr KindSet kAll = KindSet::All();
constexpr KindSet kNone{};
// The files no kind touches.
const char* const kUntouched[] = {"\\logins.json", "\\key4.db",         "\\formhistory.sqlite",
                                  "\\prefs.js",    "\\extensions.json", "\\sessionstore-backups\\recovery.jsonlz4"};

class FirefoxSweepTest : public BrowserSweepFixture {
protected:
    FirefoxSweepTest() : BrowserSweepFixture(kLocal, kRoaming) {}

    void ListProfiles(std::span<const FixtureIniProfile> profiles) {
        files.WriteFile(kFirefox + "\\profiles.ini", ProfilesIniText(profiles));
    }
    // A profile with four cached files, two cookies, a typed address with its typed text, two
    // pages visited and a third that is bookmarked, tagged and has a keyword, a bookmark never
    // visited, their icons, and the files no kind touches.
    void AddProfile(const std::string& path, const std::string& cache) {
        files.WriteFile(cache + "\\cache2\\entries\\0A1B2C3D", "entry");
        files.WriteFile(cache + "\\cache2\\doomed\\1", "doomed");
        files.WriteFile(cache + "\\cache2\\index", "index");
        files.WriteFile(cache + "\\startupCache\\scriptCache-current.bin", "scripts");
        const FixtureCookie cookies[] = {{"www.shop.example"}, {".news.example"}};
        files.WriteFile(path + "\\cookies.sqlite", FirefoxCookiesFile(cookies));
        FixtureDatabase places = PlacesDatabase();
        AddPlace(places, {"https://typed.example/", true, 2});
        AddPlace(places, {"https://a.example/", false, 3});
        AddPlace(places, {"https://b.example/page", false, 1});
        Bookmark(places, AddPlace(places, {"https://kept.example/", false, 2}), "Kept", "reading", "kp");
        Bookmark(places, AddPlace(places, {"https://unvisited.example/", false, 0}), "Later");
        files.WriteFile(path + "\\places.sqlite", places.Bytes());
        const std::string pages[] = {"https://typed.example/", "https://a.example/", "https://b.example/page",
                                     "https://kept.example/", "https://unvisited.example/"};
        files.WriteFile(path + "\\favicons.sqlite", FaviconsFile(pages));
        files.WriteFile(path + "\\parent.lock", "");
        files.WriteFile(path + "\\logins.json", std::string(kLoginsJson));
        files.WriteFile(path + "\\key4.db", Key4File());
        files.WriteFile(path + "\\formhistory.sqlite", FormHistoryFile());
        files.WriteFile(path + "\\prefs.js", "user_pref(\"browser.startup.page\", 3);");
        files.WriteFile(path + "\\extensions.json", "{}");
        files.WriteFile(path + "\\sessionstore-backups\\recovery.jsonlz4", "mozLz40");
    }
    void AddListedProfile() {
        const FixtureIniProfile listed[] = {{"default-release", "Profiles/" + kName}};
        ListProfiles(listed);
        AddProfile(kProfile, kCache);
    }
    FixtureDatabase Database(const std::string& path) { return FixtureDatabase::FromBytes(File(path)); }

    BrowserResult Sweep(KindSet count, KindSet remove) {
        return SweepFirefox(services, {count, remove, keep}, recorder);
    }
    // integrity_check and foreign_key_check, as one line: "ok" when both are.
    std::string Checked(const std::string& path) {
        FixtureDatabase db = Database(path);
        const std::int64_t dangling = db.Number("SELECT count(*) FROM pragma_foreign_key_check");
        return db.Text("PRAGMA integrity_check") + (dangling == 0 ? "" : " and rows dangling");
    }
    // Two profiles listed, the second "second.default".
    std::string AddTwoProfiles() {
        const std::string second = kFirefox + "\\Profiles\\second.default";
        const FixtureIniProfile listed[] = {{"default-release", "Profiles/" + kName},
                                            {"second", "Profiles/second.default"}};
        ListProfiles(listed);
        AddProfile(kProfile, kCache);
        AddProfile(second, kLocal + "\\Mozilla\\Firefox\\Profiles\\second.default");
        return second;
    }
};

TEST_F(FirefoxSweepTest, EachKindIsCountedThenClearedWithAllThatRecordsIt) {
    AddListedProfile();
    const std::string before = File(kPlaces);

    const BrowserResult counted = Sweep(kAll, kNone);
    EXPECT_TRUE(counted.installed);
    EXPECT_EQ(counted.profiles, 1);
    EXPECT_EQ(Found(counted), (std::array{4, 2, 2, 3}));
    EXPECT_TRUE(File(kPlaces) == before);
    const std::string prefix = "firefox:" + kName + ":";
    EXPECT_TRUE(
        std::count(recorder.visited.begin(), recorder.visited.end(), prefix + "cache2\\entries\\0A1B2C3D") &&
        std::count(recorder.visited.begin(), recorder.visited.end(), prefix + "Cookie:id@.news.example/") &&
        std::count(recorder.visited.begin(), recorder.visited.end(), prefix + "https://typed.example/") &&
        std::count(recorder.visited.begin(), recorder.visited.end(), prefix + "Input:typ https://typed.example/") &&
        std::count(recorder.visited.begin(), recorder.visited.end(), prefix + "https://kept.example/"))
        << ::testing::PrintToString(recorder.visited);

    const BrowserResult cleared = Sweep(kAll, kAll);
    EXPECT_EQ(Deleted(cleared), (std::array{4, 2, 2, 3}));
    EXPECT_TRUE(cleared.complete && !cleared.inUse && cleared.layoutProblems.empty() && recorder.stayed.empty())
        << ::testing::PrintToString(cleared.layoutProblems);
    EXPECT_TRUE(files.FilesUnder(kCache).empty());
    EXPECT_TRUE(files.IsFolder(kCache + "\\cache2\\entries"));
    EXPECT_EQ(Rows(kProfile + "\\cookies.sqlite", "SELECT count(*) FROM moz_cookies"), 0);
    for (const char* table : {"moz_historyvisits", "moz_historyvisits_extra", "moz_inputhistory", "moz_places_metadata",
                              "moz_places_metadata_search_queries", "moz_newtab_shortcuts_interaction"})
        EXPECT_EQ(Rows(kPlaces, std::string("SELECT count(*) FROM ") + table), 0) << table;
    FixtureDatabase places = Database(kPlaces);
    EXPECT_EQ(places.Text("SELECT group_concat(url, ' ') FROM (SELECT url FROM moz_places ORDER BY url)"),
              "https://kept.example/ https://unvisited.example/");
    EXPECT_EQ(places.Text("SELECT group_concat(host, ' ') FROM (SELECT host FROM moz_origins ORDER BY host)"),
              "kept.example unvisited.example");
    EXPECT_EQ(places.Number("SELECT count(*) FROM moz_places_extra"), 2);
    FixtureDatabase favicons = Database(kProfile + "\\favicons.sqlite");
    EXPECT_EQ(
        favicons.Text("SELECT group_concat(page_url, ' ') FROM (SELECT page_url FROM moz_pages_w_icons ORDER BY 1)"),
        "https://kept.example/ https://unvisited.example/");
    EXPECT_EQ(favicons.Text("SELECT group_concat(icon_url, ' ') FROM (SELECT icon_url FROM moz_icons ORDER BY 1)"),
              "https://kept.example/favicon.ico https://kept.example/icon.png https://unvisited.example/favicon.ico "
              "https://unvisited.example/icon.png");
    for (const char* database : {"\\places.sqlite", "\\cookies.sqlite", "\\favicons.sqlite"})
        EXPECT_EQ(Checked(kProfile + database), "ok") << database;
}

TEST_F(FirefoxSweepTest, PasswordsFormHistorySettingsExtensionsAndSessionsStayByteForByte) {
    AddListedProfile();
    std::vector<std::string> before;
    for (const char* file : kUntouched) before.push_back(File(kProfile + file));
    Sweep(kAll, kAll);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(File(kProfile + kUntouched[i]) == before[i]) << kUntouched[i];
}

TEST_F(FirefoxSweepTest, ABookmarkedPlaceStaysWithItsBookmarkTagsAndKeywordAndSaysNothingOfWhen) {
    AddListedProfile();
    FixtureDatabase places = Database(kPlaces);
    Bookmark(places, AddPlace(places, {"https://typedmark.example/#top", true, 1}), "Typed mark");
    files.WriteFile(kPlaces, places.Bytes());
    const std::string bookmarks = BookmarksText(places);
    // Its icon kept by the address without the fragment.
    const std::string pages[] = {"https://typedmark.example/", "https://a.example/"};
    files.WriteFile(kProfile + "\\favicons.sqlite", FaviconsFile(pages));

    const BrowserResult result = Sweep(kNone, KindSet{Kind::TypedUrls, Kind::VisitedPages});
    EXPECT_EQ(Deleted(result), (std::array{0, 0, 4, 3}));
    FixtureDatabase after = Database(kPlaces);
    EXPECT_EQ(BookmarksText(after), bookmarks);
    // Found by its URL, as the bookmark opens it: no visit, no date, not typed, its frecency
    // left for Firefox to work out again, still held by its bookmark, tag and keyword.
    for (const char* url : {"https://kept.example/", "https://typedmark.example/#top"})
        EXPECT_EQ(
            after.Text(std::string("SELECT visit_count || ' ' || ifnull(last_visit_date, 'none') || ' ' || typed || "
                                   "' ' || frecency || ' ' || recalc_frecency || ' ' || recalc_alt_frecency FROM "
                                   "moz_places WHERE url = '") +
                       url + "'"),
            "0 none 0 1 1 1")
            << url;
    EXPECT_EQ(after.Number("SELECT foreign_count FROM moz_places WHERE url = 'https://kept.example/'"), 3);
    // Its origin stays, with the frecency its places now add up to, and the statistics with it.
    EXPECT_EQ(after.Text("SELECT frecency || ' ' || recalc_frecency FROM moz_origins WHERE host = 'kept.example'"),
              "1 1");
    EXPECT_EQ(after.Text("SELECT group_concat(key || '=' || value, ' ') FROM moz_meta"),
              "origin_frecency_count=3 origin_frecency_sum=102.0 origin_frecency_sum_of_squares=10002.0 "
              "sync/history/syncId=kept-sync-id");
    EXPECT_EQ(Checked(kPlaces), "ok");
    EXPECT_EQ(
        Database(kProfile + "\\favicons.sqlite").Text("SELECT group_concat(page_url, ' ') FROM moz_pages_w_icons"),
        "https://typedmark.example/");
}

TEST_F(FirefoxSweepTest, APlaceABookmarkOrAnAnnotationHoldsStaysWhateverForeignCountSays) {
    AddListedProfile();
    FixtureDatabase places = Database(kPlaces);
    places.Execute("UPDATE moz_places SET foreign_count = 0");
    const std::int64_t annotated = AddPlace(places, {"https://download.example/file.zip", false, 1});
    places.Execute("INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI')");
    places.Execute("INSERT INTO moz_annos (place_id, anno_attribute_id, content) VALUES (" + std::to_string(annotated) +
                   ", 1, 'file:///C:/Users/file.zip')");
    files.WriteFile(kPlaces, places.Bytes());

    Sweep(kNone, KindSet{Kind::VisitedPages});
    EXPECT_EQ(Database(kPlaces).Text("SELECT group_concat(url, ' ') FROM (SELECT url FROM moz_places ORDER BY url)"),
              "https://download.example/file.zip https://kept.example/ https://typed.example/ "
              "https://unvisited.example/");
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_annos"), 1);
}

TEST_F(FirefoxSweepTest, TypedAddressesAndPagesVisitedAreClearedApart) {
    AddListedProfile();
    const BrowserResult typed = Sweep(kAll, KindSet{Kind::TypedUrls});
    EXPECT_EQ(Deleted(typed), (std::array{0, 0, 2, 0}));
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_places WHERE typed = 1"), 0);
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_inputhistory"), 0);
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_historyvisits"), 6);
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_origins WHERE host = 'typed.example'"), 0);

    AddListedProfile();
    const BrowserResult visited = Sweep(kNone, KindSet{Kind::VisitedPages});
    EXPECT_EQ(Deleted(visited), (std::array{0, 0, 0, 3}));
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_historyvisits"), 2);
    EXPECT_EQ(Rows(kPlaces,
                   "SELECT count(*) FROM moz_historyvisits v JOIN moz_places p ON p.id = v.place_id WHERE "
                   "p.url = 'https://typed.example/' AND p.visit_count = 2"),
              2);
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_inputhistory"), 1);
}

TEST_F(FirefoxSweepTest, ProfilesAreThoseProfilesIniListsRelativeOrByTheirFullPath) {
    const std::string absolute = "D:\\Firefox\\Work";
    const std::string outside = kRoaming + "\\Mozilla\\Outside";
    const FixtureIniProfile listed[] = {
        {"default-release", "Profiles/" + kName}, {"work", absolute, false}, {"escape", "../Outside"}};
    ListProfiles(listed);
    AddProfile(kProfile, kCache);
    AddProfile(absolute, absolute);
    AddProfile(outside, outside);
    const std::string gap = "[Profile4]\r\nName=gap\r\nIsRelative=1\r\nPath=Profiles/" + kName + "\r\n";
    files.WriteFile(kFirefox + "\\profiles.ini", File(kFirefox + "\\profiles.ini") + gap);

    const BrowserResult result = Sweep(kNone, KindSet{Kind::CachedFiles, Kind::Cookies});
    EXPECT_EQ(result.profiles, 2);
    EXPECT_EQ(Deleted(result), (std::array{8, 4, 0, 0}));
    EXPECT_EQ(result.layoutProblems,
              (std::vector<std::string>{"firefox:profiles.ini: Profile2: its relative path is not plainly a folder "
                                        "under Firefox's"}));
    EXPECT_TRUE(files.FilesUnder(kCache).empty());
    EXPECT_FALSE(files.ReadFile(absolute + "\\cache2\\index"));
    EXPECT_TRUE(files.ReadFile(outside + "\\cache2\\index"));
    EXPECT_EQ(Rows(outside + "\\cookies.sqlite", "SELECT count(*) FROM moz_cookies"), 2);
    EXPECT_TRUE(std::count(recorder.visited.begin(), recorder.visited.end(),
                           "firefox:Work:startupCache\\scriptCache-current.bin"));
}

TEST_F(FirefoxSweepTest, WithoutProfilesIniFirefoxIsNotInstalledAndOneUnreadableListsNoProfile) {
    AddProfile(kProfile, kCache);
    BrowserResult result = Sweep(kAll, kAll);
    EXPECT_FALSE(result.installed);
    EXPECT_EQ(Found(result), (std::array{0, 0, 0, 0}));

    files.WriteFile(kFirefox + "\\profiles.ini",
                    "[Profile0]\r\nName=x\r\nIsRelative=1\r\nPath=Profiles/" + kName + "\r\nthis line is no key\r\n");
    result = Sweep(kAll, kAll);
    EXPECT_TRUE(result.installed);
    EXPECT_EQ(result.profiles, 0);
    EXPECT_EQ(result.layoutProblems,
              (std::vector<std::string>{"firefox:profiles.ini: line 5 is no section, key or comment"}));
    EXPECT_EQ(files.FilesUnder(kCache).size(), 4u);

    files.WriteFile(kFirefox + "\\profiles.ini", std::string(kProfilesIniMaxBytes + 1, ';'));
    EXPECT_EQ(Sweep(kAll, kAll).layoutProblems, (std::vector<std::string>{"firefox:profiles.ini: larger than 1 MB"}));
}

TEST_F(FirefoxSweepTest, FirefoxRunningInAnyProfileLeavesEveryProfileWholeAndCountedAsFarAsItCanBeRead) {
    const std::string second = AddTwoProfiles();
    const std::string places = File(kPlaces);
    files.Hold(second + "\\parent.lock");
    BrowserResult result = Sweep(kAll, kAll);
    EXPECT_TRUE(result.inUse);
    EXPECT_EQ(Found(result), (std::array{8, 4, 4, 6}));
    EXPECT_EQ(Deleted(result), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(files.FilesUnder(kCache).size(), 4u);
    EXPECT_TRUE(File(kPlaces) == places);

    // The lock let go, the places it holds open keep the other profile whole too.
    files.Hold(second + "\\parent.lock", false);
    files.Hold(second + "\\places.sqlite");
    result = Sweep(kAll, kAll);
    EXPECT_TRUE(result.inUse);
    EXPECT_EQ(Found(result), (std::array{8, 4, 2, 3}));
    EXPECT_EQ(Deleted(result), (std::array{0, 0, 0, 0}));
    EXPECT_TRUE(File(kPlaces) == places);
}

TEST_F(FirefoxSweepTest, ALayoutThisProgramDoesNotKnowIsLeftWholeAndNamed) {
    const std::string second = AddTwoProfiles();
    FixtureDatabase noForeignCount = Database(kPlaces);
    noForeignCount.Execute("ALTER TABLE moz_places DROP COLUMN foreign_count");
    files.WriteFile(kPlaces, noForeignCount.Bytes());
    FixtureDatabase trigger = Database(kProfile + "\\cookies.sqlite");
    trigger.Execute(
        "CREATE TABLE log(host); CREATE TRIGGER keep AFTER DELETE ON moz_cookies BEGIN INSERT INTO log VALUES "
        "(old.host); END");
    files.WriteFile(kProfile + "\\cookies.sqlite", trigger.Bytes());
    FixtureDatabase newer = Database(second + "\\places.sqlite");
    newer.Execute("CREATE TABLE moz_places_notes(id INTEGER PRIMARY KEY, place_id INTEGER, note TEXT)");
    files.WriteFile(second + "\\places.sqlite", newer.Bytes());
    const std::string before[] = {File(kPlaces), File(kProfile + "\\cookies.sqlite"), File(second + "\\places.sqlite")};

    const BrowserResult result = Sweep(kNone, KindSet{Kind::Cookies, Kind::TypedUrls, Kind::VisitedPages});
    EXPECT_EQ(result.layoutProblems,
              (std::vector<std::string>{"firefox:" + kName + ":cookies.sqlite: a trigger on moz_cookies",
                                        "firefox:" + kName + ":places.sqlite: no column foreign_count in moz_places",
                                        "firefox:second.default:places.sqlite: an unknown table moz_places_notes "
                                        "records places"}));
    EXPECT_TRUE(File(kPlaces) == before[0]);
    EXPECT_TRUE(File(kProfile + "\\cookies.sqlite") == before[1]);
    EXPECT_TRUE(File(second + "\\places.sqlite") == before[2]);
    EXPECT_EQ(Found(result), (std::array{0, 2, 2, 3}));
    EXPECT_EQ(Deleted(result), (std::array{0, 2, 0, 0}));
}

TEST_F(FirefoxSweepTest, KeptCookiesAreAskedByTheSiteAsTheSystemBrowserNamesIt) {
    AddListedProfile();
    const FixtureCookie cookies[] = {{".BANK.example", "domain"},
                                     {"bank.example.", "dot"},
                                     {"::1", "local"},
                                     {"evilbank.example", "evil"},
                                     {"", "none"},
                                     {".", "odd"}};
    files.WriteFile(kProfile + "\\cookies.sqlite", FirefoxCookiesFile(cookies));
    std::vector<std::string> asked;
    keep = [&](std::string_view site) {
        asked.emplace_back(site);
        return site == "bank.example" || site == "[::1]";
    };
    const BrowserResult result = Sweep(kNone, KindSet{Kind::Cookies});
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{"[::1]", "bank.example", "bank.example", "evilbank.example"}));
    EXPECT_EQ(result[Kind::Cookies].kept, 3);
    EXPECT_EQ(result[Kind::Cookies].deleted, 3);
    EXPECT_EQ(Database(kProfile + "\\cookies.sqlite")
                  .Text("SELECT group_concat(name, ' ') FROM (SELECT name FROM moz_cookies ORDER BY name)"),
              "domain dot local");
}

TEST_F(FirefoxSweepTest, ACookieAndAPageDeletedAreNotLeftReadableInTheFiles) {
    AddListedProfile();
    const std::string secret = "session-secret-0123456789abcdef";
    const FixtureCookie cookies[] = {{"bank.example", "SID", secret}, {"shop.example"}};
    files.WriteFile(kProfile + "\\cookies.sqlite", FirefoxCookiesFile(cookies));
    ASSERT_NE(File(kPlaces).find("b.example/page"), std::string::npos);
    Sweep(kNone, KindSet{Kind::Cookies, Kind::TypedUrls, Kind::VisitedPages});
    EXPECT_EQ(File(kProfile + "\\cookies.sqlite").find(secret), std::string::npos);
    for (const char* database : {"\\places.sqlite", "\\favicons.sqlite"})
        EXPECT_EQ(File(kProfile + database).find("b.example/page"), std::string::npos) << database;
}

TEST_F(FirefoxSweepTest, AChangeThatFailsIsRolledBackAndToldOnceByTheDatabase) {
    AddListedProfile();
    files.MakeReadOnly(kPlaces);
    const std::string favicons = File(kProfile + "\\favicons.sqlite");
    const BrowserResult result = Sweep(kNone, kAll);
    EXPECT_EQ(Deleted(result), (std::array{4, 2, 0, 0}));
    const std::string name = "firefox:" + kName + ":places.sqlite";
    EXPECT_EQ(recorder.stayed, (std::vector<std::string>{name, name}));
    EXPECT_EQ(Rows(kPlaces, "SELECT count(*) FROM moz_places"), 5);
    EXPECT_TRUE(File(kProfile + "\\favicons.sqlite") == favicons);
}

}  // namespace
