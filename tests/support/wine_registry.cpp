// advapi32 calls that seed and inspect the registry for the Windows-side and end-to-end tests.
#include "tests/support/wine_registry.h"

#include <cstdio>

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

LONG OpenKey(const std::string& path, REGSAM access, ScopedKey& key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, key.Out());
}

LONG CreateKey(const std::string& path, ScopedKey& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key.Out(), nullptr);
}

}  // namespace

bool DeleteKeyTree(const std::string& path) {
    SetKeyAccessDenied(path, false);
    const LSTATUS tree = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    // Asked for even when the tree call failed: it may still take an emptied key away.
    const LSTATUS key = RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    if (tree == ERROR_FILE_NOT_FOUND) return true;
    if (tree != ERROR_SUCCESS) return false;
    return key == ERROR_SUCCESS || !KeyExists(path);
}

bool KeyExists(const std::string& path) {
    ScopedKey key;
    return OpenKey(path, KEY_READ, key) == ERROR_SUCCESS;
}

LONG SetRawValue(const std::string& path, const std::wstring& name, DWORD type, const std::vector<std::uint8_t>& data) {
    ScopedKey key;
    const LONG status = CreateKey(path, key);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
}

LONG SetTextValue(const std::string& path, const std::string& name, const std::string& text) {
    ScopedKey key;
    const LONG status = CreateKey(path, key);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

std::vector<std::wstring> ValueNames(const std::string& path) {
    std::vector<std::wstring> names;
    ScopedKey key;
    if (OpenKey(path, KEY_READ, key) != ERROR_SUCCESS) return names;
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD chars = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key.get(), index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), chars);
    }
    return names;
}

std::optional<RegValue> ReadValue(const std::string& path, const std::string& name) {
    ScopedKey key;
    if (OpenKey(path, KEY_READ, key) != ERROR_SUCCESS) return std::nullopt;
    RegValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

RegValue SzValue(const std::string& text) {
    RegValue value;
    value.type = REG_SZ;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return value;
}

std::string Describe(const std::optional<RegValue>& value) {
    if (!value) return "(missing)";
    std::string out = "type " + std::to_string(value->type) + ", bytes";
    char hex[4];
    for (std::uint8_t byte : value->data) {
        std::snprintf(hex, sizeof hex, " %02x", byte);
        out += hex;
    }
    return out;
}

namespace {

// acl null: a null access list, which lets everybody do everything.
bool SetKeyAccessList(const std::string& path, ACL* acl) {
    ScopedKey key;
    if (OpenKey(path, WRITE_DAC, key) != ERROR_SUCCESS) return false;
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) return false;
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

}  // namespace

bool SetKeyAccessDenied(const std::string& path, bool denied) {
    ACL empty;
    if (!InitializeAcl(&empty, sizeof(empty), ACL_REVISION)) return false;
    return SetKeyAccessList(path, denied ? &empty : nullptr);
}

bool SetKeyReadOnly(const std::string& path) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return false;
    std::vector<std::uint8_t> room(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone));
    auto* acl = reinterpret_cast<ACL*>(room.data());
    const bool made = InitializeAcl(acl, static_cast<DWORD>(room.size()), ACL_REVISION) &&
                      AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    FreeSid(everyone);
    return made && SetKeyAccessList(path, acl);
}
