// Reading and writing the remembered choices.
#include "settings/settings_store.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t kValueRoom = 255;

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string ReadSetting(Registry& registry, const char* valueName) {
    ScopedKey key(registry);
    if (key.Open(kSettingsKey) != 0) return kKeyNotOpen;
    std::array<std::uint8_t, kValueRoom + 1> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = kValueRoom;
    if (registry.QueryValue(key.Get(), valueName, type, buffer.data(), size) != 0) return kKeyNotOpen;
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

SettingValues ReadSettings(Registry& registry) {
    SettingValues values;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const std::string text = ReadSetting(registry, kSettingNames[i]);
        if (text != kKeyNotOpen) values.values[i] = ParseSettingNumber(text);
    }
    return values;
}

bool WriteSettings(Registry& registry, const SettingValues& values) {
    ScopedKey key(registry);
    if (key.Create(kSettingsKey) != 0) return false;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (!values.values[i]) continue;
        const std::string text = std::to_string(*values.values[i]);
        registry.SetStringValue(key.Get(), kSettingNames[i], reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                static_cast<std::uint32_t>(text.size() + 1));
    }
    return true;
}

std::optional<std::string> ReadBrowsersSetting(Registry& registry) {
    std::string text = ReadSetting(registry, kBrowsersSetting);
    if (text == kKeyNotOpen) return std::nullopt;
    return text;
}

bool WriteBrowsersSetting(Registry& registry, const std::string& list) {
    ScopedKey key(registry);
    if (key.Create(kSettingsKey) != 0) return false;
    return registry.SetStringValue(key.Get(), kBrowsersSetting, reinterpret_cast<const std::uint8_t*>(list.c_str()),
                                   static_cast<std::uint32_t>(list.size() + 1)) == 0;
}

bool NothingStored(const SettingValues& values, const std::optional<std::string>& browsers) {
    if (browsers) return false;
    for (const std::optional<int>& value : values.values)
        if (value) return false;
    return true;
}
