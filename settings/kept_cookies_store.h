// The list of cookies to keep as the settings hold it: the bytes of the value keep_cookies under
// the program's key, read whole and written back. What the bytes say is the engine's to read.
#pragma once

#include <cstdint>
#include <span>

#include "platform/registry.h"

inline constexpr char kKeepCookiesValue[] = "keep_cookies";

// The value whatever its size, from the key opened for reading only, so that a key the user may
// read but not write is read. kErrorFileNotFound: no key or no value.
RegistryValue ReadKeptCookiesValue(Registry& registry);

// Writes the bytes as a REG_MULTI_SZ, creating the key when needed. No bytes deletes the value
// instead, which then reads as not there; the key is not made for it. Returns 0, or the
// registry's status of the call that failed (the value is then as before).
std::int32_t WriteKeptCookiesValue(Registry& registry, std::span<const std::uint8_t> multiSz);
