// The fixture databases: SQL run in memory, serialized to the bytes of a file.
#include "tests/support/chromium_fixture.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Fail(sqlite3* db, std::string_view sql) {
    std::fprintf(stderr, "fixture SQL failed: %s\n  in: %.*s\n", db ? sqlite3_errmsg(db) : "no database",
                 static_cast<int>(sql.size()), sql.data());
    std::abort();
}

}  // namespace

const char kCookiesSchema[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES ('version', '24'), ('last_compatible_version', '24');"
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,"
    " name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,"
    " expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,"
    " last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, is_persistent INTEGER NOT NULL,"
    " priority INTEGER NOT NULL, samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL,"
    " source_port INTEGER NOT NULL, last_update_utc INTEGER NOT NULL, source_type INTEGER NOT NULL,"
    " has_cross_site_ancestor INTEGER NOT NULL);"
    "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, has_cross_site_ancestor,"
    " name, path, source_scheme, source_port);";

const char kHistorySchema[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES ('version', '70'), ('last_compatible_version', '16');"
    "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,"
    " visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,"
    " last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);"
    "CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,"
    " from_visit INTEGER, external_referrer_url TEXT, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,"
    " visit_duration INTEGER DEFAULT 0 NOT NULL, incremented_omnibox_typed_score BOOLEAN DEFAULT FALSE NOT NULL,"
    " opener_visit INTEGER, originator_cache_guid TEXT, originator_visit_id INTEGER, originator_from_visit INTEGER,"
    " originator_opener_visit INTEGER, is_known_to_sync BOOLEAN DEFAULT FALSE NOT NULL,"
    " consider_for_ntp_most_visited BOOLEAN DEFAULT FALSE NOT NULL, visited_link_id INTEGER DEFAULT 0 NOT NULL,"
    " app_id TEXT);"
    "CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);"
    "CREATE TABLE keyword_search_terms (keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,"
    " term LONGVARCHAR NOT NULL, normalized_term LONGVARCHAR NOT NULL);"
    "CREATE TABLE downloads (id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,"
    " target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,"
    " total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, tab_url VARCHAR NOT NULL);"
    "CREATE TABLE downloads_url_chains (id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,"
    " PRIMARY KEY (id, chain_index));"
    "CREATE TABLE segments (id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);"
    "CREATE TABLE segment_usage (id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL, time_slot INTEGER NOT NULL,"
    " visit_count INTEGER DEFAULT 0 NOT NULL);"
    "CREATE TABLE content_annotations(visit_id INTEGER PRIMARY KEY, visibility_score NUMERIC,"
    " annotation_flags INTEGER NOT NULL, search_terms LONGVARCHAR, page_language VARCHAR);"
    "CREATE TABLE context_annotations(visit_id INTEGER PRIMARY KEY, context_annotation_flags INTEGER NOT NULL,"
    " duration_since_last_visit INTEGER);"
    "CREATE TABLE clusters(cluster_id INTEGER PRIMARY KEY AUTOINCREMENT, should_show_on_prominent_ui_surfaces"
    " BOOLEAN NOT NULL, label VARCHAR NOT NULL, raw_label VARCHAR NOT NULL);"
    "CREATE TABLE clusters_and_visits(cluster_id INTEGER NOT NULL, visit_id INTEGER NOT NULL,"
    " score NUMERIC DEFAULT 0 NOT NULL, url_for_display LONGVARCHAR NOT NULL, PRIMARY KEY(cluster_id, visit_id))"
    " WITHOUT ROWID;"
    "CREATE TABLE cluster_keywords(cluster_id INTEGER NOT NULL, keyword VARCHAR NOT NULL, type INTEGER NOT NULL,"
    " score NUMERIC NOT NULL, collections VARCHAR NOT NULL);"
    "CREATE TABLE cluster_visit_duplicates(visit_id INTEGER NOT NULL, duplicate_visit_id INTEGER NOT NULL,"
    " PRIMARY KEY(visit_id, duplicate_visit_id)) WITHOUT ROWID;"
    "CREATE TABLE visited_links(id INTEGER PRIMARY KEY AUTOINCREMENT, link_url_id INTEGER NOT NULL,"
    " top_level_url LONGVARCHAR NOT NULL, frame_url LONGVARCHAR NOT NULL, visit_count INTEGER DEFAULT 0 NOT NULL);"
    "CREATE TABLE history_sync_metadata (storage_key INTEGER PRIMARY KEY NOT NULL, value BLOB);"
    "CREATE INDEX urls_url_index ON urls (url);"
    "CREATE INDEX visits_url_index ON visits (url);"
    "CREATE INDEX visits_time_index ON visits (visit_time);"
    "CREATE INDEX visits_from_index ON visits (from_visit);"
    "CREATE INDEX keyword_search_terms_index2 ON keyword_search_terms (url_id);"
    "CREATE INDEX segments_url_id ON segments (url_id);"
    "CREATE INDEX visited_links_index ON visited_links (link_url_id, top_level_url, frame_url);";

const char kShortcutsSchema[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "CREATE TABLE omni_box_shortcuts(id VARCHAR PRIMARY KEY, text VARCHAR, fill_into_edit VARCHAR, url VARCHAR,"
    " document_type INTEGER, contents VARCHAR, contents_class VARCHAR, description VARCHAR,"
    " description_class VARCHAR, transition INTEGER, type INTEGER, keyword VARCHAR, last_access_time INTEGER,"
    " number_of_hits INTEGER);";

const char kTopSitesSchema[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "CREATE TABLE top_sites(url TEXT NOT NULL PRIMARY KEY, url_rank INTEGER NOT NULL, title TEXT NOT NULL);";

const char kLoginDataSchema[] =
    "CREATE TABLE logins (origin_url VARCHAR NOT NULL, action_url VARCHAR, username_value VARCHAR,"
    " password_value BLOB, signon_realm VARCHAR NOT NULL, date_created INTEGER NOT NULL);";

const char kWebDataSchema[] =
    "CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,"
    " date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));";

FixtureDatabase::FixtureDatabase(std::string_view sql) {
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        Fail(db_, "open");
    if (!sql.empty()) Execute(sql);
}

FixtureDatabase FixtureDatabase::FromBytes(std::string_view bytes) {
    FixtureDatabase database;
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(bytes.empty() ? 1 : bytes.size()));
    if (image == nullptr) Fail(database.db_, "allocation");
    std::memcpy(image, bytes.data(), bytes.size());
    const auto size = static_cast<sqlite3_int64>(bytes.size());
    if (sqlite3_deserialize(database.db_, "main", image, size, size,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) != SQLITE_OK)
        Fail(database.db_, "deserialize");
    return database;
}

FixtureDatabase::~FixtureDatabase() {
    sqlite3_close(db_);
}

void FixtureDatabase::Execute(std::string_view sql) {
    if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db_, sql);
}

void FixtureDatabase::Execute(std::string_view sql, std::initializer_list<std::string_view> texts) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        Fail(db_, sql);
    int parameter = 0;
    for (const std::string_view text : texts)
        sqlite3_bind_text(statement, ++parameter, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    const int status = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (status != SQLITE_DONE) Fail(db_, sql);
}

std::string FixtureDatabase::Text(std::string_view query) {
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db_, query.data(), static_cast<int>(query.size()), &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        if (const unsigned char* column = sqlite3_column_text(statement, 0))
            text.assign(reinterpret_cast<const char*>(column),
                        static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
    }
    sqlite3_finalize(statement);
    return text;
}

std::int64_t FixtureDatabase::Number(std::string_view query) {
    sqlite3_stmt* statement = nullptr;
    std::int64_t number = -1;
    if (sqlite3_prepare_v2(db_, query.data(), static_cast<int>(query.size()), &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        number = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return number;
}

std::string FixtureDatabase::Bytes() {
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db_, "main", &size, 0);
    if (bytes == nullptr) Fail(db_, "serialize");
    std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    return file;
}

std::string CookiesFile(std::span<const FixtureCookie> cookies) {
    FixtureDatabase db(kCookiesSchema);
    db.Execute("BEGIN");
    std::int64_t time = 13380000000000000;
    for (const FixtureCookie& c : cookies) {
        const std::string created = std::to_string(++time);
        db.Execute("INSERT INTO cookies VALUES (" + created + ", ?1, '', ?2, '', CAST(?3 AS BLOB), ?4, " +
                       std::to_string(time + 1000000000) + ", 1, 1, " + created + ", 1, 1, 1, 0, 2, 443, " + created +
                       ", 0, 0)",
                   {c.host, c.name, c.value, c.path});
    }
    db.Execute("COMMIT");
    return db.Bytes();
}

std::string HistoryFile(std::span<const FixtureUrl> urls) {
    FixtureDatabase db(kHistorySchema);
    db.Execute("BEGIN");
    for (const FixtureUrl& url : urls) {
        db.Execute("INSERT INTO urls (url, title, visit_count, typed_count, last_visit_time) VALUES (?1, 'title', " +
                       std::to_string(url.visits) + ", " + std::to_string(url.typedCount) + ", 13380000000000000)",
                   {url.url});
    }
    // Every url's visits, and from them every table that records a url or a visit.
    db.Execute(
        "WITH RECURSIVE n(u, k) AS (SELECT id, 1 FROM urls WHERE visit_count > 0 UNION ALL"
        " SELECT u, k + 1 FROM n JOIN urls ON urls.id = n.u WHERE k < urls.visit_count)"
        " INSERT INTO visits (url, visit_time, transition) SELECT u, 13380000000000000 + u * 1000 + k, 805306368"
        " FROM n ORDER BY u, k;"
        "INSERT INTO keyword_search_terms SELECT 2, id, 'term ' || id, 'term ' || id FROM urls;"
        "INSERT INTO segments SELECT id, 'segment ' || id, id FROM urls;"
        "INSERT INTO segment_usage SELECT id, id, 0, 1 FROM urls;"
        "INSERT INTO visited_links SELECT id, id, url, url, 1 FROM urls;"
        "INSERT INTO clusters SELECT id, 1, 'cluster ' || id, 'cluster ' || id FROM urls;"
        "INSERT INTO cluster_keywords SELECT id, 'keyword ' || id, 0, 1, '' FROM urls;"
        "INSERT INTO visit_source SELECT id, 1 FROM visits;"
        "INSERT INTO content_annotations SELECT id, 1, 0, 'search ' || url, 'en' FROM visits;"
        "INSERT INTO context_annotations SELECT id, 0, 0 FROM visits;"
        "INSERT INTO clusters_and_visits SELECT visits.url, visits.id, 1, urls.url FROM visits JOIN urls"
        " ON urls.id = visits.url;"
        "INSERT INTO cluster_visit_duplicates SELECT first.id, visits.id FROM visits JOIN"
        " (SELECT url, min(id) AS id FROM visits GROUP BY url) AS first ON first.url = visits.url"
        " WHERE visits.id > first.id;"
        "INSERT INTO downloads VALUES (1, 'guid', 'C:\\file', 'C:\\file', 1, 1, 1, 1, 'https://download.example/');"
        "INSERT INTO downloads_url_chains VALUES (1, 0, 'https://download.example/file');"
        "COMMIT");
    return db.Bytes();
}

std::string ShortcutsFile(std::span<const FixtureShortcut> shortcuts) {
    FixtureDatabase db(kShortcutsSchema);
    int id = 0;
    for (const FixtureShortcut& s : shortcuts) {
        db.Execute("INSERT INTO omni_box_shortcuts VALUES ('s" + std::to_string(++id) +
                       "', ?1, ?1, ?2, 0, '', '', '', '', 1, 0, '', 13380000000000000, 1)",
                   {s.text, s.url});
    }
    return db.Bytes();
}

std::string TopSitesFile(std::span<const std::string> urls) {
    FixtureDatabase db(kTopSitesSchema);
    int rank = 0;
    for (const std::string& url : urls)
        db.Execute("INSERT INTO top_sites VALUES (?1, " + std::to_string(rank++) + ", 'top')", {url});
    return db.Bytes();
}

std::string LoginDataFile() {
    FixtureDatabase db(kLoginDataSchema);
    db.Execute(
        "INSERT INTO logins VALUES ('https://bank.example/', '', 'ann', CAST('secret' AS BLOB), "
        "'https://bank.example/', 1)");
    return db.Bytes();
}

std::string WebDataFile() {
    FixtureDatabase db(kWebDataSchema);
    db.Execute("INSERT INTO autofill VALUES ('email', 'ann@bank.example', 'ann@bank.example', 1, 1, 3)");
    return db.Bytes();
}

std::string LocalStateJson(std::span<const std::string> profiles) {
    std::string json = R"({"browser":{"enabled_labs_experiments":[]},"profile":{"info_cache":{)";
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        if (i != 0) json += ',';
        json += '"';
        for (const char c : profiles[i]) {
            if (c == '"' || c == '\\') json += '\\';
            json += c;
        }
        json += R"(":{"name":"Person )" + std::to_string(i + 1) + R"(","is_using_default_name":true})";
    }
    return json + R"(},"last_used":"Default"}})";
}

std::int64_t CountIn(std::string_view bytes, std::string_view query) {
    return FixtureDatabase::FromBytes(bytes).Number(query);
}
