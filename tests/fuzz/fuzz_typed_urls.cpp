// Fuzzes the typed-address sweep with arbitrary value names, some of which refuse deletion.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/ascii_case.h"
#include "res/resource.h"
#include "tests/support/left_open.h"
#include "tests/support/main_window_template.h"
#include "tests/support/store_paths.h"
#include "ui/brumix_dlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MainWindowPlatform p;
    p.registry.AddKey(kTypedUrlsPath);
    std::set<std::string> protectedNames;
    const int values = input.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < values; ++i) {
        // A name through the ANSI interface never holds a NUL, and is at most the registry's limit.
        std::string name = input.ConsumeRandomLengthString(kMaxValueNameChars);
        name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());
        if (input.ConsumeBool()) name.append(input.ConsumeIntegralInRange<std::size_t>(0, 2000), 'n');
        if (name.size() > kMaxValueNameChars) name.resize(kMaxValueNameChars);
        p.registry.SetText(kTypedUrlsPath, name, input.ConsumeRandomLengthString(5000));
        if (input.ConsumeIntegralInRange(0, 7) == 0) {
            p.registry.ProtectValue(kTypedUrlsPath, name);
            protectedNames.insert(name);
        }
    }
    const std::size_t stored = p.registry.ValueNames(kTypedUrlsPath).size();

    CBrumixDlg dlg(p.window, p.Services(), p.passes);
    FUZZ_CHECK(dlg.ScanTypedUrls(1) == static_cast<int>(stored));
    const std::vector<std::string> shown = p.window.List(IDC_URL_LIST);
    FUZZ_CHECK(std::is_sorted(shown.begin(), shown.end(), LessIgnoringAsciiCase));
    FUZZ_CHECK(dlg.ScanTypedUrls(input.ConsumeIntegralInRange(-2, 2) == 1 ? 0 : 2) == static_cast<int>(stored));
    const auto remaining = p.registry.ValueNames(kTypedUrlsPath);
    FUZZ_CHECK(p.window.MessageBoxes().size() == remaining.size());
    for (const std::string& name : remaining) FUZZ_CHECK(p.registry.ValueBytes(kTypedUrlsPath, name).size() > 0);
    FUZZ_CHECK(remaining.size() <= protectedNames.size());
    FUZZ_CHECK(dlg.ScanTypedUrls(1) == static_cast<int>(remaining.size()));
    FUZZ_CHECK(LeftOpen(p).empty());
    return 0;
}
