// Runs brumix.exe as a script would, its standard output and error redirected to files that
// are read back once it has ended.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// Set by main from the command line: brumix.exe, as a Windows path.
void SetCliPath(const std::string& path);

struct CliResult {
    // 259 (STILL_ACTIVE) never comes back: a run that outlives its limit is ended and reported
    // as kCliTimedOut.
    unsigned long exitCode = 0;
    std::string out;
    std::string err;
    bool started = false;
};
inline constexpr unsigned long kCliTimedOut = 0xFFFFFFFF;

CliResult RunCli(const std::vector<std::string>& args);
// The same run of another executable, such as a copy of brumix.exe.
CliResult RunCliAt(const std::string& program, const std::vector<std::string>& args);
const std::string& CliPath();

}  // namespace e2e
