// An in-memory per-user registry: keys by path, values in creation order, handles counted.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/memory/faults.h"
#include "platform/registry.h"

class MemoryRegistry final : public Registry {
public:
    explicit MemoryRegistry(Faults& faults) : faults_(faults) {}

    void AddKey(const std::string& path);
    void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data);
    void SetText(const std::string& path, const std::string& name, const std::string& text);
    bool HasKey(const std::string& path) const;
    bool HasValue(const std::string& path, const std::string& name) const;
    // The raw bytes of a value; empty when there is none.
    std::vector<std::uint8_t> ValueBytes(const std::string& path, const std::string& name) const;
    std::uint32_t ValueType(const std::string& path, const std::string& name) const;
    std::vector<std::string> ValueNames(const std::string& path) const;
    // Opening this key fails with access denied, as a key with an empty access list does.
    void DenyAccess(const std::string& path) { denied_.insert(Fold(path)); }
    // The key opens for reading only, as one whose access list grants the user only reading
    // does: an open or create asking for full access fails with access denied.
    void AllowReadingOnly(const std::string& path) { readOnly_.insert(Fold(path)); }
    // Deleting this value fails, as a name outside the code page does.
    void ProtectValue(const std::string& path, const std::string& name);
    int OpenKeys() const { return static_cast<int>(handles_.size()); }
    // Every value name deleted, in order.
    const std::vector<std::string>& DeletedNames() const { return deleted_; }

    std::int32_t OpenKey(const std::string& subKey, Key& key) override;
    std::int32_t OpenKeyForReading(const std::string& subKey, Key& key) override;
    std::int32_t CreateKey(const std::string& subKey, Key& key) override;
    std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                            std::uint32_t& size) override;
    std::int32_t SetStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                std::uint32_t size) override;
    std::int32_t SetMultiStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                     std::uint32_t size) override;
    std::int32_t EnumValueName(Key key, std::uint32_t index, char* name, std::uint32_t& nameChars) override;
    std::int32_t DeleteValue(Key key, const std::string& name) override;
    std::int32_t CloseKey(Key key) override;

private:
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        bool protectedFromDelete = false;
    };
    using Values = std::vector<Value>;
    struct Handle {
        std::string path;
        bool writable;
    };
    static std::string Fold(const std::string& text);
    std::int32_t Open(const std::string& subKey, bool writable, Key& key);
    Values* Find(Key key);
    // The values of a key opened with full access: a write through a key opened for reading
    // fails with access denied, as Windows answers one without the right to set values.
    std::int32_t FindWritable(Key key, Values*& values);
    std::int32_t Set(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size);
    const Value* FindValue(const std::string& path, const std::string& name) const;

    Faults& faults_;
    std::map<std::string, Values> keys_;
    std::set<std::string> denied_;
    std::set<std::string> readOnly_;
    std::map<Key, Handle> handles_;
    std::vector<std::string> deleted_;
    Key nextHandle_ = 0x80000100;
};
