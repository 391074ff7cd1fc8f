// Firefox's fixture files: the schema of places.sqlite at version 83, favicons.sqlite and
// cookies.sqlite at version 17, and the rows Firefox's triggers would write beside each insert.
#include "tests/support/firefox_fixture.h"

#include <sqlite3.h>

namespace {

constexpr std::int64_t kTime = 1760000000000000;  // Microseconds, as Firefox counts them.
constexpr std::int64_t kMenuRoot = 2;
constexpr std::int64_t kTagsRoot = 4;

// A string as an SQL literal, quoted by SQLite itself.
std::string Q(std::string_view text) {
    char* quoted = sqlite3_mprintf("%Q", std::string(text).c_str());
    std::string literal = quoted != nullptr ? quoted : "NULL";
    sqlite3_free(quoted);
    return literal;
}

std::string N(std::int64_t number) {
    return std::to_string(number);
}

std::string Guid(std::string_view kind, std::int64_t id) {
    std::string guid = std::string(kind) + std::to_string(id);
    guid.resize(12, '_');
    return guid;
}

std::string Prefix(std::string_view url) {
    return std::string(url.substr(0, url.find("://") + 3));
}

std::string Host(std::string_view url) {
    url.remove_prefix(url.find("://") + 3);
    return std::string(url.substr(0, url.find('/')));
}

}  // namespace

const char kPlacesSchema[] =
    "PRAGMA user_version = 83;"
    "CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,"
    " frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,"
    " recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, block_until_ms INTEGER, block_pages_until_ms INTEGER,"
    " UNIQUE (prefix, host));"
    "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,"
    " visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,"
    " frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,"
    " foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT,"
    " preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id),"
    " recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,"
    " recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE moz_places_extra (place_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT,"
    " FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE);"
    "CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);"
    "CREATE INDEX moz_places_hostindex ON moz_places (rev_host);"
    "CREATE INDEX moz_places_visitcount ON moz_places (visit_count);"
    "CREATE INDEX moz_places_frecencyindex ON moz_places (frecency);"
    "CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date);"
    "CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);"
    "CREATE INDEX moz_places_originidindex ON moz_places (origin_id);"
    "CREATE INDEX moz_places_altfrecencyindex ON moz_places (alt_frecency);"
    "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,"
    " visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL,"
    " triggeringPlaceId INTEGER);"
    "CREATE TABLE moz_historyvisits_extra (visit_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT,"
    " FOREIGN KEY (visit_id) REFERENCES moz_historyvisits(id) ON DELETE CASCADE);"
    "CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);"
    "CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);"
    "CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);"
    "CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,"
    " PRIMARY KEY (place_id, input));"
    "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,"
    " position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,"
    " lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,"
    " syncChangeCounter INTEGER NOT NULL DEFAULT 1);"
    "CREATE TABLE moz_bookmarks_deleted (guid TEXT PRIMARY KEY, dateRemoved INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);"
    "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);"
    "CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);"
    "CREATE INDEX moz_bookmarks_dateaddedindex ON moz_bookmarks (dateAdded);"
    "CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);"
    "CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,"
    " post_data TEXT);"
    "CREATE UNIQUE INDEX moz_keywords_placepostdata_uniqueindex ON moz_keywords (place_id, post_data);"
    "CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);"
    "CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,"
    " content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,"
    " dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);"
    "CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);"
    "CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER,"
    " content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,"
    " dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);"
    "CREATE UNIQUE INDEX moz_items_annos_itemattributeindex ON moz_items_annos (item_id, anno_attribute_id);"
    "CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE moz_places_metadata (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL,"
    " referrer_place_id INTEGER, created_at INTEGER NOT NULL DEFAULT 0, updated_at INTEGER NOT NULL DEFAULT 0,"
    " total_view_time INTEGER NOT NULL DEFAULT 0, typing_time INTEGER NOT NULL DEFAULT 0,"
    " key_presses INTEGER NOT NULL DEFAULT 0, scrolling_time INTEGER NOT NULL DEFAULT 0,"
    " scrolling_distance INTEGER NOT NULL DEFAULT 0, document_type INTEGER NOT NULL DEFAULT 0,"
    " search_query_id INTEGER,"
    " FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE,"
    " FOREIGN KEY (referrer_place_id) REFERENCES moz_places(id) ON DELETE CASCADE,"
    " FOREIGN KEY (search_query_id) REFERENCES moz_places_metadata_search_queries(id) ON DELETE CASCADE"
    " CHECK (place_id != referrer_place_id));"
    "CREATE UNIQUE INDEX moz_places_metadata_placecreated_uniqueindex ON moz_places_metadata"
    " (place_id, created_at);"
    "CREATE INDEX moz_places_metadata_referrerindex ON moz_places_metadata (referrer_place_id);"
    "CREATE TABLE moz_places_metadata_search_queries (id INTEGER PRIMARY KEY, terms TEXT NOT NULL UNIQUE);"
    "CREATE TABLE moz_previews_tombstones (hash TEXT PRIMARY KEY) WITHOUT ROWID;"
    "CREATE TABLE moz_newtab_story_click (feature TEXT NOT NULL, timestamp_s INTEGER NOT NULL,"
    " card_format_enum INTEGER NOT NULL, position INTEGER NOT NULL, section_position INTEGER NOT NULL,"
    " feature_value REAL NOT NULL DEFAULT 1);"
    "CREATE TABLE moz_newtab_story_impression (feature TEXT NOT NULL, timestamp_s INTEGER NOT NULL,"
    " card_format_enum INTEGER NOT NULL, position INTEGER NOT NULL, section_position INTEGER NOT NULL,"
    " feature_value REAL NOT NULL DEFAULT 1);"
    "CREATE INDEX moz_newtab_story_click_newtab_click_timestampindex ON moz_newtab_story_click (timestamp_s);"
    "CREATE INDEX moz_newtab_story_impression_newtab_impression_timestampindex ON moz_newtab_story_impression"
    " (timestamp_s);"
    "CREATE TABLE moz_newtab_shortcuts_interaction (id INTEGER PRIMARY KEY,"
    " place_id INTEGER NOT NULL REFERENCES moz_places(id) ON DELETE CASCADE, event_type INTEGER NOT NULL,"
    " timestamp_s INTEGER NOT NULL, pinned INTEGER NOT NULL CHECK (pinned IN (0, 1)),"
    " tile_position INTEGER NOT NULL);"
    "CREATE INDEX moz_newtab_shortcuts_interaction_timestampindex ON moz_newtab_shortcuts_interaction"
    " (timestamp_s);"
    "CREATE INDEX moz_newtab_shortcuts_interaction_placeidindex ON moz_newtab_shortcuts_interaction (place_id);";

