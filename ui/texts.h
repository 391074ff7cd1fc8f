// The texts the main window shows, each written once here.
#pragma once

inline constexpr const char kTitle[] = "Win Brumix";
inline constexpr const char kTitleMinimisedFormat[] = "t:%d-c:%d";
inline constexpr const char kStatusWelcome[] = "S U R F  F A S T E R  &&  S A F E R";
inline constexpr const char kStatusClearTemp[] = "Clear Temporary Files";
inline constexpr const char kStatusKeepTemp[] = "Keep Temporary Files";
inline constexpr const char kStatusIncludeCookies[] = "Include cookies in Clear ";
inline constexpr const char kStatusExcludeCookies[] = "Do Not Include cookies in Clear ";
inline constexpr const char kStatusClearHistory[] = "Clear IE History";
inline constexpr const char kStatusKeepHistory[] = "Keep IE History";
inline constexpr const char kStatusSnifferOn[] = "Sniffer Timer ON";
inline constexpr const char kStatusSnifferOff[] = "Sniffer Timer OFF";
inline constexpr const char kStatusSelectFirst[] = "Select 'Temporary' (+ Cookies) or 'History' first";
inline constexpr const char kStatusDone[] = "Done!";
// After a clear that took the cookies while the list of cookies to keep could not be read: it
// kept every one. As short as the status line is wide.
inline constexpr const char kStatusCookiesHeld[] = "Cookies kept: their list cannot be read";
// After a clear that left a browser whole because it runs, named in the table's order; as short
// as the status line is wide. Its tip says more.
inline constexpr const char kStatusCloseBrowserFormat[] = "Close %s to clear it";
inline constexpr const char kStatusCloseBrowsersFormat[] = "Close %s and %d more to clear";
// The status line's tip then: the browsers' names come before each.
inline constexpr const char kTipBrowserInUse[] = " ran, so nothing of it was cleared: close it, and clear again.";
inline constexpr const char kTipBrowsersInUse[] = " ran, so nothing of them was cleared: close them, and clear again.";
inline constexpr const char kTipRunsWithoutWindows[] =
    " may keep running after the last window closes (Startup boost, background apps): turn those off in the "
    "browser's settings, or end it in the Task Manager.";
// After a clear that left a database whose layout this program does not know.
inline constexpr const char kStatusLayoutUnknownFormat[] = "Layout not known: %s left";
inline constexpr const char kTipLayoutsUnknown[] =
    "Left whole, as this release does not know their layout (a newer browser may have changed it): ";
inline constexpr const char kSniffCaptionFormat[] = "Sniff: every %d second(s)";
inline constexpr const char kCachedCountFormat[] = "Cached Files: %d";
inline constexpr const char kCookieCountFormat[] = "Cookies: %d";
inline constexpr const char kHistoryCountFormat[] = "URLs In History: %d";
inline constexpr const char kNotDeleted[] = "NOT DELETED";
inline constexpr const char kNothingToClear[] =
    "Nothing to clear! Select:\n- 'Temporary Internet Files' (+ Cookies) or\n- 'Internet Explorer History'";
inline constexpr const char kVisitedMenuEntry[] = "Clear &visited pages with the history";
inline constexpr const char kKeepCookiesMenuEntry[] = "Cookies to &keep...";
inline constexpr const char kOtherBrowsersMenuEntry[] = "Other &browsers";
inline constexpr const char kMakerAddress[] = "http://www.quellmar.example/";

// The "Cookies to keep" dialog.
inline constexpr const char kKeepCookiesCaption[] = "Cookies to keep";
inline constexpr const char kKeepTypedNotASite[] = "What was typed is no site name or IP address: ";
inline constexpr const char kKeepWhatToType[] =
    "Type a site's name (such as bank.example), an address (such as https://mail.bank.example/) or an IP "
    "address.";
inline constexpr const char kKeepSitesRefused[] =
    "These sites cannot be kept, as the list holds only site names and IP addresses:\n";
inline constexpr const char kKeepNoSiteName[] = "no site name or IP address";
inline constexpr const char kKeepMoreRefusedFormat[] = "and %d more.";
inline constexpr const char kKeepListUnreadable[] =
    "The list of cookies to keep cannot be read, so no cookie is deleted. It is the value keep_cookies "
    "under HKEY_CURRENT_USER\\SOFTWARE\\Quellmar\\Win Brumix; correct it or delete it there: it is not "
    "written over here, in case it holds a site you keep.";
inline constexpr const char kKeepListNotSaved[] = "The list of cookies to keep could not be saved.";
