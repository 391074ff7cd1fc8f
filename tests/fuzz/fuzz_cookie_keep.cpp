// Fuzzes the cookies to keep on untrusted strings: what a user types, a list of strings or of
// bytes, an entry's site, and the rule against a plain reading of it, one kept site at a time.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "sweep/cookie_keep.h"

namespace {

// The rule for one kept site, written out as a user would read it.
bool KeptSiteMatches(std::string_view kept, std::string_view site) {
    const auto keptAddress = ParseIpAddress(kept);
    const auto siteAddress = ParseIpAddress(site);
    if (keptAddress || siteAddress) return keptAddress && siteAddress && *keptAddress == *siteAddress;
    std::string_view domain = kept;
    if (domain.starts_with(".")) domain.remove_prefix(1);
    if (domain.starts_with("www.") && domain.find('.', 4) != std::string_view::npos) domain.remove_prefix(4);
    if (site.starts_with(".")) site.remove_prefix(1);
    if (site == domain) return true;
    const auto under = [](std::string_view name, std::string_view parent) {
        return name.size() > parent.size() && name.ends_with(parent) && name[name.size() - parent.size() - 1] == '.';
    };
    // A parent of the kept domain, of two labels or more.
    return under(site, domain) || (under(domain, site) && site.find('.') != std::string_view::npos);
}

void CheckRule(const KeptSites& list, std::string_view site) {
    const bool matches = std::any_of(list.Sites().begin(), list.Sites().end(),
                                     [&](const std::string& kept) { return KeptSiteMatches(kept, site); });
    FUZZ_CHECK(list.Keeps(site) == matches);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> strings;
    for (int count = input.ConsumeIntegralInRange(0, 8); count > 0; --count) {
        std::string text = input.ConsumeRandomLengthString(300);
        // Half of them typed, so that the list is often readable; a site typed again is itself.
        if (input.ConsumeBool()) {
            const auto site = SiteFromUserInput(text);
            if (!site) continue;
            FUZZ_CHECK(IsSiteText(*site) && SiteFromUserInput(*site) == site);
            text = *site;
        }
        strings.push_back(std::move(text));
    }
    const auto list = KeptSites::Read(strings);
    FUZZ_CHECK(list.has_value() ==
               std::all_of(strings.begin(), strings.end(), [](const std::string& s) { return IsSiteText(s); }));

    const std::string url = input.ConsumeRandomLengthString(300);
    const auto site = CookieSite(url);
    if (site) FUZZ_CHECK(!site->empty() && site->find('/') == std::string::npos);
    if (list) {
        if (site) CheckRule(*list, *site);
        // Each kept site, its cookie, every parent of it and a name under it with a label the
        // fuzzer chose: the names the rule is most likely to get wrong.
        const std::string label = input.ConsumeRandomLengthString(20);
        for (const std::string& kept : list->Sites()) {
            const std::string host = kept.front() == '.' ? kept.substr(1) : kept;
            FUZZ_CHECK(list->KeepsCookie("Cookie:ann@" + host + "/"));
            CheckRule(*list, label + "." + host);
            CheckRule(*list, label + kept);
            for (std::size_t dot = kept.find('.'); dot != std::string::npos; dot = kept.find('.', dot + 1))
                CheckRule(*list, kept.substr(dot + 1));
        }
    }

    const auto bytes = input.ConsumeRemainingBytes<std::uint8_t>();
    if (const auto value = KeptSites::ReadMultiSz(bytes)) FUZZ_CHECK(KeptSites::ReadMultiSz(value->MultiSz()) == value);
    return 0;
}
