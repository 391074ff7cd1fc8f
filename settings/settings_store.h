// The seven remembered choices under the program's own per-user registry key.
#pragma once

#include <string>

#include "platform/registry.h"

inline constexpr char kSettingsKey[] = "SOFTWARE\\Quellmar\\Win Brumix";
inline constexpr char kKeyNotOpen[] = "ERR_KEY_NOT_OPEN";

// The value's text up to its first NUL, or kKeyNotOpen when the key cannot be opened with
// full access or the value is missing or longer than 255 bytes.
std::string ReadSetting(Registry& registry, const char* valueName);

// Leading white space, an optional sign, then decimal digits; no digits gives 0. Out-of-range
// numbers saturate, so that they are never mistaken for a small valid one.
int ParseSettingNumber(const std::string& text);
