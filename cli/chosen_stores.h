// Which stores preview and clear reach: the flags given, or else the window's remembered choices.
#pragma once

#include "cli/arguments.h"
#include "settings/settings_store.h"
#include "sweep/store_sweep.h"
#include "sweep/sweep_observer.h"

struct ChosenStores {
    StoreSelection selection;
    // No store flag was given, so the selection is the remembered one.
    bool remembered = false;
};

// The flags as given. Without any, the remembered choices as the window applies them:
// temporary files when cached_urls is 1, cookies only together with them, typed addresses
// when IE_history is 1, and the pages visited with them when visited is 1 as well; a value
// that is missing or not 0 or 1 selects nothing.
ChosenStores ChooseStores(const Arguments& arguments, const SettingValues& remembered);

// Whether a clear with this selection deletes items of the store.
bool Selects(const StoreSelection& selection, Store store);
