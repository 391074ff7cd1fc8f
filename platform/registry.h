// The per-user registry, as the program uses it: every key is under the current user's
// root and opened with full access, or for reading only where the program only reads. Results
// are Windows status codes (0 is success).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
// The registry's own limit on a value name, in characters, without the terminator.
inline constexpr std::uint32_t kMaxValueNameChars = 16383;

// A value read whole: status 0 with its type and bytes; kErrorFileNotFound when the key or the
// value is not there; otherwise the error of the call that failed, and the type if it gave one.
struct RegistryValue {
    std::int32_t status = static_cast<std::int32_t>(kErrorFileNotFound);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class Registry {
public:
    using Key = std::uintptr_t;

    virtual ~Registry() = default;

    virtual std::int32_t OpenKey(const std::string& subKey, Key& key) = 0;
    // Asks only to query values, so that a key the user may read but not write opens; a write
    // through the key fails with kErrorAccessDenied.
    virtual std::int32_t OpenKeyForReading(const std::string& subKey, Key& key) = 0;
    // Creates the key, and any missing key on its path, when it does not exist.
    virtual std::int32_t CreateKey(const std::string& subKey, Key& key) = 0;
    // Whatever type the value has, its bytes land in data and its type in type; size in is the
    // room, size out the bytes written. Fails with kErrorMoreData when the data are larger than
    // the room, with size out then the bytes needed and type still reported.
    virtual std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& size) = 0;
    virtual std::int32_t SetStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                        std::uint32_t size) = 0;
    // A REG_MULTI_SZ: data holds each string with its NUL and one more NUL at the end.
    virtual std::int32_t SetMultiStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                             std::uint32_t size) = 0;
    // The name of the value at index; nameChars in is the room with the terminator, out
    // the name's length. The data are not asked for.
    virtual std::int32_t EnumValueName(Key key, std::uint32_t index, char* name, std::uint32_t& nameChars) = 0;
    virtual std::int32_t DeleteValue(Key key, const std::string& name) = 0;
    virtual std::int32_t CloseKey(Key key) = 0;
};

// One open key, closed when the owner goes, whichever way the code leaves.
class ScopedKey {
public:
    explicit ScopedKey(Registry& registry) : registry_(registry) {}
    ~ScopedKey() { Close(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    // The registry's status; the key is owned only when it is 0.
    std::int32_t Open(const std::string& subKey) { return Take(registry_.OpenKey(subKey, key_)); }
    std::int32_t OpenForReading(const std::string& subKey) { return Take(registry_.OpenKeyForReading(subKey, key_)); }
    std::int32_t Create(const std::string& subKey) { return Take(registry_.CreateKey(subKey, key_)); }
    bool IsOpen() const { return open_; }
    Registry::Key Get() const { return key_; }
    void Close() {
        if (open_) registry_.CloseKey(key_);
        open_ = false;
    }

private:
    std::int32_t Take(std::int32_t status) {
        open_ = status == 0;
        return status;
    }

    Registry& registry_;
    Registry::Key key_{};
    bool open_ = false;
};
