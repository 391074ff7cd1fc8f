// Fuzzes the URL cache pass with arbitrary records, sizes, locked entries and failing calls,
// under either reading of a walk without a pattern.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "fuzz_check.h"
#include "platform/errors.h"
#include "res/resource.h"
#include "tests/support/left_open.h"
#include "tests/support/main_window_template.h"
#include "ui/brumix_dlg.h"
#include "ui/globals.h"

namespace {

// kErrorSuccess: a call that fails without naming an error.
constexpr std::uint32_t kErrors[] = {
    kErrorSuccess,         kErrorInsufficientBuffer, kErrorNoMoreItems, 6, kErrorInternetInternalError,
    kErrorNotEnoughMemory, kErrorSharingViolation};
constexpr const char* kOps[] = {"FindFirstUrlCacheEntry", "FindNextUrlCacheEntry", "DeleteUrlCacheEntry", "HeapAlloc"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MainWindowPlatform p;
    g_bIsNT = 1;
    if (input.ConsumeBool()) p.cache.ReadPatternsAs(CachePatternReading::Documented);
    const int entries = input.ConsumeIntegralInRange(0, 60);
    int locked = 0;
    int cookies = 0;
    int visited = 0;
    for (int i = 0; i < entries; ++i) {
        // The service hands out URLs as C strings, so none holds a NUL.
        std::string url = std::to_string(i) + ":" + input.ConsumeRandomLengthString(300);
        url.erase(std::remove(url.begin(), url.end(), '\0'), url.end());
        const auto type = input.ConsumeIntegral<std::uint32_t>();
        const auto padding = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 20000) : 0u;
        const bool isLocked = input.ConsumeIntegralInRange(0, 9) == 0;
        p.cache.Add(url, type, padding, isLocked);
        locked += isLocked ? 1 : 0;
        cookies += (type & kCookieCacheEntry) != 0 ? 1 : 0;
        // Each URL begins with a digit, so only the history bit makes a page visited.
        visited += (type & (kCookieCacheEntry | kUrlHistoryCacheEntry)) == kUrlHistoryCacheEntry ? 1 : 0;
    }
    const int faults = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < faults; ++i) {
        const char* op = kOps[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kOps) - 1)];
        const std::uint32_t error = kErrors[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kErrors) - 1)];
        p.faults.FailCall(op, error, input.ConsumeIntegralInRange(1, 70), input.ConsumeIntegralInRange(0, 3));
    }
    if (input.ConsumeIntegralInRange(0, 15) == 0)
        p.cache.ReportNeededSize(input.ConsumeIntegral<std::uint32_t>() % 70000);
    const int deleteCookies = input.ConsumeIntegralInRange(0, 2);
    const int countOnly = input.ConsumeIntegralInRange(0, 2);

    CBrumixDlg dlg(p.window, p.Services(), p.passes);
    const int result = dlg.ScanCache(deleteCookies, countOnly);
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(LeftOpen(p).empty());
    if (countOnly == 1) FUZZ_CHECK(p.cache.Size() == static_cast<std::size_t>(entries));
    if (faults == 0 && countOnly != 1 && p.cache.Size() != 0) {
        // Without faults, what stays is what may stay: locked entries, cookies kept, and the
        // pages visited, which no Temporary Internet Files clear takes.
        const std::size_t allowed = static_cast<std::size_t>(locked + visited) + (deleteCookies == 1 ? 0 : cookies);
        FUZZ_CHECK(p.cache.Size() <= allowed || result == 0);
    }
    if (faults == 0 && result == 1) {
        FUZZ_CHECK(p.window.control(IDC_CACHED_COUNT).text ==
                   "Cached Files: " + std::to_string(entries - cookies - visited));
        FUZZ_CHECK(p.window.control(IDC_COOKIE_COUNT).text == "Cookies: " + std::to_string(cookies));
    }
    return 0;
}
