// The seven remembered choices and the option beside them under the program's own per-user
// registry key: each read as a number or "not stored", all written together.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/registry.h"

inline constexpr char kSettingsKey[] = "SOFTWARE\\Quellmar\\Win Brumix";
inline constexpr char kKeyNotOpen[] = "ERR_KEY_NOT_OPEN";

// In the order in which they are written: the seven choices, then the option. Visited: the
// pages visited go with the history ("0" or "1").
enum class Setting : std::size_t { CachedUrls, Cookies, IeHistory, SnifTimer, AutoClear, Timer, Modal, Visited };
inline constexpr std::size_t kSettingCount = 8;
inline constexpr std::array<const char*, kSettingCount> kSettingNames = {
    "cached_urls", "cookies", "IE_history", "snifTimer", "auto_clear", "timer", "modal", "visited",
};

struct SettingValues {
    std::array<std::optional<int>, kSettingCount> values;

    std::optional<int>& operator[](Setting setting) { return values[static_cast<std::size_t>(setting)]; }
    const std::optional<int>& operator[](Setting setting) const { return values[static_cast<std::size_t>(setting)]; }
    // A check box takes a stored state only when it is 0 or 1; anything else leaves it alone.
    std::optional<int> CheckState(Setting setting) const {
        const std::optional<int>& value = (*this)[setting];
        if (value && (*value == 0 || *value == 1)) return value;
        return std::nullopt;
    }
};

// The value's text up to its first NUL, or kKeyNotOpen when the key cannot be opened with
// full access or the value is missing or longer than 255 bytes.
std::string ReadSetting(Registry& registry, const char* valueName);

// Leading white space, an optional sign, then decimal digits; no digits gives 0. Out-of-range
// numbers saturate, so that they are never mistaken for a small valid one.
int ParseSettingNumber(const std::string& text);

// Every value through ReadSetting; one that reads as kKeyNotOpen is not stored.
SettingValues ReadSettings(Registry& registry);

// Creates the key when needed and writes, in the table's order, every value that holds a
// number, as decimal text with its NUL. A value that cannot be written keeps its old
// content while the others are written; false when the key could not be had.
bool WriteSettings(Registry& registry, const SettingValues& values);

// The other browsers chosen, beside the choices: their ids separated by commas (REG_SZ), kept
// as text so that ids a later release added survive a write-back by this one.
inline constexpr char kBrowsersSetting[] = "browsers";

// The stored list, or nothing when the value is not stored (or cannot be read as ReadSetting says).
std::optional<std::string> ReadBrowsersSetting(Registry& registry);
// Creates the key when needed; false when the key or the value could not be written.
bool WriteBrowsersSetting(Registry& registry, const std::string& list);
// A first start: nothing of the program's is stored, neither a choice nor the browsers.
bool NothingStored(const SettingValues& values, const std::optional<std::string>& browsers);
