// A pass over one Chromium browser's profiles: each kind counted and, when asked, deleted; the
// whole browser left as it is while it runs.
#pragma once

#include "platform/browser_services.h"
#include "sweep/browser_sweep.h"
#include "sweep/chromium_browsers.h"
#include "sweep/source.h"
#include "sweep/sweep_observer.h"

// For every profile in turn: its cached files, its cookies, its typed addresses, its pages
// visited, as the request asks. Each item is told to the observer (Store::Cache, Cookie, Typed,
// Visited) by a name that carries the browser and the profile: "edge:Default:" and then the
// file's path under the profile, "Cookie:NAME@HOST/PATH", the URL, or "Shortcut:TEXT URL" for
// the address bar's memory of typed text.
//
// Nothing is deleted while the browser runs (its lockfile is held, or a database it keeps is
// held by another process); a database whose layout is not known is left whole and named in
// the result. Each kind changes a database in one transaction, all of it or none: a stop asked
// in the middle of a kind's rows, or a change that fails, leaves that kind as it was (a failed
// change is told once, by the database's name, to OnStayed). What is deleted is overwritten
// in the file, not left in its free pages. Bookmarks, passwords, autofill, settings,
// extensions, sessions and downloads are never opened.
BrowserResult SweepChromiumBrowser(const BrowserServices& services, const ChromiumBrowser& browser,
                                   const BrowserRequest& request, SweepObserver& observer);

// The source of the table's row for a Chromium browser (its id names it in ChromiumBrowsers()),
// and whether its user data is there.
void RunChromiumBrowser(SourceContext& context);
bool ChromiumBrowserInstalled(const PlatformServices& services, const Source& row);
