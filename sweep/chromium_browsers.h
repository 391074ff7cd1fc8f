// The Chromium browsers this program clears, as one table, and where each keeps its profiles.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser_services.h"

struct ChromiumBrowser {
    // The id the settings and brumix's --browsers name it by.
    std::string_view id;
    // The user-data folder, under which user folder.
    UserFolder root;
    std::string_view userData;
    // The user-data folder is the profile itself (Opera), and its cache lives at the same place
    // under %LOCALAPPDATA%.
    bool folderIsProfile = false;
};

// Every supported browser, in the order they are cleared and shown.
std::span<const ChromiumBrowser> ChromiumBrowsers();
const ChromiumBrowser* FindChromiumBrowser(std::string_view id);

struct ChromiumProfile {
    // The profile's folder name ("Default", "Profile 1"), which names its items.
    std::string name;
    std::string path;
    // Where its caches are: the profile itself, or for Opera the same folder under %LOCALAPPDATA%.
    std::string cachePath;
};

struct ChromiumInstall {
    std::string userData;
    // In the order Local State lists them, or by name when they were found by their folders.
    std::vector<ChromiumProfile> profiles;
};

// Nothing when the browser is not installed for this user (no user-data folder, or no user
// folders at all). The profiles are the folders Local State's profile.info_cache names that are
// there; when that file is missing or cannot be read as such, the folders "Default" and
// "Profile N" found.
std::optional<ChromiumInstall> FindChromiumInstall(const BrowserServices& services, const ChromiumBrowser& browser);

// Local State is read whole up to this size; a larger one is taken as unreadable.
inline constexpr std::size_t kLocalStateMaxBytes = std::size_t{16} * 1024 * 1024;
