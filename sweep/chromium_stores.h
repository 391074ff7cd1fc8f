// The Chromium databases' kinds: the cookie rows, History's typed addresses and pages visited
// with what records them, the address bar's Shortcuts, and Top Sites.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sweep/chromium_pass.h"

// The site of a cookie as the system browser's cookie entries name it: host_key lower-cased,
// without the leading "." of a domain cookie or a trailing "."; nothing when that leaves no name.
std::optional<std::string> CookieHostSite(std::string_view hostKey);

// Every cookie row, less those the cookies to keep keep, counted and, when asked, deleted.
void SweepCookieRows(ChromiumPass& pass, sqlite3* db, std::string_view database);

enum class HistoryLayout {
    // The rows cannot be told apart: nothing is counted or changed.
    Unknown,
    // Counted, but a table that records visits is not as this program knows it: not changed.
    CountOnly,
    Known,
};
// Checks History once for both of its kinds; a layout that is not Known is named in the result.
HistoryLayout CheckHistoryLayout(ChromiumPass& pass, sqlite3* db, std::string_view database, bool deleting);

// History's urls of one kind (TypedUrls: typed_count above 0; VisitedPages: every other), and
// with them, when deleted, their visits and every row that records those visits or the searches
// made on them, and the visited links to them.
void SweepHistoryUrls(ChromiumPass& pass, sqlite3* db, std::string_view database, Kind kind, HistoryLayout layout);
// The address bar's memory of the text typed and the address it led to: every row, a typed item.
void SweepShortcuts(ChromiumPass& pass, sqlite3* db, std::string_view database);
// The most visited sites shown on a new tab, derived from the pages visited: cleared with them,
// counted as no item of their own.
void ClearTopSites(ChromiumPass& pass, sqlite3* db, std::string_view database);
