// Firefox for this user: its folder, and the profiles profiles.ini lists in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser_services.h"

inline constexpr std::string_view kFirefoxId = "firefox";

struct FirefoxProfile {
    // The profile's folder name ("x1y2z3.default-release"), which names its items.
    std::string name;
    // Its folder, which holds its databases and parent.lock.
    std::string path;
    // Where its caches are: for a profile under Firefox's folder, the same place under
    // %LOCALAPPDATA%; for one elsewhere, the profile itself. Empty: nowhere to look.
    std::string cachePath;
};

struct FirefoxInstall {
    // %APPDATA%\Mozilla\Firefox.
    std::string root;
    // In the order profiles.ini lists them; each folder once, and only the folders there.
    std::vector<FirefoxProfile> profiles;
    // What of profiles.ini was refused, in words ("Profile1: no Path").
    std::vector<std::string> problems;
};

// Nothing when Firefox is not installed for this user: no profiles.ini (or no user folders at
// all). A profiles.ini that cannot be read lists no profile and says why.
std::optional<FirefoxInstall> FindFirefoxInstall(const BrowserServices& services);
