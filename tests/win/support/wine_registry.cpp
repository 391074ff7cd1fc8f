// advapi32 calls that seed and inspect the registry for the Windows-side tests.
#include "tests/win/support/wine_registry.h"

namespace {

class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

void DeleteKeyTree(const std::string& path) {
    SetKeyAccessDenied(path, false);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

LONG SetRawValue(const std::string& path, const std::wstring& name, DWORD type, const std::vector<std::uint8_t>& data) {
    ScopedKey key;
    LONG status =
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
}

LONG SetTextValue(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    ScopedKey key;
    LONG status =
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
}

std::vector<std::wstring> ValueNames(const std::string& path) {
    std::vector<std::wstring> names;
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return names;
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD chars = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key.get(), index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), chars);
    }
    return names;
}

bool ReadRawValue(const std::string& path, const std::string& name, DWORD& type, std::vector<std::uint8_t>& data) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    data.assign(size, 0);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return false;
    data.resize(size);
    return true;
}

bool SetKeyAccessDenied(const std::string& path, bool denied) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.Out()) != ERROR_SUCCESS) return false;
    ACL empty;
    if (!InitializeAcl(&empty, sizeof(empty), ACL_REVISION)) return false;
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!SetSecurityDescriptorDacl(&descriptor, TRUE, denied ? &empty : nullptr, FALSE)) return false;
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}
