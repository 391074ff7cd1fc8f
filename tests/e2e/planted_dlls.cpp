// Plants DLLs named as the system's beside a copy of a program, and tells which were loaded.
#include "tests/e2e/planted_dlls.h"

#include <windows.h>

#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"
#include "tests/support/wine_registry.h"

namespace e2e {
namespace {

constexpr const char* kPlanted[] = {"wininet.dll", "comctl32.dll"};
// Wine's own load order for a DLL found beside the program before its builtin one.
constexpr char kBesideTheProgramFirst[] = "native,builtin";

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

}  // namespace

PlantedFolder::PlantedFolder(const std::string& program)
    : besideFirst_(FileName(program), {{"wininet", kBesideTheProgramFirst}, {"comctl32", kBesideTheProgramFirst}}) {
    char unixFolder[MAX_PATH] = {};
    const DWORD found = GetEnvironmentVariableA("BRUMIX_PLANTED_DLLS", unixFolder, MAX_PATH);
    if (found == 0 || found >= MAX_PATH || !besideFirst_.Ok()) {
        problem_ = "no DllOverrides, or BRUMIX_PLANTED_DLLS does not name the folder of the planted DLLs";
        return;
    }
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) {
        problem_ = "no temporary folder";
        return;
    }
    folder_ = std::string(temp) + UniqueName("writable-by-anyone");
    MakeEmptyFolder(folder_);
    program_ = folder_ + "\\" + FileName(program);
    const std::string source = ToWindowsPath(unixFolder);
    std::vector<std::pair<std::string, std::string>> copies{{program, program_}};
    for (const char* dll : kPlanted) copies.emplace_back(source + "\\" + dll, folder_ + "\\" + dll);
    for (const auto& [from, to] : copies) {
        if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) {
            problem_ = "cannot copy " + from + ": error " + std::to_string(GetLastError());
            return;
        }
    }
}

PlantedFolder::~PlantedFolder() {
    if (!folder_.empty()) RemoveFolder(folder_);
}

std::vector<std::string> PlantedFolder::Loaded() const {
    std::vector<std::string> loaded;
    for (const char* dll : kPlanted) {
        if (FileExists(folder_ + "\\" + dll + ".loaded")) loaded.emplace_back(dll);
    }
    return loaded;
}

DllOverrides::DllOverrides(std::string exe, const std::vector<std::pair<std::string, std::string>>& orders)
    : key_("Software\\Wine\\AppDefaults\\" + std::move(exe) + "\\DllOverrides") {
    for (const auto& [dll, order] : orders) ok_ = ok_ && SetTextValue(key_, dll, order) == ERROR_SUCCESS;
}

DllOverrides::~DllOverrides() {
    DeleteKeyTree(key_);
}

}  // namespace e2e
