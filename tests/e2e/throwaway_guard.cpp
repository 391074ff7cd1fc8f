// Decides whether this process may delete anything: only under Wine, inside the throwaway prefix.
#include "tests/e2e/throwaway_guard.h"

#include <windows.h>

#include <cstdlib>

namespace e2e {

std::string WhyNotThrowaway() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) {
        return "not running under Wine (ntdll has no wine_get_version)";
    }
    const char* marked = std::getenv("BRUMIX_THROWAWAY_PREFIX");
    if (!marked || !*marked) return "BRUMIX_THROWAWAY_PREFIX is not set: run me through scripts/wine-run";

    // The mark must name the prefix we actually run in, not merely be present: drive C: of a
    // prefix is its drive_c folder, so its Unix path has to start with the marked directory.
    using ToUnix = char* (*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return "kernel32 has no wine_get_unix_file_name";
    char* unixPath = toUnix(L"C:\\");
    if (!unixPath) return "drive C: has no Unix path";
    std::string driveC = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    std::string prefix = marked;
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    if (driveC.compare(0, prefix.size() + 1, prefix + "/") != 0) {
        return "drive C: (" + driveC + ") lies outside BRUMIX_THROWAWAY_PREFIX (" + prefix + ")";
    }
    return {};
}

}  // namespace e2e
