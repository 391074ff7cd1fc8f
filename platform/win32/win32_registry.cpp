// advapi32's registry calls behind the Registry interface; results are the calls' own codes.
#include "platform/win32/win32_registry.h"

#include <windows.h>

static_assert(kRegSz == REG_SZ && kRegDword == REG_DWORD && kRegMultiSz == REG_MULTI_SZ);
static_assert(KEY_ALL_ACCESS == 0xF003F);

namespace {

HKEY Handle(Registry::Key key) {
    return reinterpret_cast<HKEY>(key);
}

std::int32_t Open(const std::string& subKey, REGSAM access, Registry::Key& key) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) key = reinterpret_cast<Registry::Key>(opened);
    return status;
}

}  // namespace

std::int32_t Win32Registry::OpenKey(const std::string& subKey, Key& key) {
    return Open(subKey, KEY_ALL_ACCESS, key);
}

std::int32_t Win32Registry::OpenKeyForReading(const std::string& subKey, Key& key) {
    return Open(subKey, KEY_QUERY_VALUE, key);
}

std::int32_t Win32Registry::CreateKey(const std::string& subKey, Key& key) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) key = reinterpret_cast<Key>(created);
    return status;
}

std::int32_t Win32Registry::QueryValue(Key key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                       std::uint32_t& size) {
    DWORD valueType = 0;
    DWORD bytes = size;
    const LONG status = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &valueType, data, &bytes);
    type = valueType;
    size = bytes;
    return status;
}

std::int32_t Win32Registry::SetStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                           std::uint32_t size) {
    return RegSetValueExA(Handle(key), name.c_str(), 0, REG_SZ, data, size);
}

std::int32_t Win32Registry::SetMultiStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                                std::uint32_t size) {
    return RegSetValueExA(Handle(key), name.c_str(), 0, REG_MULTI_SZ, data, size);
}

std::int32_t Win32Registry::EnumValueName(Key key, std::uint32_t index, char* name, std::uint32_t& nameChars) {
    // Neither type nor data is asked for: the data's size then cannot fail the call, so a
    // typed address of any length is listed like a short one.
    DWORD chars = nameChars;
    const LONG status = RegEnumValueA(Handle(key), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    nameChars = chars;
    return status;
}

std::int32_t Win32Registry::DeleteValue(Key key, const std::string& name) {
    return RegDeleteValueA(Handle(key), name.c_str());
}

std::int32_t Win32Registry::CloseKey(Key key) {
    return RegCloseKey(Handle(key));
}
