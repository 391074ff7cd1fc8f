// The one check that stands between a Windows-side test, the end-to-end driver, the soak
// helper or the benchmark and a real user's stores: it must be running under Wine, in the
// prefix that scripts/wine-run made.
#pragma once

#include <string>

// True only under Wine, with BRUMIX_THROWAWAY_PREFIX set, naming the prefix in use and
// holding drive C:; otherwise false, with the reason in why.
bool InThrowawayPrefix(std::string& why);