const char kFaviconsSchema[] =
    "PRAGMA user_version = 83;"
    "CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL,"
    " width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER,"
    " expire_ms INTEGER NOT NULL DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0, data BLOB);"
    "CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT NOT NULL,"
    " page_url_hash INTEGER NOT NULL);"
    "CREATE TABLE moz_icons_to_pages (page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL,"
    " expire_ms INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (page_id, icon_id),"
    " FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE,"
    " FOREIGN KEY (icon_id) REFERENCES moz_icons ON DELETE CASCADE) WITHOUT ROWID;"
    "CREATE INDEX moz_icons_iconurlhashindex ON moz_icons (fixed_icon_url_hash);"
    "CREATE INDEX moz_pages_w_icons_urlhashindex ON moz_pages_w_icons (page_url_hash);";

const char kFirefoxCookiesSchema[] =
    "PRAGMA user_version = 17;"
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT,"
    " value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER,"
    " isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0,"
    " schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, updateTime INTEGER,"
    " CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));";

FixtureDatabase PlacesDatabase(int pageSize) {
    FixtureDatabase places("PRAGMA page_size = " + N(pageSize));
    places.Execute(kPlacesSchema);
    const char* guids[] = {"root________", "menu________", "toolbar_____",
                           "tags________", "unfiled_____", "mobile______"};
    const char* titles[] = {"", "menu", "toolbar", "tags", "unfiled", "mobile"};
    for (std::int64_t id = 1; id <= 6; ++id) {
        places.Execute(
            "INSERT INTO moz_bookmarks (id, type, parent, position, title, dateAdded, lastModified, guid)"
            " VALUES (" +
            N(id) + ", 2, " + N(id == 1 ? 0 : 1) + ", " + N(id == 1 ? 0 : id - 2) + ", " + Q(titles[id - 1]) + ", " +
            N(kTime) + ", " + N(kTime) + ", " + Q(guids[id - 1]) + ")");
    }
    places.Execute(
        "INSERT INTO moz_meta VALUES ('origin_frecency_count', 0), ('origin_frecency_sum', 0),"
        " ('origin_frecency_sum_of_squares', 0), ('sync/history/syncId', 'kept-sync-id')");
    return places;
}

