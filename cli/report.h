// Everything brumix.exe says, worded and shaped: the usage text, each command's report in text
// and in JSON, and the lines on standard error. The commands decide what is said and where it
// goes; a script's whole view of the program is written here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "sweep/kept_list.h"
#include "sweep/sweep.h"

// The text of --help.
std::string UsageText();
// --version's answer, from the version record's file version.
std::string VersionText(std::string_view version);

// One line for standard error, the program's name first.
std::string ErrorLine(std::string_view message);
// A command line that is refused, and where to read how one goes.
std::string UsageErrorText(std::string_view problem);
std::string NoVersionText();
// Standard output failed with the system's error; whatever it was to carry is gone.
std::string OutputLostText(std::uint32_t error);

// Said when no store flag was given: which stores the remembered choices select, or that
// they select none.
std::string RememberedSelectionText(KindSet selection);
std::string NothingRememberedText();

// count's report: each kind's count in the window's words, one a line, then the cookies kept when
// there are some; or one JSON object, which always holds the cookies kept.
std::string CountReport(const SweepResult& result, bool json);

struct NamedItem {
    Store store;
    std::string utf8Name;
};

// preview's list, written as the sweep goes so that a long one costs no memory: what comes
// before the first item, each item (first: none came before it), and what ends the list; in JSON
// that end names the cookies kept, when there are some.
std::string PreviewOpening(bool json);
std::string PreviewItem(Store store, std::string_view utf8Name, bool first, bool json);
std::string PreviewClosing(bool json, const std::vector<NamedItem>& kept = {});

// An item that a clear could not delete, named on standard error as it happens.
std::string NotDeletedLine(Store store, std::string_view utf8Name);

// clear's report: how many items of each kind went, and how many cookies were kept when the
// cookies were selected and some were; in JSON also the items that stayed, how many cache entries
// were in use and go once released, and whether every selected store was walked to its end
// without a stop.
std::string ClearReport(const SweepResult& result, const std::vector<NamedItem>& stayed, bool json);

// The cache entries that a clear found in use, which the service deletes once they are
// released: one line for standard error, not naming them; empty when there were none.
std::string PendingText(const SweepResult& result);

// What keeps a command's sweep from being a full account of its sources, a line each, a list of
// cookies to keep that could not be read included; empty when nothing does.
std::string ShortfallText(const SweepResult& result, Command command);

// keep's report: the kept sites, one a line, or one JSON object.
std::string KeptSitesReport(const std::vector<std::string>& sites, bool json);
// Why keep cannot show or change the list; a change is then not made.
std::string KeptListUnreadableText(const KeptCookieList& list, KeepAction action);
std::string KeptListNotWrittenText(std::int32_t status);
// keep remove named a site that the list does not hold.
std::string NotKeptText(std::string_view site);
