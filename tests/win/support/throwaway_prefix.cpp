// Recognises Wine by its ntdll export and the throwaway prefix by the mark wine-run sets.
#include "tests/win/support/throwaway_prefix.h"

#include <windows.h>

namespace {

// Empty when the variable is unset (or set to nothing, which marks nothing either).
std::string Environment(const char* name) {
    char value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
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
    return true;
}
