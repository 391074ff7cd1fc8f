// Recognises Wine by its ntdll export and the throwaway prefix by the mark wine-run sets.
#include "tests/support/throwaway_prefix.h"

#include <windows.h>

namespace {

// Empty when the variable is unset (or set to nothing, which marks nothing either). Read
// through kernel32 rather than the C runtime, whose copy a later SetEnvironmentVariable
// would not reach.
std::string Environment(const char* name) {
    char value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

// Empty when the reason to refuse is gone: drive C: of a prefix is its drive_c folder, so
// its Unix path has to start with the marked directory.
std::string WhyDriveCIsOutside(std::string prefix) {
    using ToUnix = char* (*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return "kernel32 has no wine_get_unix_file_name";
    char* unixPath = toUnix(L"C:\\");
    if (unixPath == nullptr) return "drive C: has no Unix path";
    const std::string driveC = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    if (driveC.compare(0, prefix.size() + 1, prefix + "/") != 0) {
        return "drive C: (" + driveC + ") lies outside BRUMIX_THROWAWAY_PREFIX (" + prefix + ")";
    }
    return {};
}

}  // namespace

bool InThrowawayPrefix(std::string& why) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        why = "not running under Wine: refusing to touch this machine's URL cache, registry or files";
        return false;
    }
    const std::string mark = Environment("BRUMIX_THROWAWAY_PREFIX");
    if (mark.empty()) {
        why = "BRUMIX_THROWAWAY_PREFIX is not set: run through scripts/wine-run, which makes a throwaway prefix";
        return false;
    }
    // Wine hands the Unix environment through, so the prefix actually in use is visible too;
    // a stale mark left in a shell must not bless some other prefix.
    const std::string prefix = Environment("WINEPREFIX");
    if (prefix != mark) {
        why = "BRUMIX_THROWAWAY_PREFIX (" + mark + ") does not name the Wine prefix in use (" +
              (prefix.empty() ? std::string("the default ~/.wine") : prefix) + ")";
        return false;
    }
    // WINEPREFIX is only what the environment claims; the drive Wine actually mapped is not.
    why = WhyDriveCIsOutside(mark);
    return why.empty();
}
