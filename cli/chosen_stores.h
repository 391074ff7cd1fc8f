// Which kinds preview and clear reach: the flags given, or else the window's remembered choices.
#pragma once

#include "cli/arguments.h"
#include "settings/settings_store.h"
#include "sweep/kinds.h"

struct ChosenStores {
    KindSet kinds;
    // No store flag was given, so the selection is the remembered one.
    bool remembered = false;
};

// The flags as given. Without any, the remembered choices as the window applies them (see
// ChosenKinds); a value that is missing or not 0 or 1 selects nothing.
ChosenStores ChooseStores(const Arguments& arguments, const SettingValues& remembered);
