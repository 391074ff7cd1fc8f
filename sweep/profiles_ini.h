// profiles.ini, where Firefox lists its profiles, read by a strict reader of our own that
// trusts nothing in the file: its size is bounded, a line it cannot read refuses the whole
// file, a profile written ambiguously (a key or the section twice) is left out, and a path is
// taken only when it names a folder plainly (no "." or "..", no device, no drive's or share's
// root, nothing the file system would read as another name).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One [ProfileN] section as Firefox reads it.
struct IniProfile {
    // "Profile0": what a problem with it is named by.
    std::string section;
    // As written: relative to Firefox's folder (with "/" or "\"), or a full path.
    std::string path;
    bool relative = false;
};

struct ProfilesIni {
    // In the order Firefox numbers them.
    std::vector<IniProfile> profiles;
    // Each thing refused, in words ("line 7 is no section, key or comment", "Profile1: Path
    // given twice"). A file refused whole lists no profile.
    std::vector<std::string> problems;
};

// A larger profiles.ini is refused unread: Firefox's own is a few hundred bytes a profile.
inline constexpr std::size_t kProfilesIniMaxBytes = std::size_t{1024} * 1024;

// The profiles as Firefox finds them: the sections Profile0, Profile1 and on, up to the first
// that is missing or has no IsRelative; one without a Path or a Name is passed over, as Firefox
// passes it. IsRelative "1" is relative, anything else a full path. Sections and keys are told
// apart by case, as Firefox tells them; [General], [Install...] and the others are not read.
// The text is UTF-8 (a byte-order mark is skipped); lines end with CR, LF or both; blank lines
// and lines that begin with ";" or "#" say nothing.
ProfilesIni ReadProfilesIni(std::string_view text);

// The profile's folder with backslashes: a relative path under base (Firefox's folder, full,
// without a trailing separator), a full one on a drive or a share as it is written. Nothing,
// with the reason in problem, for a path that is not one folder named plainly.
std::optional<std::string> ProfileFolderPath(std::string_view path, bool relative, std::string_view base,
                                             std::string& problem);
