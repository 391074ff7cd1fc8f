// Seeding and inspecting Wine's real registry under HKEY_CURRENT_USER, independently of the
// layer under test and of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/store_paths.h"

struct RegValue {
    DWORD type = 0;
    std::vector<std::uint8_t> data;
};

// Removes the key and everything under it, first lifting any access list a test put on it;
// true when the key is gone, a missing key included.
bool DeleteKeyTree(const std::string& path);
bool KeyExists(const std::string& path);
// Creates the key (and its path) when needed and writes one value of any type.
LONG SetRawValue(const std::string& path, const std::wstring& name, DWORD type, const std::vector<std::uint8_t>& data);
// A REG_SZ written the way the program writes one: through the ANSI call, with one NUL.
LONG SetTextValue(const std::string& path, const std::string& name, const std::string& text);
// The names of the key's values in the registry's own order, in UTF-16 so that names
// outside the code page survive; empty when the key is missing.
std::vector<std::wstring> ValueNames(const std::string& path);
// Type and bytes of one value as the registry holds it; nothing when it cannot be read.
std::optional<RegValue> ReadValue(const std::string& path, const std::string& name);
// The exact bytes RegSetValueExA stores for a REG_SZ text: the text and one NUL.
RegValue SzValue(const std::string& text);
std::string Describe(const std::optional<RegValue>& value);
// Gives the key an empty access list, or puts back a null one, so that nobody or everybody
// may open it; the owner can always change its access list.
bool SetKeyAccessDenied(const std::string& path, bool denied);
// Gives the key an access list that lets everybody read it and nobody write it; SetKeyAccessDenied
// with false, or DeleteKeyTree, lifts it.
bool SetKeyReadOnly(const std::string& path);
