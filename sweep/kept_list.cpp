// The list of cookies to keep as it is stored, and the one way to change it.
#include "sweep/kept_list.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

KeptCookieList Unreadable(std::int32_t status, std::uint32_t type) {
    KeptCookieList list;
    list.state = KeptCookieList::State::Unreadable;
    list.status = status;
    list.type = type;
    return list;
}

}  // namespace

KeptCookieList ParseKeptCookieList(const RegistryValue& stored) {
    if (stored.status == static_cast<std::int32_t>(kErrorFileNotFound)) return KeptCookieList{};
    if (stored.status != 0) return Unreadable(stored.status, stored.type);
    if (stored.type != kRegMultiSz) return Unreadable(0, stored.type);
    std::optional<KeptSites> sites = KeptSites::ReadMultiSz(stored.data);
    if (!sites) return Unreadable(0, stored.type);
    KeptCookieList list;
    list.state = KeptCookieList::State::List;
    list.sites = std::move(*sites);
    return list;
}

KeptCookieList ReadKeptList(const KeptListRead& read) {
    return read ? ParseKeptCookieList(read()) : KeptCookieList{};
}

KeptListChange ChangeKeptList(const KeptListRead& read, const std::function<bool(KeptSites&)>& change,
                              const KeptListWrite& write) {
    KeptListChange result;
    result.before = ReadKeptList(read);
    if (result.before.Unreadable()) return result;
    result.after = result.before.sites;
    if (!change(result.after)) return result;
    const std::vector<std::uint8_t> bytes = result.after.Empty() ? std::vector<std::uint8_t>{} : result.after.MultiSz();
    result.writeStatus = write(bytes);
    return result;
}
