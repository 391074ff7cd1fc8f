// Which kinds preview and clear reach: the flags given, or else the window's remembered choices.
#include "cli/chosen_stores.h"

ChosenStores ChooseStores(const Arguments& arguments, const SettingValues& remembered) {
    if (arguments.AnyStore()) return ChosenStores{.kinds = arguments.kinds};
    return ChosenStores{
        .kinds = ChosenKinds({
            .temporaryFiles = remembered.CheckState(Setting::CachedUrls) == 1,
            .cookies = remembered.CheckState(Setting::Cookies) == 1,
            .history = remembered.CheckState(Setting::IeHistory) == 1,
            .visitedWithHistory = remembered.CheckState(Setting::Visited) == 1,
        }),
        .remembered = true,
    };
}
