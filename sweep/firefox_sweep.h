// A pass over Firefox's profiles: each kind counted and, when asked, deleted; every profile left
// as it is while Firefox runs in any of them.
#pragma once

#include "platform/browser_services.h"
#include "sweep/browser_sweep.h"
#include "sweep/firefox_profiles.h"
#include "sweep/source.h"
#include "sweep/sweep_observer.h"

// For every profile profiles.ini lists, in turn: its cached files (cache2 and startupCache, in
// its local folder), its cookies (cookies.sqlite), its typed addresses and its pages visited
// (places.sqlite), as the request asks. Each item is told to the observer (Store::Cache,
// Cookie, Typed, Visited) by a name that carries the browser and the profile: "firefox:" and the
// profile's folder name and ":", then the file's path under its local folder,
// "Cookie:NAME@HOST/PATH", the place's URL, or "Input:TEXT URL" for the address bar's memory of
// typed text.
//
// Nothing is deleted while Firefox runs (a profile's parent.lock is held, or a database it keeps
// is held by another process); a database whose layout is not known, and what of profiles.ini
// was refused, are left whole and named in the result. Each kind changes a database in one
// transaction, all of it or none, with what it deletes overwritten in the file. Bookmarks and
// their folders, tags and keywords, passwords (logins.json, key4.db), form history, settings,
// extensions and sessions are never opened.
BrowserResult SweepFirefox(const BrowserServices& services, const BrowserRequest& request, SweepObserver& observer);

// The source of the table's row for Firefox, and whether its profiles.ini is there.
void RunFirefox(SourceContext& context);
bool FirefoxInstalled(const PlatformServices& services, const Source& row);
