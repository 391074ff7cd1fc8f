// Firefox's places.sqlite, which holds its history and its bookmarks together: the places typed
// into the address bar and the pages visited cleared with all that records them, every place a
// bookmark, keyword or annotation holds kept, and favicons.sqlite's icons of the places gone.
#pragma once

#include "sweep/browser_pass.h"

enum class PlacesLayout {
    // The places cannot be told apart: nothing is counted or changed.
    Unknown,
    // Counted, but a table the change would touch (or one that records places and this program
    // does not know) is not as this program knows it: not changed.
    CountOnly,
    Known,
};
// Checks places.sqlite once for both of its kinds; a layout that is not Known is named in the
// result.
PlacesLayout CheckPlacesLayout(BrowserPass& pass, sqlite3* db, bool deleting);

// One kind's places: TypedUrls, the places typed into the address bar (typed = 1) and the
// address bar's memory of the text typed (moz_inputhistory, each row an item "Input:TEXT URL");
// VisitedPages, every other place that was visited or that nothing holds. Deleted with their
// visits and what records them (visit and place extras, history metadata and its searches, new
// tab interactions); a place a bookmark, keyword or annotation holds stays, its visit count,
// last visit and typed mark cleared and its frecency left for Firefox to work out again. The
// origins no place is left in go, the others' frecency is mended. True when the kind changed
// the database.
bool SweepPlaces(BrowserPass& pass, sqlite3* db, Kind kind, PlacesLayout layout);

// After places changed: the icons of pages that are no place any more, and the site icons of
// origins that are gone, out of favicons.sqlite in one transaction of their own.
void PruneFavicons(BrowserPass& pass, sqlite3* places, sqlite3* favicons);