std::int64_t AddPlace(FixtureDatabase& places, const FixturePlace& place) {
    const std::string prefix = Q(Prefix(place.url));
    const std::string host = Host(place.url);
    places.Execute("INSERT OR IGNORE INTO moz_origins (prefix, host, frecency) VALUES (" + prefix + ", " + Q(host) +
                   ", 0)");
    const std::string origin =
        N(places.Number("SELECT id FROM moz_origins WHERE prefix = " + prefix + " AND host = " + Q(host)));
    const std::int64_t id = places.Number("SELECT ifnull(max(id), 0) + 1 FROM moz_places");
    const std::string frecency = N(100 * (place.visits + 1));
    places.Execute(
        "INSERT INTO moz_places (id, url, title, rev_host, visit_count, typed, frecency, last_visit_date,"
        " guid, url_hash, origin_id) VALUES (" +
        N(id) + ", " + Q(place.url) + ", 'title " + N(id) + "', " + Q(std::string(host.rbegin(), host.rend()) + ".") +
        ", " + N(place.visits) + ", " + N(place.typed ? 1 : 0) + ", " + frecency + ", " +
        (place.visits > 0 ? N(kTime + place.visits) : "NULL") + ", " + Q(Guid("place", id)) + ", " +
        N(47000000000000 + id) + ", " + origin + ")");
    places.Execute("UPDATE moz_origins SET frecency = frecency + " + frecency + " WHERE id = " + origin);
    places.Execute("INSERT INTO moz_places_extra VALUES (" + N(id) + ", '{\"place\":1}')");
    for (int visit = 1; visit <= place.visits; ++visit) {
        places.Execute(
            "INSERT INTO moz_historyvisits (from_visit, place_id, visit_date, visit_type, session) VALUES"
            " (0, " +
            N(id) + ", " + N(kTime + visit) + ", " + N(place.typed ? 2 : 1) + ", 0)");
        places.Execute("INSERT INTO moz_historyvisits_extra VALUES (last_insert_rowid(), '{\"visit\":1}')");
    }
    if (place.visits > 0) {
        places.Execute("INSERT INTO moz_places_metadata_search_queries (terms) VALUES ('search " + N(id) + "')");
        places.Execute(
            "INSERT INTO moz_places_metadata (place_id, created_at, updated_at, total_view_time,"
            " search_query_id) VALUES (" +
            N(id) + ", " + N(kTime) + ", " + N(kTime) + ", 5000, last_insert_rowid())");
        places.Execute(
            "INSERT INTO moz_newtab_shortcuts_interaction (place_id, event_type, timestamp_s, pinned,"
            " tile_position) VALUES (" +
            N(id) + ", 0, 1760000000, 0, 1)");
    }
    if (place.typed)
        places.Execute("INSERT INTO moz_inputhistory VALUES (" + N(id) + ", " + Q(host.substr(0, 3)) + ", 1.0)");
    places.Execute(
        "UPDATE moz_meta SET value = CASE key"
        " WHEN 'origin_frecency_count' THEN (SELECT count(*) FROM moz_origins WHERE frecency > 0)"
        " WHEN 'origin_frecency_sum' THEN (SELECT total(frecency) FROM moz_origins WHERE frecency > 0)"
        " ELSE (SELECT total(frecency * frecency) FROM moz_origins WHERE frecency > 0) END"
        " WHERE key LIKE 'origin_frecency%'");
    return id;
}

void Bookmark(FixtureDatabase& places, std::int64_t place, std::string_view title, std::string_view tag,
              std::string_view keyword) {
    const auto add = [&](int type, std::int64_t fk, std::int64_t parent, std::string_view name) {
        const std::int64_t id = places.Number("SELECT max(id) + 1 FROM moz_bookmarks");
        places.Execute(
            "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified,"
            " guid, syncStatus) VALUES (" +
            N(id) + ", " + N(type) + ", " + (fk != 0 ? N(fk) : "NULL") + ", " + N(parent) +
            ", (SELECT count(*) FROM moz_bookmarks WHERE parent = " + N(parent) + "), " + Q(name) + ", " + N(kTime) +
            ", " + N(kTime) + ", " + Q(Guid("bm", id)) + ", 1)");
        if (fk != 0) places.Execute("UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE id = " + N(fk));
        return id;
    };
    add(1, place, kMenuRoot, title);
    if (!tag.empty()) add(1, place, add(2, 0, kTagsRoot, tag), {});
    if (!keyword.empty()) {
        places.Execute("INSERT INTO moz_keywords (keyword, place_id, post_data) VALUES (" + Q(keyword) + ", " +
                       N(place) + ", NULL)");
        places.Execute("UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE id = " + N(place));
    }
}

