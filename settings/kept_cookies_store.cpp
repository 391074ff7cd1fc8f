// Reading and writing the bytes of the list of cookies to keep.
#include "settings/kept_cookies_store.h"

#include <algorithm>
#include <vector>

#include "platform/errors.h"
#include "settings/settings_store.h"

namespace {

// A list of a few dozen sites fits at once.
constexpr std::uint32_t kFirstRoom = 1024;
// The value may grow between two reads (the window writes it while a pass reads); a registry
// that keeps asking for more than it gives ends the read as failed rather than looping.
constexpr int kReadAttempts = 8;

RegistryValue Failed(std::int32_t status, std::uint32_t type) {
    RegistryValue value;
    value.status = status;
    value.type = type;
    return value;
}

}  // namespace

RegistryValue ReadKeptCookiesValue(Registry& registry) {
    ScopedKey key(registry);
    if (const std::int32_t opened = key.OpenForReading(kSettingsKey)) return Failed(opened, 0);
    RegistryValue value;
    value.data.assign(kFirstRoom, 0);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        auto size = static_cast<std::uint32_t>(value.data.size());
        value.type = 0;
        value.status = registry.QueryValue(key.Get(), kKeepCookiesValue, value.type, value.data.data(), size);
        if (value.status == static_cast<std::int32_t>(kErrorMoreData)) {
            // A size that does not grow would be asked for again; the room doubles instead.
            value.data.assign(std::max<std::size_t>(size, value.data.size() * 2), 0);
            continue;
        }
        value.data.resize(value.status == 0 ? std::min<std::size_t>(size, value.data.size()) : 0);
        return value;
    }
    return Failed(static_cast<std::int32_t>(kErrorMoreData), 0);
}

std::int32_t WriteKeptCookiesValue(Registry& registry, std::span<const std::uint8_t> multiSz) {
    ScopedKey key(registry);
    if (multiSz.empty()) {
        const std::int32_t opened = key.Open(kSettingsKey);
        if (opened == static_cast<std::int32_t>(kErrorFileNotFound)) return 0;
        if (opened != 0) return opened;
        const std::int32_t deleted = registry.DeleteValue(key.Get(), kKeepCookiesValue);
        return deleted == static_cast<std::int32_t>(kErrorFileNotFound) ? 0 : deleted;
    }
    if (const std::int32_t created = key.Create(kSettingsKey)) return created;
    return registry.SetMultiStringValue(key.Get(), kKeepCookiesValue, multiSz.data(),
                                        static_cast<std::uint32_t>(multiSz.size()));
}
