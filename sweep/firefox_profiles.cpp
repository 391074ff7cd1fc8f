// Firefox keeps profiles.ini in %APPDATA%\Mozilla\Firefox. A relative profile's folder is under
// it and its local folder (cache2, startupCache) at the same place under %LOCALAPPDATA%; a
// profile given by its full path keeps both in that one folder (nsToolkitProfileService).
#include "sweep/firefox_profiles.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "sweep/profiles_ini.h"

namespace {

constexpr std::string_view kFirefoxFolder = "Mozilla\\Firefox";

}  // namespace

std::optional<FirefoxInstall> FindFirefoxInstall(const BrowserServices& services) {
    std::string roaming;
    if (!services.folders.Find(UserFolder::RoamingAppData, roaming)) return std::nullopt;
    FirefoxInstall install{roaming + "\\" + std::string(kFirefoxFolder), {}, {}};
    std::string text;
    const std::uint32_t read =
        services.files.ReadSmallFile(install.root + "\\profiles.ini", kProfilesIniMaxBytes, text);
    if (read == kErrorFileNotFound || read == kErrorPathNotFound) return std::nullopt;
    if (read == kErrorFileTooLarge) {
        install.problems.emplace_back("profiles.ini: larger than 1 MB");
        return install;
    }
    if (read != kErrorSuccess) {
        install.problems.push_back("profiles.ini: cannot be read (error " + std::to_string(read) + ")");
        return install;
    }
    std::string local;
    const bool hasLocal = services.folders.Find(UserFolder::LocalAppData, local);
    const std::string localRoot = local + "\\" + std::string(kFirefoxFolder);

    ProfilesIni ini = ReadProfilesIni(text);
    for (const std::string& problem : ini.problems) install.problems.push_back("profiles.ini: " + problem);
    for (const IniProfile& listed : ini.profiles) {
        std::string problem;
        const auto path = ProfileFolderPath(listed.path, listed.relative, install.root, problem);
        if (!path) {
            install.problems.push_back("profiles.ini: " + listed.section + ": " + problem);
            continue;
        }
        // A profile listed twice is one folder; a folder that is not there holds nothing.
        const bool taken =
            std::any_of(install.profiles.begin(), install.profiles.end(),
                        [&](const FirefoxProfile& other) { return EqualsIgnoringAsciiCase(other.path, *path); });
        if (taken || !services.files.IsFolder(*path)) continue;
        std::string cachePath = *path;
        if (listed.relative) {
            cachePath.clear();
            if (hasLocal) cachePath = ProfileFolderPath(listed.path, true, localRoot, problem).value_or("");
        }
        install.profiles.push_back({path->substr(path->rfind('\\') + 1), *path, std::move(cachePath)});
    }
    return install;
}
