// Firefox's profile files as the tests lay them out: places.sqlite, favicons.sqlite and
// cookies.sqlite in the tables a current release creates (read from its public layouts), the
// rows its own triggers would keep (visit counts, origins, foreign_count) written out, and
// profiles.ini; for the stand-ins, the Windows-side tests, the fuzzer and the benchmark.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tests/support/chromium_fixture.h"

extern const char kPlacesSchema[];
extern const char kFaviconsSchema[];
extern const char kFirefoxCookiesSchema[];

// places.sqlite with its bookmark roots (menu, toolbar, tags, unfiled, mobile) and nothing else,
// in pages of the size given (Firefox's own are of 32 KB).
FixtureDatabase PlacesDatabase(int pageSize = 4096);

struct FixturePlace {
    std::string url;
    bool typed = false;
    int visits = 1;
};
// The place with its origin and its visits, and what records them: an extra row for the place
// and for each visit, once visited a history metadata row with a search and a new tab
// interaction, and for a typed place the address bar's memory of its first letters. Its id.
std::int64_t AddPlace(FixtureDatabase& places, const FixturePlace& place);
// A bookmark of the place in the bookmarks menu, and when given a tag (a folder under the tags
// root holding a bookmark of the place) and a keyword; foreign_count raised as Firefox raises it.
void Bookmark(FixtureDatabase& places, std::int64_t place, std::string_view title, std::string_view tag = {},
              std::string_view keyword = {});
// Everything a clear must leave of the bookmarks, as text to compare: every bookmark, folder,
// tag and keyword, with the URL each points at.
std::string BookmarksText(FixtureDatabase& places);

// favicons.sqlite with an icon for each page and the site icon (/favicon.ico) of each one's host.
std::string FaviconsFile(std::span<const std::string> pages);

std::string FirefoxCookiesFile(std::span<const FixtureCookie> cookies);

// Files no kind touches, laid out so that a change would show: passwords, their key, the form
// history.
std::string Key4File();
std::string FormHistoryFile();
inline constexpr std::string_view kLoginsJson =
    R"({"nextId":2,"logins":[{"id":1,"hostname":"https://bank.example","encryptedUsername":"MDIE","encryptedPassword":"MDIE"}]})";

// profiles.ini listing these profiles, in the layout Firefox writes it.
struct FixtureIniProfile {
    std::string name;
    std::string path;
    bool relative = true;
};
std::string ProfilesIniText(std::span<const FixtureIniProfile> profiles);
