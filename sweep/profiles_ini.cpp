// The reader keeps every section's keys as written, then looks up the profiles by the names
// Firefox builds ("Profile" and a number), so that a section Firefox would not read is never
// taken for one it would.
#include "sweep/profiles_ini.h"

#include <algorithm>
#include <array>
#include <map>

#include "platform/ascii_case.h"

namespace {

struct Section {
    std::map<std::string, std::string, std::less<>> keys;
    // A key given twice, or the section itself ("[Profile0]" twice): Firefox takes one of them,
    // and which one is its business, not a guess of ours.
    std::string twice;
};

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text's sections by name, or nothing with the line that could not be read.
std::optional<std::map<std::string, Section, std::less<>>> Sections(std::string_view text, std::string& problem) {
    std::map<std::string, Section, std::less<>> sections;
    Section* current = nullptr;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end);
        if (text.starts_with("\r\n")) {
            text.remove_prefix(2);
        } else if (!text.empty()) {
            text.remove_prefix(1);
        }
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        const bool readable = std::none_of(line.begin(), line.end(),
                                           [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
        const std::size_t equals = line.find('=');
        if (readable && line.front() == '[' && line.back() == ']' && line.size() > 2 &&
            line.find_first_of("[]", 1) == line.size() - 1) {
            const std::string name(line.substr(1, line.size() - 2));
            const bool again = sections.count(name) != 0;
            current = &sections[name];
            if (again) current->twice = "the section";
        } else if (readable && current != nullptr && equals != std::string_view::npos &&
                   !Trimmed(line.substr(0, equals)).empty()) {
            const std::string key(Trimmed(line.substr(0, equals)));
            const auto [where, added] = current->keys.emplace(key, Trimmed(line.substr(equals + 1)));
            if (!added && current->twice.empty()) current->twice = key;
        } else {
            problem = "line " + std::to_string(number) + " is no section, key or comment";
            return std::nullopt;
        }
    }
    return sections;
}

// One name of a path, as the file system would read it and as nothing else: no character that
// separates, names a stream or a device, or is a wildcard; no trailing dot or space (the system
// drops them, and another name answers; "." and ".." end so too); no device's name.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name.back() == '.' || name.back() == ' ') return false;
    const bool odd = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
    });
    if (odd) return false;
    const std::string stem = AsciiUppered(std::string(name.substr(0, name.find('.'))));
    constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return false;
    const bool port =
        stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' && stem[3] <= '9';
    return !port;
}

// The names between the separators ("\" or "/"), appended to folder; false when one is not plain.
bool AppendNames(std::string_view path, std::string& folder) {
    while (true) {
        const std::size_t end = std::min(path.find_first_of("\\/"), path.size());
        const std::string_view name = path.substr(0, end);
        if (!IsPlainName(name)) return false;
        folder.append("\\").append(name);
        if (end == path.size()) return true;
        path.remove_prefix(end + 1);
    }
}

// The folder with the names in path after it, or nothing when one is not plain.
std::optional<std::string> Joined(std::string folder, std::string_view path) {
    if (!AppendNames(path, folder)) return std::nullopt;
    return folder;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

ProfilesIni ReadProfilesIni(std::string_view text) {
    ProfilesIni ini;
    if (text.size() > kProfilesIniMaxBytes) {
        ini.problems.emplace_back("larger than 1 MB");
        return ini;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::string problem;
    const auto sections = Sections(text, problem);
    if (!sections) {
        ini.problems.push_back(std::move(problem));
        return ini;
    }
    for (std::size_t number = 0;; ++number) {
        const std::string name = "Profile" + std::to_string(number);
        const auto section = sections->find(name);
        if (section == sections->end()) break;
        const auto& keys = section->second.keys;
        const auto relative = keys.find("IsRelative");
        if (relative == keys.end()) break;
        const auto path = keys.find("Path");
        if (!section->second.twice.empty()) {
            ini.problems.push_back(name + ": " + section->second.twice + " given twice");
        } else if (path == keys.end() || path->second.empty()) {
            ini.problems.push_back(name + ": no Path");
        } else if (keys.count("Name") == 0) {
            ini.problems.push_back(name + ": no Name");
        } else {
            ini.profiles.push_back({name, path->second, relative->second == "1"});
        }
    }
    return ini;
}

std::optional<std::string> ProfileFolderPath(std::string_view path, bool relative, std::string_view base,
                                             std::string& problem) {
    if (relative) {
        if (auto folder = Joined(std::string(base), path)) return folder;
        problem = "its relative path is not plainly a folder under Firefox's";
        return std::nullopt;
    }
    const bool drive = path.size() > 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && IsSeparator(path[2]);
    const bool share = path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    if (drive) {
        if (auto folder = Joined(std::string(path.substr(0, 2)), path.substr(3))) return folder;
    } else if (share) {
        // The server and the share, then at least one folder: a share's root is no profile.
        const std::string_view rest = path.substr(2);
        const std::size_t server = rest.find_first_of("\\/");
        const std::size_t shareEnd = server == std::string_view::npos ? server : rest.find_first_of("\\/", server + 1);
        if (shareEnd != std::string_view::npos)
            if (auto folder = Joined("\\", rest)) return folder;
    }
    problem = "its path is not plainly a folder on a drive or a share";
    return std::nullopt;
}
