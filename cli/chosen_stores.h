// Which kinds preview and clear reach: the flags given, or else the window's remembered choices;
// and which other browsers count, preview and clear reach besides the system browser's stores.
#pragma once

#include "cli/arguments.h"
#include "platform/platform_services.h"
#include "settings/settings_store.h"
#include "sweep/kinds.h"
#include "sweep/source.h"

struct ChosenStores {
    KindSet kinds;
    // No store flag was given, so the selection is the remembered one.
    bool remembered = false;
};

// The flags as given. Without any, the remembered choices as the window applies them (see
// ChosenKinds); a value that is missing or not 0 or 1 selects nothing.
ChosenStores ChooseStores(const Arguments& arguments, const SettingValues& remembered);

// The browsers --browsers named. Without it, the list the window remembered (ids this release
// does not know passed over, as a later release may have written them); while none is stored,
// every browser installed on a first start (nothing of the program's stored), none after an
// earlier release. brumix never writes the list.
SourceSet ChooseBrowsers(const Arguments& arguments, const PlatformServices& services);
