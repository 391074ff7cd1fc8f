// Fuzzes profiles.ini: the reader on untrusted text, each path it takes against a plain reading
// of what a folder named plainly is, and a whole clear of Firefox over the stand-ins with that
// file, which deletes the cached file of each profile taken and nothing at a drive's or a
// share's root.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/ascii_case.h"
#include "platform/memory/memory_databases.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/memory_user_folders.h"
#include "sweep/firefox_sweep.h"
#include "sweep/profiles_ini.h"

namespace {

const std::string kRoaming = "C:\\Users\\ann\\AppData\\Roaming";
const std::string kFirefox = kRoaming + "\\Mozilla\\Firefox";
const std::string kLocal = "C:\\Users\\ann\\AppData\\Local";
const std::string kLocalFirefox = kLocal + "\\Mozilla\\Firefox";
// Where a path Firefox would take but this program must not could lead: a drive's root, a
// share's. (A relative path that leaves Firefox's folder is CheckPath's to catch: any folder it
// could reach, a full path may name plainly.)
const std::string kOutside[] = {"C:\\cache2\\victim", "D:\\startupCache\\victim", "\\\\server\\share\\cache2\\victim"};

// Every name of a folder the reader gives: none empty, "." or "..", none with a character that
// separates or names a stream or device, none the system would read as another.
void CheckPlain(std::string_view folder) {
    FUZZ_CHECK(folder.find('/') == std::string_view::npos);
    std::size_t start = folder.starts_with("\\\\") ? 2 : folder.find('\\') + 1;
    FUZZ_CHECK(start > 1 || folder.starts_with("\\\\"));
    int names = 0;
    while (start <= folder.size()) {
        const std::size_t end = std::min(folder.find('\\', start), folder.size());
        const std::string_view name = folder.substr(start, end - start);
        FUZZ_CHECK(!name.empty() && name != "." && name != "..");
        FUZZ_CHECK(name.find_first_of("<>:\"|?*") == std::string_view::npos);
        FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
        for (const char c : name) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
        ++names;
        start = end + 1;
    }
    FUZZ_CHECK(names >= (folder.starts_with("\\\\") ? 3 : 1));
}

void CheckPath(std::string_view path, bool relative) {
    std::string problem;
    const auto folder = ProfileFolderPath(path, relative, kFirefox, problem);
    FUZZ_CHECK(folder.has_value() == problem.empty());
    if (!folder) return;
    CheckPlain(*folder);
    if (relative) FUZZ_CHECK(folder->starts_with(kFirefox + "\\") && folder->size() > kFirefox.size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool relative = input.ConsumeBool();
    CheckPath(input.ConsumeRandomLengthString(300), relative);

    // Often sections as Firefox writes them, with paths of any bytes, then whatever follows.
    std::string text;
    for (int count = input.ConsumeIntegralInRange(0, 4); count > 0; --count) {
        text += "[Profile" + std::to_string(input.ConsumeIntegralInRange(0, 3)) + "]\r\nName=p\r\nIsRelative=";
        text += input.ConsumeBool() ? "1" : "0";
        text += "\r\nPath=" + input.ConsumeRandomLengthString(120) + "\r\n";
    }
    text += input.ConsumeRemainingBytesAsString();
    const ProfilesIni ini = ReadProfilesIni(text);
    FUZZ_CHECK(ini.profiles.empty() || ini.problems.empty() || !ini.problems.front().starts_with("line "));
    for (const IniProfile& profile : ini.profiles) {
        FUZZ_CHECK(!profile.path.empty() && profile.section.starts_with("Profile"));
        FUZZ_CHECK(profile.path.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(profile.path.front() != ' ' && profile.path.back() != ' ');
        CheckPath(profile.path, profile.relative);
    }

    Faults faults;
    MemoryUserFolders folders;
    folders.paths[UserFolder::RoamingAppData] = kRoaming;
    folders.paths[UserFolder::LocalAppData] = kLocal;
    MemoryProfileFiles files(faults);
    MemoryDatabases databases(files, faults);
    files.WriteFile(kFirefox + "\\profiles.ini", text);
    for (const std::string& path : kOutside) files.WriteFile(path, "mine");
    // Each profile the reader takes is there, with a cached file in its own folder for the clear.
    std::set<std::string> cached;
    for (const IniProfile& profile : ini.profiles) {
        std::string problem;
        const auto folder = ProfileFolderPath(profile.path, profile.relative, kFirefox, problem);
        if (!folder) continue;
        files.AddFolder(*folder);
        const auto local = ProfileFolderPath(profile.path, profile.relative, kLocalFirefox, problem);
        const std::string file = (profile.relative ? *local : *folder) + "\\cache2\\entries\\0A";
        files.WriteFile(file, "entry");
        cached.insert(AsciiLowered(file));
    }
    const BrowserServices services{folders, files, databases};
    SweepObserver observer;
    const BrowserResult result = SweepFirefox(services, {{}, KindSet::All(), {}}, observer);
    FUZZ_CHECK(result.installed && result.profiles <= static_cast<int>(ini.profiles.size()));
    FUZZ_CHECK(result[Kind::CachedFiles].deleted == static_cast<int>(cached.size()));
    for (const std::string& path : kOutside) FUZZ_CHECK(files.ReadFile(path).has_value());
    return 0;
}
