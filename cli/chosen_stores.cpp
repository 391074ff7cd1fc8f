// Which stores preview and clear reach: the flags given, or else the window's remembered choices.
#include "cli/chosen_stores.h"

ChosenStores ChooseStores(const Arguments& arguments, const SettingValues& remembered) {
    ChosenStores chosen;
    if (arguments.AnyStore()) {
        chosen.selection =
            StoreSelection{arguments.temp, arguments.temp && arguments.cookies, arguments.history, arguments.visited};
        return chosen;
    }
    chosen.remembered = true;
    const bool temp = remembered.CheckState(Setting::CachedUrls) == 1;
    chosen.selection.cache = temp;
    chosen.selection.cookies = temp && remembered.CheckState(Setting::Cookies) == 1;
    chosen.selection.typedUrls = remembered.CheckState(Setting::IeHistory) == 1;
    chosen.selection.visited = chosen.selection.typedUrls && remembered.CheckState(Setting::Visited) == 1;
    return chosen;
}

bool Selects(const StoreSelection& selection, Store store) {
    switch (store) {
        case Store::Cache:
            return selection.cache;
        case Store::Cookie:
        case Store::CookieFile:
            return selection.cache && selection.cookies;
        case Store::Typed:
            return selection.typedUrls;
        case Store::Visited:
            return selection.visited;
    }
    return false;
}
