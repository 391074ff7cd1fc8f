// What the console tests cannot do from the Linux shell, inside the throwaway prefix: seed and
// count the URL cache, seed a typed address outside ASCII, and start brumix.exe as a launcher
// that ignores Ctrl+C does (start /b, or any launcher that made a new process group).
//   console_helper seed-cache N      N ordinary cache entries
//   console_helper seed-typed        one typed address named "café"
//   console_helper seed-cookies HOST...  one cookie for each host (for the README's pictures)
//   console_helper count-cache       prints how many entries the cache holds
//   console_helper launch COMMAND... runs COMMAND with Ctrl+C ignored, its exit code as its own
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/throwaway_prefix.h"
#include "tests/support/wine_cache.h"
#include "tests/support/wine_registry.h"

namespace {

int SeedCache(int count) {
    for (int i = 0; i < count; ++i) {
        if (!CommitEntry("http://" + UniqueName("console") + ".example/page.htm")) {
            std::fprintf(stderr, "console_helper: entry %d could not be committed: %lu\n", i, GetLastError());
            return 1;
        }
    }
    return 0;
}

int SeedTyped() {
    const std::vector<std::uint8_t> data{'x', 0};
    return SetRawValue(kTypedUrlsPath, L"caf\x00E9", REG_SZ, data) == ERROR_SUCCESS ? 0 : 1;
}

int SeedCookies(int count, char** hosts) {
    for (int i = 0; i < count; ++i) {
        if (!SetPersistentCookie(std::string("http://") + hosts[i] + "/", "session=1")) return 1;
    }
    return 0;
}

int CountCache() {
    const CacheCensus census = TakeCensus();
    std::printf("%zu\n", census.files.size() + census.cookies.size());
    return census.complete ? 0 : 1;
}

// The rest of this program's own command line after the word "launch", as it was written.
int Launch() {
    const char* line = GetCommandLineA();
    const char* rest = std::strstr(line, " launch ");
    if (rest == nullptr) return 2;
    std::string command(rest + std::strlen(" launch "));
    SetConsoleCtrlHandler(nullptr, TRUE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "console_helper: %s could not be started: %lu\n", command.c_str(), GetLastError());
        return 2;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "console_helper refuses to run, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "seed-cache" && argc == 3) return SeedCache(std::atoi(argv[2]));
    if (command == "seed-typed") return SeedTyped();
    if (command == "count-cache") return CountCache();
    if (command == "seed-cookies") return SeedCookies(argc - 2, argv + 2);
    if (command == "launch" && argc > 2) return Launch();
    std::fprintf(stderr,
                 "usage: console_helper seed-cache N | seed-typed | seed-cookies HOST... | count-cache | launch "
                 "COMMAND...\n");
    return 2;
}
