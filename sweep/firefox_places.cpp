// Firefox keeps visit counts, origins and frecency up to date with TEMP triggers it creates on
// each of its own connections (nsPlacesTriggers.h); none of them fires here, so each change
// mends them itself, in the same transaction. Foreign keys stay off, as SQLite leaves them: each
// row keyed on a place, a visit or a search is deleted by name before what it points at (with
// them on, every search deleted would scan the history metadata for rows to cascade to, which
// has no index for it: seconds on a year's history).
#include "sweep/firefox_places.h"

#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/ascii_case.h"

namespace {

constexpr std::string_view kDatabase = "places.sqlite";

constexpr std::array<std::string_view, 6> kPlaceCountColumns{
    "id", "url", "typed", "visit_count", "last_visit_date", "foreign_count"};
constexpr std::array<std::string_view, 2> kPlaceChangeColumns{"frecency", "origin_id"};
constexpr std::array<std::string_view, 2> kVisitColumns{"id", "place_id"};
constexpr std::array<std::string_view, 1> kBookmarkColumns{"fk"};
constexpr std::array<std::string_view, 2> kInputColumns{"place_id", "input"};
constexpr std::array<std::string_view, 1> kPlaceId{"place_id"};
constexpr std::array<std::string_view, 1> kVisitId{"visit_id"};
constexpr std::array<std::string_view, 2> kOriginColumns{"id", "frecency"};
constexpr std::array<std::string_view, 3> kMetadataColumns{"place_id", "referrer_place_id", "search_query_id"};
constexpr std::array<std::string_view, 1> kId{"id"};
constexpr std::array<std::string_view, 2> kMetaColumns{"key", "value"};

// What telling the places apart needs.
constexpr std::array kCountLayout{
    TableLayout{"moz_places", kPlaceCountColumns},  TableLayout{"moz_historyvisits", kVisitColumns},
    TableLayout{"moz_bookmarks", kBookmarkColumns}, TableLayout{"moz_inputhistory", kInputColumns},
    TableLayout{"moz_keywords", kPlaceId, true},    TableLayout{"moz_annos", kPlaceId, true},
};
// Every table a change touches; those of newer releases are optional.
constexpr std::array kChangeLayout{
    TableLayout{"moz_places", kPlaceChangeColumns},
    TableLayout{"moz_origins", kOriginColumns},
    TableLayout{"moz_historyvisits_extra", kVisitId, true},
    TableLayout{"moz_places_extra", kPlaceId, true},
    TableLayout{"moz_places_metadata", kMetadataColumns, true},
    TableLayout{"moz_places_metadata_search_queries", kId, true},
    TableLayout{"moz_newtab_shortcuts_interaction", kPlaceId, true},
    TableLayout{"moz_meta", kMetaColumns, true},
};

// A table that records places or visits and is not one of those above: a newer release's,
// whose rows a change would leave behind. Named by the first such table.
constexpr std::string_view kUnknownPlaceTable =
    "SELECT m.name FROM sqlite_schema m WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' AND m.name NOT IN ("
    "'moz_places', 'moz_historyvisits', 'moz_historyvisits_extra', 'moz_inputhistory', 'moz_bookmarks', "
    "'moz_keywords', 'moz_annos', 'moz_places_extra', 'moz_places_metadata', "
    "'moz_newtab_shortcuts_interaction') AND ("
    "EXISTS (SELECT 1 FROM pragma_table_info(m.name) c WHERE c.name IN ('place_id', 'visit_id')) OR "
    "EXISTS (SELECT 1 FROM pragma_foreign_key_list(m.name) f WHERE f.\"table\" IN ('moz_places', "
    "'moz_historyvisits')))";

bool HasColumn(sqlite3* db, std::string_view table, std::string_view column) {
    SqlStatement query(db, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE");
    query.Bind(1, table);
    query.Bind(2, column);
    return query.Step() == SQLITE_ROW;
}

// Whatever holds place p: a bookmark or a keyword (which foreign_count counts), an annotation
// (which it does not). Each is asked of its own table too, so that a count gone wrong never
// lets a bookmarked place go.
std::string HeldCondition(sqlite3* db) {
    std::string held = "(ifnull(p.foreign_count, 0) > 0 OR EXISTS (SELECT 1 FROM moz_bookmarks b WHERE b.fk = p.id)";
    if (HasTable(db, "moz_keywords")) held += " OR EXISTS (SELECT 1 FROM moz_keywords k WHERE k.place_id = p.id)";
    if (HasTable(db, "moz_annos")) held += " OR EXISTS (SELECT 1 FROM moz_annos a WHERE a.place_id = p.id)";
    return held + ")";
}

// The kind's places, as a condition on moz_places p. A visited page is a place not typed that
// was visited, or that nothing holds (a bookmark removed leaves its place behind).
std::string KindCondition(Kind kind, const std::string& held) {
    if (kind == Kind::TypedUrls) return "ifnull(p.typed, 0) <> 0";
    return "ifnull(p.typed, 0) = 0 AND (NOT " + held +
           " OR p.last_visit_date IS NOT NULL OR ifnull(p.visit_count, 0) > 0 OR EXISTS (SELECT 1 FROM "
           "moz_historyvisits v WHERE v.place_id = p.id))";
}

// The frecency a place or an origin had from its visits, left for Firefox to work out again on
// its next start (it recalculates whatever is marked so), where the release marks it.
std::string Recalculated(sqlite3* db, std::string_view table) {
    std::string set;
    if (HasColumn(db, table, "recalc_frecency")) set += ", recalc_frecency = 1";
    if (HasColumn(db, table, "alt_frecency")) set += ", alt_frecency = NULL";
    if (HasColumn(db, table, "recalc_alt_frecency")) set += ", recalc_alt_frecency = 1";
    return set;
}

// Deletes the kind's places (materialised first as temp.brumix_kind, since the visits they are
// told by go first) with everything keyed on them; the number of items deleted, or nothing when
// a statement failed.
std::optional<int> RemovePlaces(sqlite3* db, Kind kind, const std::string& condition, const std::string& held) {
    const bool typed = kind == Kind::TypedUrls;
    const std::string places = "(SELECT id FROM temp.brumix_kind)";
    const std::string doomed = "(SELECT id FROM temp.brumix_kind WHERE held = 0)";
    // The visited pages take the visits of no place at all along.
    const std::string visits =
        "place_id IN " + places + (typed ? std::string() : " OR place_id NOT IN (SELECT id FROM moz_places)");
    std::vector<std::string> statements{
        "CREATE TEMP TABLE brumix_kind(id INTEGER PRIMARY KEY, held INTEGER NOT NULL, origin_id INTEGER)",
        "INSERT INTO temp.brumix_kind SELECT p.id, " + held + ", p.origin_id FROM moz_places p WHERE " + condition,
    };
    if (HasTable(db, "moz_historyvisits_extra"))
        statements.push_back(
            "DELETE FROM moz_historyvisits_extra WHERE visit_id IN (SELECT id FROM moz_historyvisits "
            "WHERE " +
            visits + ")");
    statements.push_back("DELETE FROM moz_historyvisits WHERE " + visits);
    if (HasTable(db, "moz_places_metadata")) {
        statements.push_back("DELETE FROM moz_places_metadata WHERE place_id IN " + places +
                             " OR referrer_place_id IN " + doomed);
        if (HasTable(db, "moz_places_metadata_search_queries"))
            statements.emplace_back(
                "DELETE FROM moz_places_metadata_search_queries WHERE id NOT IN (SELECT search_query_id FROM "
                "moz_places_metadata WHERE search_query_id IS NOT NULL)");
    }
    if (HasTable(db, "moz_newtab_shortcuts_interaction"))
        statements.push_back("DELETE FROM moz_newtab_shortcuts_interaction WHERE place_id IN " + places);
    if (HasTable(db, "moz_places_extra"))
        statements.push_back("DELETE FROM moz_places_extra WHERE place_id IN " + doomed);
    for (const std::string& sql : statements)
        if (!Execute(db, sql.c_str())) return std::nullopt;

    int removed = 0;
    {
        // Finished before the table is dropped: a statement still stepping would lock it.
        SqlStatement count(db, "SELECT count(*) FROM temp.brumix_kind");
        if (count.Step() != SQLITE_ROW) return std::nullopt;
        removed = static_cast<int>(count.Int(0));
    }
    const std::string inputs =
        "DELETE FROM moz_inputhistory" + (typed ? std::string() : " WHERE place_id IN " + doomed);
    if (!Execute(db, inputs.c_str())) return std::nullopt;
    if (typed) removed += sqlite3_changes(db);

    statements = {
        "DELETE FROM moz_places WHERE id IN " + doomed,
        // A bookmark opens as before and says nothing of when; Firefox's own triggers raise an
        // unvisited bookmark's frecency to 1, and keep 0 (a place: query) as it is.
        "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, typed = 0, frecency = CASE WHEN frecency = "
        "0 THEN 0 ELSE 1 END" +
            Recalculated(db, "moz_places") + " WHERE id IN (SELECT id FROM temp.brumix_kind WHERE held <> 0)",
        "DELETE FROM moz_origins WHERE NOT EXISTS (SELECT 1 FROM moz_places WHERE origin_id = moz_origins.id)",
        // An origin's frecency is what its places' frecencies add up to.
        "UPDATE moz_origins SET frecency = (SELECT ifnull(sum(max(frecency, 0)), 0) FROM moz_places WHERE "
        "origin_id = moz_origins.id)" +
            Recalculated(db, "moz_origins") + " WHERE id IN (SELECT origin_id FROM temp.brumix_kind)",
    };
    // The origins' frecency statistics, where a release keeps them.
    if (HasTable(db, "moz_meta"))
        statements.emplace_back(
            "UPDATE moz_meta SET value = CASE key "
            "WHEN 'origin_frecency_count' THEN (SELECT count(*) FROM moz_origins WHERE frecency > 0) "
            "WHEN 'origin_frecency_sum' THEN (SELECT total(frecency) FROM moz_origins WHERE frecency > 0) "
            "ELSE (SELECT total(frecency * frecency) FROM moz_origins WHERE frecency > 0) END "
            "WHERE key IN ('origin_frecency_count', 'origin_frecency_sum', 'origin_frecency_sum_of_squares')");
    statements.emplace_back("DROP TABLE temp.brumix_kind");
    for (const std::string& sql : statements)
        if (!Execute(db, sql.c_str())) return std::nullopt;
    return removed;
}

// The host and port of an address, lower-cased, as moz_origins keeps hosts.
std::string HostAndPort(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return {};
    url.remove_prefix(scheme + 3);
    url = url.substr(0, url.find_first_of("/?#"));
    if (const std::size_t at = url.rfind('@'); at != std::string_view::npos) url.remove_prefix(at + 1);
    return AsciiLowered(std::string(url));
}

// Every value of the first column the query returns; nothing when the query fails.
std::optional<std::unordered_set<std::string>> TextSet(sqlite3* db, const char* sql) {
    SqlStatement rows(db, sql);
    std::unordered_set<std::string> values;
    int status = SQLITE_ERROR;
    while ((status = rows.Step()) == SQLITE_ROW) values.emplace(rows.Text(0));
    if (status != SQLITE_DONE) return std::nullopt;
    return values;
}

// The ids in the first column of the query's rows whose text in the second column keep refuses.
template <class Keep>
std::optional<std::vector<std::int64_t>> IdsNotKept(sqlite3* db, const char* sql, Keep keep) {
    SqlStatement rows(db, sql);
    std::vector<std::int64_t> ids;
    int status = SQLITE_ERROR;
    while ((status = rows.Step()) == SQLITE_ROW)
        if (!keep(rows.Text(1))) ids.push_back(rows.Int(0));
    if (status != SQLITE_DONE) return std::nullopt;
    return ids;
}

bool DeleteEach(sqlite3* db, const char* sql, const std::vector<std::int64_t>& ids) {
    SqlStatement row(db, sql);
    for (const std::int64_t id : ids) {
        row.Reset();
        row.Bind(1, id);
        if (row.Step() != SQLITE_DONE) return false;
    }
    return true;
}

constexpr std::array<std::string_view, 2> kPageColumns{"id", "page_url"};
constexpr std::array<std::string_view, 2> kIconPageColumns{"page_id", "icon_id"};
constexpr std::array<std::string_view, 3> kIconColumns{"id", "icon_url", "root"};
constexpr std::array kFaviconsLayout{
    TableLayout{"moz_pages_w_icons", kPageColumns},
    TableLayout{"moz_icons_to_pages", kIconPageColumns},
    TableLayout{"moz_icons", kIconColumns},
};

}  // namespace

PlacesLayout CheckPlacesLayout(BrowserPass& pass, sqlite3* db, bool deleting) {
    if (const std::string problem = LayoutProblem(db, kCountLayout); !problem.empty()) {
        pass.LayoutProblem(kDatabase, problem);
        return PlacesLayout::Unknown;
    }
    if (!deleting) return PlacesLayout::Known;
    std::string problem = LayoutProblem(db, kChangeLayout);
    if (problem.empty()) {
        SqlStatement unknown(db, kUnknownPlaceTable);
        const int status = unknown.Step();
        if (status == SQLITE_ROW) {
            problem = "an unknown table " + std::string(unknown.Text(0)) + " records places";
        } else if (status != SQLITE_DONE) {
            problem = "its tables cannot be read";
        }
    }
    if (problem.empty()) return PlacesLayout::Known;
    pass.LayoutProblem(kDatabase, problem);
    return PlacesLayout::CountOnly;
}

bool SweepPlaces(BrowserPass& pass, sqlite3* db, Kind kind, PlacesLayout layout) {
    if (layout == PlacesLayout::Unknown) return false;
    const bool typed = kind == Kind::TypedUrls;
    const Store store = typed ? Store::Typed : Store::Visited;
    const std::string held = HeldCondition(db);
    const std::string condition = KindCondition(kind, held);
    std::string sql = "SELECT 0, p.url, '' FROM moz_places p WHERE " + condition;
    if (typed)
        sql +=
            " UNION ALL SELECT 1, ifnull(h.url, ''), i.input FROM moz_inputhistory i LEFT JOIN moz_places h ON "
            "h.id = i.place_id";
    SqlStatement rows(db, sql);
    if (!rows.Ok()) {
        pass.LayoutProblem(kDatabase, sqlite3_errmsg(db));
        return false;
    }
    const auto visit = [&] {
        if (rows.Int(0) == 0) {
            pass.Found(store, kind, pass.Name({rows.Text(1)}));
        } else {
            pass.Found(store, kind, pass.Name({"Input:", rows.Text(2), " ", rows.Text(1)}));
        }
        return true;
    };
    const auto remove = [&] { return RemovePlaces(db, kind, condition, held); };
    const int before = pass.result[kind].deleted;
    SweepRows(pass, db, kDatabase, rows, kind, store, pass.Deletes(kind) && layout == PlacesLayout::Known, visit,
              remove);
    return pass.result[kind].deleted != before;
}

void PruneFavicons(BrowserPass& pass, sqlite3* places, sqlite3* favicons) {
    constexpr std::string_view kFavicons = "favicons.sqlite";
    if (const std::string problem = LayoutProblem(favicons, kFaviconsLayout); !problem.empty()) {
        pass.LayoutProblem(kFavicons, problem);
        return;
    }
    auto urls = TextSet(places, "SELECT url FROM moz_places");
    const auto hosts = TextSet(places, "SELECT host FROM moz_origins");
    if (!urls || !hosts) {
        pass.result.complete = false;
        return;
    }
    // A page's icons may be kept by its address without the fragment: a place still there keeps
    // them either way.
    for (const std::string& url : std::vector<std::string>(urls->begin(), urls->end()))
        if (const std::size_t hash = url.find('#'); hash != std::string::npos) urls->insert(url.substr(0, hash));
    WriteTransaction transaction(favicons);
    bool done = transaction.Begin();
    const auto pages = IdsNotKept(favicons, "SELECT id, page_url FROM moz_pages_w_icons",
                                  [&](std::string_view url) { return urls->count(std::string(url)) != 0; });
    done = done && pages && DeleteEach(favicons, "DELETE FROM moz_icons_to_pages WHERE page_id = ?1", *pages) &&
           DeleteEach(favicons, "DELETE FROM moz_pages_w_icons WHERE id = ?1", *pages) &&
           Execute(favicons,
                   "DELETE FROM moz_icons WHERE root = 0 AND id NOT IN (SELECT icon_id FROM moz_icons_to_pages)");
    // A site's own icon (/favicon.ico) stays while its origin, with or without "www.", does.
    const auto sites = IdsNotKept(
        favicons,
        "SELECT id, icon_url FROM moz_icons WHERE root <> 0 AND id NOT IN (SELECT icon_id FROM moz_icons_to_pages)",
        [&](std::string_view url) {
            const std::string host = HostAndPort(url);
            return hosts->count(host) != 0 || (host.starts_with("www.") && hosts->count(host.substr(4)) != 0);
        });
    done = done && sites && DeleteEach(favicons, "DELETE FROM moz_icons WHERE id = ?1", *sites);
    if (!done || !transaction.Commit()) pass.Stayed(Store::Visited, pass.Name({kFavicons}));
}
