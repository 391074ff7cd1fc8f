// Reading and writing the list of cookies to keep.
#include "settings/kept_cookies_store.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "platform/errors.h"
#include "settings/settings_store.h"

namespace {

// A list of a few dozen sites fits at once.
constexpr std::uint32_t kFirstRoom = 1024;
// The value may grow between two reads (the window writes it while a pass reads); a registry
// that keeps asking for more than it gives ends the read as failed rather than looping.
constexpr int kReadAttempts = 8;

KeptCookieList Unreadable(std::int32_t status, std::uint32_t type) {
    KeptCookieList list;
    list.state = KeptCookieList::State::Unreadable;
    list.status = status;
    list.type = type;
    return list;
}

}  // namespace

KeptCookieList ReadKeptCookieList(Registry& registry) {
    ScopedKey key(registry);
    if (const std::int32_t opened = key.Open(kSettingsKey)) {
        return opened == static_cast<std::int32_t>(kErrorFileNotFound) ? KeptCookieList{} : Unreadable(opened, 0);
    }
    std::vector<std::uint8_t> data(kFirstRoom);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t type = 0;
        auto size = static_cast<std::uint32_t>(data.size());
        const std::int32_t status = registry.QueryValue(key.Get(), kKeepCookiesValue, type, data.data(), size);
        if (status == static_cast<std::int32_t>(kErrorFileNotFound)) return KeptCookieList{};
        if (status == static_cast<std::int32_t>(kErrorMoreData)) {
            // A size that does not grow would be asked for again; the room doubles instead.
            const std::size_t room = std::max<std::size_t>(size, data.size() * 2);
            data.assign(room, 0);
            continue;
        }
        if (status != 0) return Unreadable(status, type);
        if (type != kRegMultiSz) return Unreadable(0, type);
        std::optional<KeptSites> sites =
            KeptSites::ReadMultiSz(std::span(data.data(), std::min<std::size_t>(size, data.size())));
        if (!sites) return Unreadable(0, type);
        KeptCookieList list;
        list.state = KeptCookieList::State::List;
        list.sites = std::move(*sites);
        return list;
    }
    return Unreadable(static_cast<std::int32_t>(kErrorMoreData), 0);
}

std::int32_t WriteKeptCookieList(Registry& registry, const KeptSites& sites) {
    ScopedKey key(registry);
    if (sites.Empty()) {
        const std::int32_t opened = key.Open(kSettingsKey);
        if (opened == static_cast<std::int32_t>(kErrorFileNotFound)) return 0;
        if (opened != 0) return opened;
        const std::int32_t deleted = registry.DeleteValue(key.Get(), kKeepCookiesValue);
        return deleted == static_cast<std::int32_t>(kErrorFileNotFound) ? 0 : deleted;
    }
    if (const std::int32_t created = key.Create(kSettingsKey)) return created;
    const std::vector<std::uint8_t> data = sites.MultiSz();
    return registry.SetMultiStringValue(key.Get(), kKeepCookiesValue, data.data(),
                                        static_cast<std::uint32_t>(data.size()));
}
