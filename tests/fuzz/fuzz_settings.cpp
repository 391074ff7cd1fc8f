// Fuzzes reading and restoring the remembered choices with arbitrary value bytes and types.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include "tests/support/left_open.h"
#include "tests/support/main_window_template.h"
#include "tests/support/store_paths.h"
#include "ui/brumix_dlg.h"

namespace {

constexpr const char* kNames[] = {"cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "timer", "modal"};
constexpr int kCheckIds[] = {IDC_TEMP_FILES, IDC_COOKIES, IDC_HISTORY, IDC_SNIFFER, IDC_AUTO_CLEAR, IDC_ON_TOP};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MainWindowPlatform p;
    if (input.ConsumeBool()) p.registry.AddKey(kSettingsPath);
    for (const char* name : kNames) {
        if (!input.ConsumeBool()) continue;
        const auto type = input.ConsumeIntegralInRange<std::uint32_t>(0, 11);
        const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 300);
        p.registry.SetValue(kSettingsPath, name, type, input.ConsumeBytes<std::uint8_t>(length));
    }
    if (input.ConsumeBool()) p.registry.DenyAccess(kSettingsPath);

    for (const char* name : kNames) {
        const std::string text = ReadSetting(p.registry, name);
        FUZZ_CHECK(text.size() <= 255);
        FUZZ_CHECK(text.find('\0') == std::string::npos);
    }

    CBrumixDlg dlg(p.window, p.Services(), p.passes);
    dlg.OnInitDialog();
    const int seconds = p.window.SliderGetPos(IDC_INTERVAL);
    FUZZ_CHECK(seconds >= 1 && seconds <= 60);
    for (int id : kCheckIds) FUZZ_CHECK(p.window.GetCheck(id) == 0 || p.window.GetCheck(id) == 1);
    FUZZ_CHECK(p.window.control(IDC_SNIFFER).text == "Sniff: every " + std::to_string(seconds) + " second(s)");
    if (p.window.GetCheck(IDC_SNIFFER) == 1) {
        FUZZ_CHECK(p.window.Timers().size() == 2);
        FUZZ_CHECK(p.window.Timers().at(ID_SNIFF_TIMER) == static_cast<std::uint32_t>(seconds) * 1000);
    } else {
        FUZZ_CHECK(p.window.Timers().empty());
    }
    FUZZ_CHECK(LeftOpen(p).empty());

    dlg.OnCancel();
    FUZZ_CHECK(p.window.Timers().empty());
    FUZZ_CHECK(LeftOpen(p).empty());
    return 0;
}
