// The cookies to keep: a cookie entry's site, the list of kept sites, and the rule between them.
#include "sweep/cookie_keep.h"

#include <algorithm>

#include "platform/ascii_case.h"

namespace {

constexpr std::string_view kCookiePrefix = "cookie:";
constexpr std::string_view kWww = "www.";

// The domain a kept name stands for. "www." widens only to a name of two labels or more, so that
// "www.example" does not keep every name under "example".
std::string_view KeptDomain(std::string_view site) {
    if (!site.empty() && site.front() == '.') site.remove_prefix(1);
    if (site.substr(0, kWww.size()) == kWww && site.find('.', kWww.size()) != std::string_view::npos)
        site.remove_prefix(kWww.size());
    return site;
}

}  // namespace

std::optional<std::string> CookieSite(std::string_view url) {
    if (!EqualsIgnoringAsciiCase(url.substr(0, kCookiePrefix.size()), kCookiePrefix)) return std::nullopt;
    std::string_view site = url.substr(kCookiePrefix.size());
    site.remove_prefix(std::min(site.find_first_not_of(' '), site.size()));
    site = site.substr(0, site.find('/'));
    if (const std::size_t at = site.rfind('@'); at != std::string_view::npos) site.remove_prefix(at + 1);
    if (!site.empty() && site.front() == '[') {
        const std::size_t close = site.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        site = site.substr(0, close + 1);
    } else if (std::count(site.begin(), site.end(), ':') == 1) {
        // Two colons or more make a bare IPv6 address, which has no port.
        site = site.substr(0, site.find(':'));
    }
    if (!site.empty() && site.back() == '.') site.remove_suffix(1);
    if (site.empty()) return std::nullopt;
    return AsciiLowered(std::string(site));
}

std::optional<KeptSites> KeptSites::Read(const std::vector<std::string>& strings) {
    KeptSites list;
    for (const std::string& site : strings) {
        if (!IsSiteText(site)) return std::nullopt;
        list.sites_.push_back(site);
    }
    std::sort(list.sites_.begin(), list.sites_.end());
    list.sites_.erase(std::unique(list.sites_.begin(), list.sites_.end()), list.sites_.end());
    for (const std::string& site : list.sites_) list.Index(site);
    return list;
}

std::optional<KeptSites> KeptSites::ReadMultiSz(std::span<const std::uint8_t> data) {
    while (!data.empty() && data.back() == 0) data = data.first(data.size() - 1);
    std::vector<std::string> strings;
    if (!data.empty()) {
        std::string current;
        for (const std::uint8_t byte : data) {
            if (byte == 0) {
                strings.push_back(std::move(current));
                current.clear();
            } else {
                current += static_cast<char>(byte);
            }
        }
        strings.push_back(std::move(current));
    }
    return Read(strings);
}

std::vector<std::uint8_t> KeptSites::MultiSz() const {
    std::vector<std::uint8_t> data;
    for (const std::string& site : sites_) {
        data.insert(data.end(), site.begin(), site.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

bool KeptSites::Add(std::string_view site) {
    if (!IsSiteText(site)) return false;
    const auto at = std::lower_bound(sites_.begin(), sites_.end(), site);
    if (at != sites_.end() && *at == site) return false;
    Index(*sites_.emplace(at, site));
    return true;
}

bool KeptSites::Remove(std::string_view site) {
    const auto address = ParseIpAddress(site);
    const auto same = [&](const std::string& kept) {
        return kept == site || (address && ParseIpAddress(kept) == address);
    };
    const auto gone = std::remove_if(sites_.begin(), sites_.end(), same);
    if (gone == sites_.end()) return false;
    sites_.erase(gone, sites_.end());
    domains_.clear();
    parents_.clear();
    addresses_.clear();
    for (const std::string& kept : sites_) Index(kept);
    return true;
}

bool KeptSites::Keeps(std::string_view site) const {
    if (const auto address = ParseIpAddress(site)) return addresses_.count(*address) != 0;
    // A browser writes a domain cookie's host with a leading dot; the name is the same.
    if (!site.empty() && site.front() == '.') site.remove_prefix(1);
    if (domains_.count(site) != 0 || parents_.count(site) != 0) return true;
    for (std::size_t dot = site.find('.'); dot != std::string_view::npos; dot = site.find('.', dot + 1))
        if (domains_.count(site.substr(dot + 1)) != 0) return true;
    return false;
}

bool KeptSites::KeepsCookie(std::string_view url) const {
    const auto site = CookieSite(url);
    return site && Keeps(*site);
}

// A site's sign-in cookie is often set on a parent domain (Domain=bank.example for
// login.bank.example), and a site is sent its parents' cookies: keeping the site keeps them, down
// to a name of two labels. That keeps a little more than the site is sent (a parent's host-only
// cookies too), which is the safe side for a list of what not to delete.
void KeptSites::Index(const std::string& site) {
    if (const auto address = ParseIpAddress(site)) {
        addresses_.insert(*address);
        return;
    }
    const std::string_view domain = KeptDomain(site);
    domains_.emplace(domain);
    for (std::size_t dot = domain.find('.'); dot != std::string_view::npos; dot = domain.find('.', dot + 1)) {
        const std::string_view parent = domain.substr(dot + 1);
        if (parent.find('.') == std::string_view::npos) break;
        parents_.emplace(parent);
    }
}
