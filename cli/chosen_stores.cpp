// Which kinds preview and clear reach, and which other browsers.
#include "cli/chosen_stores.h"

#include <optional>
#include <string>

#include "sweep/browser_choice.h"

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

SourceSet ChooseBrowsers(const Arguments& arguments, const PlatformServices& services) {
    if (arguments.browsers) return *arguments.browsers;
    const std::optional<std::string> stored = ReadBrowsersSetting(services.registry);
    if (stored) return ReadBrowserList(*stored).chosen;
    return BrowsersWithoutAList(services, NothingStored(ReadSettings(services.registry), stored));
}
