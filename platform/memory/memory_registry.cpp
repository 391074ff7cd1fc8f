// The in-memory registry; names compare without regard to case, as the real one's do.
#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/errors.h"

namespace {
constexpr std::int32_t kErrorInvalidHandle = 6;
}

std::string MemoryRegistry::Fold(const std::string& text) {
    return AsciiLowered(text);
}

void MemoryRegistry::AddKey(const std::string& path) {
    keys_[Fold(path)];
}

void MemoryRegistry::SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) {
    Values& values = keys_[Fold(path)];
    for (Value& value : values) {
        if (EqualsIgnoringAsciiCase(value.name, name)) {
            value.type = type;
            value.data = data;
            return;
        }
    }
    values.push_back({name, type, data});
}

void MemoryRegistry::SetText(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(path, name, kRegSz, data);
}

bool MemoryRegistry::HasKey(const std::string& path) const {
    return keys_.count(Fold(path)) != 0;
}

const MemoryRegistry::Value* MemoryRegistry::FindValue(const std::string& path, const std::string& name) const {
    auto key = keys_.find(Fold(path));
    if (key == keys_.end()) return nullptr;
    for (const Value& value : key->second) {
        if (EqualsIgnoringAsciiCase(value.name, name)) return &value;
    }
    return nullptr;
}

bool MemoryRegistry::HasValue(const std::string& path, const std::string& name) const {
    return FindValue(path, name) != nullptr;
}

std::vector<std::uint8_t> MemoryRegistry::ValueBytes(const std::string& path, const std::string& name) const {
    const Value* value = FindValue(path, name);
    return value != nullptr ? value->data : std::vector<std::uint8_t>{};
}

std::uint32_t MemoryRegistry::ValueType(const std::string& path, const std::string& name) const {
    const Value* value = FindValue(path, name);
    return value != nullptr ? value->type : 0;
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& path) const {
    std::vector<std::string> names;
    auto key = keys_.find(Fold(path));
    if (key != keys_.end()) {
        for (const Value& value : key->second) names.push_back(value.name);
    }
    return names;
}

void MemoryRegistry::ProtectValue(const std::string& path, const std::string& name) {
    for (Value& value : keys_[Fold(path)]) {
        if (EqualsIgnoringAsciiCase(value.name, name)) value.protectedFromDelete = true;
    }
}

MemoryRegistry::Values* MemoryRegistry::Find(Key key) {
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return nullptr;
    auto values = keys_.find(handle->second.path);
    return values == keys_.end() ? nullptr : &values->second;
}

std::int32_t MemoryRegistry::FindWritable(Key key, Values*& values) {
    values = Find(key);
    if (values == nullptr) return kErrorInvalidHandle;
    return handles_.at(key).writable ? 0 : static_cast<std::int32_t>(kErrorAccessDenied);
}

std::int32_t MemoryRegistry::Open(const std::string& subKey, bool writable, Key& key) {
    if (auto error = faults_.Hit("RegOpenKeyEx")) return static_cast<std::int32_t>(*error);
    const std::string path = Fold(subKey);
    if (keys_.count(path) == 0) return kErrorFileNotFound;
    if (denied_.count(path) != 0 || (writable && readOnly_.count(path) != 0)) return kErrorAccessDenied;
    key = nextHandle_++;
    handles_[key] = {path, writable};
    return 0;
}

std::int32_t MemoryRegistry::OpenKey(const std::string& subKey, Key& key) {
    return Open(subKey, true, key);
}

std::int32_t MemoryRegistry::OpenKeyForReading(const std::string& subKey, Key& key) {
    return Open(subKey, false, key);
}

std::int32_t MemoryRegistry::CreateKey(const std::string& subKey, Key& key) {
    if (auto error = faults_.Hit("RegCreateKeyEx")) return static_cast<std::int32_t>(*error);
    const std::string path = Fold(subKey);
    if (denied_.count(path) != 0 || readOnly_.count(path) != 0) return kErrorAccessDenied;
    keys_[path];
    key = nextHandle_++;
    handles_[key] = {path, true};
    return 0;
}

std::int32_t MemoryRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                        std::uint32_t& size) {
    if (auto error = faults_.Hit("RegQueryValueEx")) return static_cast<std::int32_t>(*error);
    Values* values = Find(key);
    if (values == nullptr) return kErrorInvalidHandle;
    for (const Value& value : *values) {
        if (!EqualsIgnoringAsciiCase(value.name, name)) continue;
        type = value.type;
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        if (needed > size) {
            size = needed;
            return kErrorMoreData;
        }
        if (needed != 0) std::memcpy(data, value.data.data(), needed);
        size = needed;
        return 0;
    }
    return kErrorFileNotFound;
}

std::int32_t MemoryRegistry::SetStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                            std::uint32_t size) {
    return Set(key, name, kRegSz, data, size);
}

std::int32_t MemoryRegistry::SetMultiStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                                 std::uint32_t size) {
    return Set(key, name, kRegMultiSz, data, size);
}

std::int32_t MemoryRegistry::Set(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) {
    if (auto error = faults_.Hit("RegSetValueEx")) return static_cast<std::int32_t>(*error);
    Values* values = nullptr;
    if (const std::int32_t status = FindWritable(key, values)) return status;
    SetValue(handles_.at(key).path, name, type, std::vector<std::uint8_t>(data, data + size));
    return 0;
}

std::int32_t MemoryRegistry::EnumValueName(Key key, std::uint32_t index, char* name, std::uint32_t& nameChars) {
    if (auto error = faults_.Hit("RegEnumValue")) return static_cast<std::int32_t>(*error);
    Values* values = Find(key);
    if (values == nullptr) return kErrorInvalidHandle;
    if (index >= values->size()) return kErrorNoMoreItems;
    const std::string& valueName = (*values)[index].name;
    if (valueName.size() + 1 > nameChars) return kErrorMoreData;
    std::memcpy(name, valueName.c_str(), valueName.size() + 1);
    nameChars = static_cast<std::uint32_t>(valueName.size());
    return 0;
}

std::int32_t MemoryRegistry::DeleteValue(Key key, const std::string& name) {
    if (auto error = faults_.Hit("RegDeleteValue")) return static_cast<std::int32_t>(*error);
    Values* values = nullptr;
    if (const std::int32_t status = FindWritable(key, values)) return status;
    auto value = std::find_if(values->begin(), values->end(),
                              [&](const Value& v) { return EqualsIgnoringAsciiCase(v.name, name); });
    if (value == values->end() || value->protectedFromDelete) return kErrorFileNotFound;
    values->erase(value);
    deleted_.push_back(name);
    return 0;
}

std::int32_t MemoryRegistry::CloseKey(Key key) {
    faults_.Hit("RegCloseKey");
    return handles_.erase(key) != 0 ? 0 : kErrorInvalidHandle;
}
