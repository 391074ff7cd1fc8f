// Each kind reads its rows inside the transaction that deletes them: the observer hears every
// row in the order read, the rows are deleted only when all were read and no stop came, and the
// deletion commits as one.
#include "sweep/chromium_stores.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "sweep/sqlite_query.h"

namespace {

constexpr std::string_view kTypedCondition = "ifnull(typed_count, 0) > 0";
constexpr std::string_view kVisitedCondition = "NOT (ifnull(typed_count, 0) > 0)";

constexpr std::array<std::string_view, 3> kCookieColumns{"host_key", "name", "path"};
constexpr std::array kCookieLayout{TableLayout{"cookies", kCookieColumns}};

constexpr std::array<std::string_view, 3> kUrlColumns{"id", "url", "typed_count"};
constexpr std::array<std::string_view, 2> kVisitColumns{"id", "url"};
constexpr std::array<std::string_view, 1> kId{"id"};
constexpr std::array<std::string_view, 1> kUrlId{"url_id"};
constexpr std::array<std::string_view, 2> kSegmentColumns{"id", "url_id"};
constexpr std::array<std::string_view, 1> kSegmentId{"segment_id"};
constexpr std::array<std::string_view, 1> kLinkUrlId{"link_url_id"};
constexpr std::array<std::string_view, 1> kVisitId{"visit_id"};
constexpr std::array<std::string_view, 2> kClusterVisitColumns{"cluster_id", "visit_id"};
constexpr std::array<std::string_view, 2> kDuplicateColumns{"visit_id", "duplicate_visit_id"};
constexpr std::array<std::string_view, 1> kClusterId{"cluster_id"};

constexpr std::array kHistoryCountLayout{TableLayout{"urls", kUrlColumns}};
// Every table that records a visit or a url, as far as this program knows them; the ones
// missing from older or newer versions are optional.
constexpr std::array kHistoryLayout{
    TableLayout{"urls", kUrlColumns},
    TableLayout{"visits", kVisitColumns},
    TableLayout{"visit_source", kId, true},
    TableLayout{"keyword_search_terms", kUrlId, true},
    TableLayout{"segments", kSegmentColumns, true},
    TableLayout{"segment_usage", kSegmentId, true},
    TableLayout{"visited_links", kLinkUrlId, true},
    TableLayout{"content_annotations", kVisitId, true},
    TableLayout{"context_annotations", kVisitId, true},
    TableLayout{"clusters_and_visits", kClusterVisitColumns, true},
    TableLayout{"cluster_visit_duplicates", kDuplicateColumns, true},
    TableLayout{"clusters", kClusterId, true},
    TableLayout{"cluster_keywords", kClusterId, true},
};

constexpr std::array<std::string_view, 2> kShortcutColumns{"text", "url"};
constexpr std::array kShortcutsLayout{TableLayout{"omni_box_shortcuts", kShortcutColumns}};
constexpr std::array<std::string_view, 1> kTopSiteColumns{"url"};
constexpr std::array kTopSitesLayout{TableLayout{"top_sites", kTopSiteColumns}};

// The statements that delete a kind's urls and all that hangs on them, in an order where each
// still finds the rows it is keyed on; "{urls}" stands for the kind's urls and "{visits}" for
// their visits. A statement runs only when the tables it names are there.
struct Removal {
    std::array<std::string_view, 2> tables;
    std::string_view sql;
};
constexpr std::array kUrlRemovals{
    Removal{{"visit_source"}, "DELETE FROM visit_source WHERE id IN ({visits})"},
    Removal{{"content_annotations"}, "DELETE FROM content_annotations WHERE visit_id IN ({visits})"},
    Removal{{"context_annotations"}, "DELETE FROM context_annotations WHERE visit_id IN ({visits})"},
    Removal{{"cluster_visit_duplicates"},
            "DELETE FROM cluster_visit_duplicates WHERE visit_id IN ({visits}) OR duplicate_visit_id IN ({visits})"},
    Removal{{"clusters_and_visits"}, "DELETE FROM clusters_and_visits WHERE visit_id IN ({visits})"},
    // A cluster is the browser's grouping of visits, labelled from their pages: with no visit
    // left it holds nothing but that label.
    Removal{{"clusters", "clusters_and_visits"},
            "DELETE FROM clusters WHERE cluster_id NOT IN (SELECT cluster_id FROM clusters_and_visits)"},
    Removal{{"cluster_keywords", "clusters"},
            "DELETE FROM cluster_keywords WHERE cluster_id NOT IN (SELECT cluster_id FROM clusters)"},
    Removal{{"visits"}, "DELETE FROM visits WHERE url IN ({urls})"},
    Removal{{"keyword_search_terms"}, "DELETE FROM keyword_search_terms WHERE url_id IN ({urls})"},
    Removal{{"segment_usage", "segments"},
            "DELETE FROM segment_usage WHERE segment_id IN (SELECT id FROM segments WHERE url_id IN ({urls}))"},
    Removal{{"segments"}, "DELETE FROM segments WHERE url_id IN ({urls})"},
    Removal{{"visited_links"}, "DELETE FROM visited_links WHERE link_url_id IN ({urls})"},
};

std::string Replace(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Deletes the urls that condition selects and everything keyed on them; the number of urls
// deleted, or nothing when a statement failed.
std::optional<int> RemoveUrls(sqlite3* db, std::string_view condition) {
    const std::string urls = "SELECT id FROM urls WHERE " + std::string(condition);
    const std::string visits = "SELECT id FROM visits WHERE url IN (" + urls + ")";
    for (const Removal& removal : kUrlRemovals) {
        const bool present = std::all_of(removal.tables.begin(), removal.tables.end(),
                                         [db](std::string_view table) { return table.empty() || HasTable(db, table); });
        if (!present) continue;
        const std::string sql = Replace(Replace(std::string(removal.sql), "{visits}", visits), "{urls}", urls);
        if (!Execute(db, sql.c_str())) return std::nullopt;
    }
    if (!Execute(db, ("DELETE FROM urls WHERE " + std::string(condition)).c_str())) return std::nullopt;
    return sqlite3_changes(db);
}

// False, with the database named in the result, when it lacks what the layout needs.
bool KnowsLayout(ChromiumPass& pass, sqlite3* db, std::string_view database, std::span<const TableLayout> layout) {
    const std::string problem = LayoutProblem(db, layout);
    if (!problem.empty()) pass.LayoutProblem(database, problem);
    return problem.empty();
}

// False, with SQLite's word on it in the result, when the statement does not fit the database.
bool Prepared(ChromiumPass& pass, sqlite3* db, std::string_view database, const SqlStatement& rows) {
    if (!rows.Ok()) pass.LayoutProblem(database, sqlite3_errmsg(db));
    return rows.Ok();
}

// One kind's rows, read inside the transaction that deletes them: visit tells each row to the
// observer and says whether it is one to delete; once every row was read with no stop asked,
// remove deletes them (the number deleted, or nothing when it failed) and the change commits.
template <class Visit, class Remove>
void SweepRows(ChromiumPass& pass, sqlite3* db, std::string_view database, SqlStatement& rows, Kind kind, Store store,
               bool deleting, Visit visit, Remove remove) {
    WriteTransaction transaction(db);
    const bool writable = !deleting || transaction.Begin();
    int status = SQLITE_DONE;
    int doomed = 0;
    while (!pass.Stop() && (status = rows.Step()) == SQLITE_ROW) {
        if (visit()) ++doomed;
    }
    if (pass.result.stopped) return;
    if (status != SQLITE_DONE) {
        pass.result.complete = false;
        return;
    }
    if (!deleting || doomed == 0) return;
    std::optional<int> removed;
    if (writable) removed = remove();
    if (removed && transaction.Commit()) {
        pass.result[kind].deleted += *removed;
    } else {
        pass.Stayed(store, pass.Name({database}));
    }
}

}  // namespace

std::optional<std::string> CookieHostSite(std::string_view hostKey) {
    if (hostKey.starts_with('.')) hostKey.remove_prefix(1);
    if (hostKey.ends_with('.')) hostKey.remove_suffix(1);
    if (hostKey.empty()) return std::nullopt;
    return AsciiLowered(std::string(hostKey));
}

void SweepCookieRows(ChromiumPass& pass, sqlite3* db, std::string_view database) {
    if (!KnowsLayout(pass, db, database, kCookieLayout)) return;
    SqlStatement rows(db, "SELECT rowid, host_key, name, path FROM cookies");
    if (!Prepared(pass, db, database, rows)) return;
    std::vector<std::int64_t> doomed;
    const auto visit = [&] {
        const std::string_view host = rows.Text(1);
        const std::string_view name = pass.Name({"Cookie:", rows.Text(2), "@", host, rows.Text(3)});
        const auto site = CookieHostSite(host);
        if (site && pass.request.keepCookie && pass.request.keepCookie(*site)) {
            pass.Kept(name);
            return false;
        }
        pass.Found(Store::Cookie, Kind::Cookies, name);
        doomed.push_back(rows.Int(0));
        return true;
    };
    const auto remove = [&]() -> std::optional<int> {
        SqlStatement row(db, "DELETE FROM cookies WHERE rowid = ?1");
        for (const std::int64_t rowid : doomed) {
            row.Reset();
            row.Bind(1, rowid);
            if (row.Step() != SQLITE_DONE) return std::nullopt;
        }
        return static_cast<int>(doomed.size());
    };
    SweepRows(pass, db, database, rows, Kind::Cookies, Store::Cookie, pass.Deletes(Kind::Cookies), visit, remove);
}

HistoryLayout CheckHistoryLayout(ChromiumPass& pass, sqlite3* db, std::string_view database, bool deleting) {
    if (!KnowsLayout(pass, db, database, kHistoryCountLayout)) return HistoryLayout::Unknown;
    if (deleting && !KnowsLayout(pass, db, database, kHistoryLayout)) return HistoryLayout::CountOnly;
    return HistoryLayout::Known;
}

void SweepHistoryUrls(ChromiumPass& pass, sqlite3* db, std::string_view database, Kind kind, HistoryLayout layout) {
    if (layout == HistoryLayout::Unknown) return;
    const bool typed = kind == Kind::TypedUrls;
    const std::string_view condition = typed ? kTypedCondition : kVisitedCondition;
    const Store store = typed ? Store::Typed : Store::Visited;
    SqlStatement rows(db, "SELECT url FROM urls WHERE " + std::string(condition));
    if (!Prepared(pass, db, database, rows)) return;
    const auto visit = [&] {
        pass.Found(store, kind, pass.Name({rows.Text(0)}));
        return true;
    };
    const auto remove = [&] { return RemoveUrls(db, condition); };
    SweepRows(pass, db, database, rows, kind, store, pass.Deletes(kind) && layout == HistoryLayout::Known, visit,
              remove);
}

void SweepShortcuts(ChromiumPass& pass, sqlite3* db, std::string_view database) {
    if (!KnowsLayout(pass, db, database, kShortcutsLayout)) return;
    SqlStatement rows(db, "SELECT text, url FROM omni_box_shortcuts");
    if (!Prepared(pass, db, database, rows)) return;
    const auto visit = [&] {
        pass.Found(Store::Typed, Kind::TypedUrls, pass.Name({"Shortcut:", rows.Text(0), " ", rows.Text(1)}));
        return true;
    };
    const auto remove = [&]() -> std::optional<int> {
        if (!Execute(db, "DELETE FROM omni_box_shortcuts")) return std::nullopt;
        return sqlite3_changes(db);
    };
    SweepRows(pass, db, database, rows, Kind::TypedUrls, Store::Typed, pass.Deletes(Kind::TypedUrls), visit, remove);
}

void ClearTopSites(ChromiumPass& pass, sqlite3* db, std::string_view database) {
    if (!KnowsLayout(pass, db, database, kTopSitesLayout)) return;
    WriteTransaction transaction(db);
    if (!transaction.Begin() || !Execute(db, "DELETE FROM top_sites") || !transaction.Commit())
        pass.Stayed(Store::Visited, pass.Name({database}));
}
