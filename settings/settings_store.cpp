// Reading, restoring and saving the remembered choices, and the window's close.
#include "settings/settings_store.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#include "ui/brumix_dlg.h"
#include "ui/resource_ids.h"

namespace {

constexpr std::uint32_t kValueRoom = 255;

struct CheckSetting {
    const char* valueName;
    int controlId;
};

constexpr char kTimerValue[] = "timer";

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string ReadSetting(Registry& registry, const char* valueName) {
    Registry::Key key{};
    if (registry.OpenKey(kSettingsKey, key) != 0) return kKeyNotOpen;
    std::array<std::uint8_t, kValueRoom + 1> buffer{};
    std::uint32_t size = kValueRoom;
    const std::int32_t status = registry.QueryValue(key, valueName, buffer.data(), size);
    registry.CloseKey(key);
    if (status != 0) return kKeyNotOpen;
    const char* text = reinterpret_cast<const char*>(buffer.data());
    return std::string(text, strnlen(text, kValueRoom));
}

int ParseSettingNumber(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && IsCSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

void CBrumixDlg::RestoreCheck(const char* valueName, int controlId, void (CBrumixDlg::*handler)()) {
    const std::string text = ReadSetting(registry_, valueName);
    if (text == kKeyNotOpen) return;
    const int state = ParseSettingNumber(text);
    if (state != 0 && state != 1) return;
    window_.SetCheck(controlId, state);
    (this->*handler)();
}

void CBrumixDlg::RestoreInterval() {
    const std::string text = ReadSetting(registry_, kTimerValue);
    if (text == kKeyNotOpen) {
        window_.SliderSetPos(IDC_INTERVAL, -1);
        return;
    }
    const int seconds = ParseSettingNumber(text);
    if (seconds >= 0 && seconds <= 60) window_.SliderSetPos(IDC_INTERVAL, seconds);
}

void CBrumixDlg::RestoreSettings() {
    // The order matters: the interval before the sniffer that reads it, the automatic clear
    // after the boxes and the sniffer whose handlers change it.
    RestoreCheck("cached_urls", IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles);
    RestoreCheck("cookies", IDC_COOKIES, &CBrumixDlg::OnCookies);
    RestoreCheck("IE_history", IDC_HISTORY, &CBrumixDlg::OnHistory);
    RestoreInterval();
    RestoreCheck("snifTimer", IDC_SNIFFER, &CBrumixDlg::OnSniffer);
    RestoreCheck("auto_clear", IDC_AUTO_CLEAR, &CBrumixDlg::OnAutoClear);
    RestoreCheck("modal", IDC_ON_TOP, &CBrumixDlg::OnOnTop);
}

void CBrumixDlg::SaveSettings() {
    Registry::Key key{};
    if (registry_.CreateKey(kSettingsKey, key) != 0) return;
    const auto write = [&](const char* valueName, int number) {
        const std::string text = std::to_string(number);
        registry_.SetStringValue(key, valueName, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                 static_cast<std::uint32_t>(text.size() + 1));
    };
    constexpr CheckSetting kBeforeTimer[] = {
        {"cached_urls", IDC_TEMP_FILES}, {"cookies", IDC_COOKIES}, {"IE_history", IDC_HISTORY},
        {"snifTimer", IDC_SNIFFER},      {"auto_clear", IDC_AUTO_CLEAR},
    };
    for (const CheckSetting& setting : kBeforeTimer) write(setting.valueName, window_.GetCheck(setting.controlId));
    write(kTimerValue, window_.SliderGetPos(IDC_INTERVAL));
    write("modal", window_.GetCheck(IDC_ON_TOP));
    registry_.CloseKey(key);
}

void CBrumixDlg::OnCancel() {
    SaveSettings();
    if (window_.GetCheck(IDC_SNIFFER) == 1) {
        window_.SetCheck(IDC_SNIFFER, 0);
        OnSniffer();
    }
    window_.EndDialog(IDCANCEL);
}
