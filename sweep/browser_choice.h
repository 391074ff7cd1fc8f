// Which other browsers the two front ends count and clear: the list the user chose, as the
// setting `browsers` and brumix's --browsers write it, and what holds while none was chosen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_services.h"
#include "sweep/source.h"

struct BrowserList {
    SourceSet chosen;
    // The words that name no browser this program knows, as written.
    std::vector<std::string> unknown;
};

// Ids separated by commas, without regard to case or to blanks round them ("edge, Chrome", an
// empty one passed over); "all" or "none" alone; nothing at all is none.
BrowserList ReadBrowserList(std::string_view text);
// The chosen browsers' ids in the table's order, separated by commas: "" for none.
std::string BrowserListText(SourceSet chosen);

// The browsers whose user data is there for this user now.
SourceSet InstalledBrowsers(const PlatformServices& services);

// While no list is stored: on a first start (nothing of the program's stored at all) every
// browser installed then, so that a new user's boxes mean their browsers; after an earlier
// release (its choices stored, no list) none, so that an automatic clear set up then does not
// begin signing its user out of other browsers.
SourceSet BrowsersWithoutAList(const PlatformServices& services, bool firstStart);