std::string BookmarksText(FixtureDatabase& places) {
    return places.Text(
        "SELECT group_concat(line, char(10)) FROM (SELECT b.id || ' ' || b.type || ' ' || b.parent || ' ' ||"
        " b.position || ' ' || ifnull(b.title, '') || ' ' || b.guid || ' ' || b.dateAdded || ' ' ||"
        " ifnull(p.url, '') AS line FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk UNION ALL"
        " SELECT 'keyword ' || k.keyword || ' ' || p.url FROM moz_keywords k JOIN moz_places p ON"
        " p.id = k.place_id ORDER BY 1)");
}

std::string FaviconsFile(std::span<const std::string> pages) {
    FixtureDatabase favicons(kFaviconsSchema);
    std::int64_t id = 0;
    for (const std::string& page : pages) {
        const std::string n = N(++id);
        favicons.Execute("INSERT INTO moz_pages_w_icons VALUES (" + n + ", " + Q(page) + ", " + n + ")");
        favicons.Execute("INSERT INTO moz_icons (icon_url, fixed_icon_url_hash, width, root, data) VALUES (" +
                         Q(page + "icon.png") + ", " + n + ", 16, 0, x'89504e47')");
        favicons.Execute("INSERT INTO moz_icons_to_pages VALUES (" + n + ", last_insert_rowid(), 0)");
        const std::string site = Q(Prefix(page) + Host(page) + "/favicon.ico");
        favicons.Execute("INSERT INTO moz_icons (icon_url, fixed_icon_url_hash, width, root, data) SELECT " + site +
                         ", 0, 16, 1, x'00' WHERE NOT EXISTS (SELECT 1 FROM moz_icons WHERE icon_url = " + site + ")");
    }
    return favicons.Bytes();
}

std::string FirefoxCookiesFile(std::span<const FixtureCookie> cookies) {
    FixtureDatabase db(kFirefoxCookiesSchema);
    std::int64_t id = 0;
    for (const FixtureCookie& c : cookies) {
        const std::string n = N(++id);
        const std::string time = N(kTime + id);
        db.Execute(
            "INSERT INTO moz_cookies (id, name, value, host, path, expiry, lastAccessed, creationTime, isSecure,"
            " isHttpOnly, sameSite, schemeMap, updateTime) VALUES (" +
            n + ", " + Q(c.name) + ", " + Q(c.value) + ", " + Q(c.host) + ", " + Q(c.path) + ", 1900000000000, " +
            time + ", " + time + ", 1, 1, 0, 2, " + time + ")");
    }
    return db.Bytes();
}

std::string Key4File() {
    FixtureDatabase db(
        "CREATE TABLE metaData (id PRIMARY KEY UNIQUE ON CONFLICT REPLACE, item1, item2);"
        "CREATE TABLE nssPrivate (id PRIMARY KEY UNIQUE ON CONFLICT ABORT, a0, a1, a2, a3);"
        "INSERT INTO metaData VALUES ('password', x'0102', x'0304');"
        "INSERT INTO nssPrivate VALUES (1, x'05', x'06', x'07', x'08')");
    return db.Bytes();
}

std::string FormHistoryFile() {
    FixtureDatabase db(
        "PRAGMA user_version = 5;"
        "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL,"
        " timesUsed INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT);"
        "INSERT INTO moz_formhistory VALUES (1, 'email', 'ann@bank.example', 3, 1, 2, 'formguid0001')");
    return db.Bytes();
}

std::string ProfilesIniText(std::span<const FixtureIniProfile> profiles) {
    std::string ini = "[Install308046B0AF4A39CB]\r\nDefault=Profiles/never.default-release\r\nLocked=1\r\n\r\n";
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        ini += "[Profile" + std::to_string(i) + "]\r\nName=" + profiles[i].name +
               "\r\nIsRelative=" + (profiles[i].relative ? "1" : "0") + "\r\nPath=" + profiles[i].path + "\r\n";
        if (i == 0) ini += "Default=1\r\n";
        ini += "\r\n";
    }
    return ini + "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n\r\n";
}
