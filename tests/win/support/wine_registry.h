// Seeding and inspecting Wine's real registry under HKEY_CURRENT_USER, independently of the
// layer under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Removes the key and everything under it; a missing key is no error.
void DeleteKeyTree(const std::string& path);
// Creates the key (and its path) when needed and writes one value of any type.
LONG SetRawValue(const std::string& path, const std::wstring& name, DWORD type, const std::vector<std::uint8_t>& data);
LONG SetTextValue(const std::string& path, const std::string& name, const std::string& text);
// The names of the key's values in the registry's own order, in UTF-16 so that names
// outside the code page survive; empty when the key is missing.
std::vector<std::wstring> ValueNames(const std::string& path);
// Type and bytes of one value as the registry holds it; false when it cannot be read.
bool ReadRawValue(const std::string& path, const std::string& name, DWORD& type, std::vector<std::uint8_t>& data);
// Gives the key an empty access list, or puts back a null one, so that nobody or everybody
// may open it; the owner can always change its access list.
bool SetKeyAccessDenied(const std::string& path, bool denied);
