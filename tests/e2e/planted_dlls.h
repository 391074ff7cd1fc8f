// A folder that someone else could write into: a copy of a program beside a wininet.dll and a
// comctl32.dll of their own making, which leave a mark when loaded; and Wine told to look for
// DLLs beside a program first, as Windows does for every DLL that is not a known DLL.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// While it lives, Wine loads the named DLLs in the given orders for every process of the
// executable (a file name such as "brumix.exe") that starts: its per-executable DllOverrides,
// which a process reads when it starts. An empty order loads no DLL of that name at all.
class DllOverrides {
public:
    DllOverrides(std::string exe, const std::vector<std::pair<std::string, std::string>>& orders);
    ~DllOverrides();
    DllOverrides(const DllOverrides&) = delete;
    DllOverrides& operator=(const DllOverrides&) = delete;

    bool Ok() const { return ok_; }

private:
    std::string key_;
    bool ok_ = true;
};

class PlantedFolder {
public:
    // Copies the program (a Windows path) and the planted DLLs, which the build leaves in
    // the folder that BRUMIX_PLANTED_DLLS names, into a fresh folder of the prefix, and has
    // the copy look beside itself first for both DLLs.
    explicit PlantedFolder(const std::string& program);
    ~PlantedFolder();
    PlantedFolder(const PlantedFolder&) = delete;
    PlantedFolder& operator=(const PlantedFolder&) = delete;

    // Empty when the folder is ready; otherwise what could not be set up.
    const std::string& Problem() const { return problem_; }
    const std::string& Program() const { return program_; }
    // The planted DLLs that some process has loaded so far.
    std::vector<std::string> Loaded() const;

private:
    std::string folder_;
    std::string program_;
    std::string problem_;
    DllOverrides besideFirst_;
};

}  // namespace e2e
