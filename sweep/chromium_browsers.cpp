// The browsers' table and their profiles, from Local State or from the folders found.
#include "sweep/chromium_browsers.h"

#include <algorithm>
#include <array>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "sweep/json_reader.h"

namespace {

constexpr std::array kBrowsers{
    ChromiumBrowser{"edge", UserFolder::LocalAppData, "Microsoft\\Edge\\User Data"},
    ChromiumBrowser{"chrome", UserFolder::LocalAppData, "Google\\Chrome\\User Data"},
    ChromiumBrowser{"brave", UserFolder::LocalAppData, "BraveSoftware\\Brave-Browser\\User Data"},
    ChromiumBrowser{"vivaldi", UserFolder::LocalAppData, "Vivaldi\\User Data"},
    ChromiumBrowser{"opera", UserFolder::RoamingAppData, "Opera Software\\Opera Stable", true},
};

// A name Local State may give that is one folder right under the user data: nothing that
// leaves it ("..", a separator, a drive) or that the file system would read as another name.
bool IsProfileFolderName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

// The profiles a user works in: the system and guest profiles hold no browsing of theirs.
bool IsUserProfile(std::string_view name) {
    return !EqualsIgnoringAsciiCase(name, "System Profile") && !EqualsIgnoringAsciiCase(name, "Guest Profile");
}

// "Default" or "Profile " and a number: the folders the browser makes for profiles.
bool IsProfileFolderPattern(std::string_view name) {
    if (name == "Default") return true;
    constexpr std::string_view kPrefix = "Profile ";
    if (!name.starts_with(kPrefix) || name.size() == kPrefix.size() || name.size() > kPrefix.size() + 9) return false;
    return std::all_of(name.begin() + kPrefix.size(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::vector<std::string>> ListedProfiles(ProfileFiles& files, const std::string& userData) {
    std::string text;
    if (files.ReadSmallFile(userData + "\\Local State", kLocalStateMaxBytes, text) != kErrorSuccess)
        return std::nullopt;
    return JsonObjectKeys(text, {"profile", "info_cache"});
}

std::vector<std::string> FoundProfiles(ProfileFiles& files, const std::string& userData) {
    std::vector<std::string> names;
    ScopedListing listing(files);
    FolderEntry entry;
    for (std::uint32_t status = listing.Start(userData, entry); status == kErrorSuccess; status = listing.Next(entry)) {
        if (entry.folder && !entry.link && IsProfileFolderPattern(entry.name)) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() {
    return kBrowsers;
}

const ChromiumBrowser* FindChromiumBrowser(std::string_view id) {
    const auto found =
        std::find_if(kBrowsers.begin(), kBrowsers.end(), [id](const ChromiumBrowser& b) { return b.id == id; });
    return found == kBrowsers.end() ? nullptr : &*found;
}

std::optional<ChromiumInstall> FindChromiumInstall(const BrowserServices& services, const ChromiumBrowser& browser) {
    std::string root;
    if (!services.folders.Find(browser.root, root)) return std::nullopt;
    ChromiumInstall install{root + "\\" + std::string(browser.userData), {}};
    if (!services.files.IsFolder(install.userData)) return std::nullopt;

    if (browser.folderIsProfile) {
        std::string local;
        std::string cachePath = install.userData;
        if (services.folders.Find(UserFolder::LocalAppData, local))
            cachePath = local + "\\" + std::string(browser.userData);
        const std::string name(browser.userData.substr(browser.userData.rfind('\\') + 1));
        install.profiles.push_back({name, install.userData, cachePath});
        return install;
    }
    std::vector<std::string> names;
    if (auto listed = ListedProfiles(services.files, install.userData)) {
        for (std::string& name : *listed) {
            // Two names that differ in case are one folder.
            const bool taken = std::any_of(names.begin(), names.end(), [&](const std::string& other) {
                return EqualsIgnoringAsciiCase(name, other);
            });
            if (!taken && IsProfileFolderName(name) && IsUserProfile(name) &&
                services.files.IsFolder(install.userData + "\\" + name))
                names.push_back(std::move(name));
        }
    } else {
        names = FoundProfiles(services.files, install.userData);
    }
    for (std::string& name : names) {
        std::string path = install.userData + "\\" + name;
        install.profiles.push_back({std::move(name), path, path});
    }
    return install;
}
