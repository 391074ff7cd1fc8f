// Fuzzes the cookies to keep: an entry's site, reading a list, what a user types, and the rule
// against a plain reading of it, one kept site at a time.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "sweep/cookie_keep.h"

namespace {

bool HasAsciiCapital(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The rule for one kept site, written out as a user would read it.
bool KeptSiteMatches(std::string_view kept, std::string_view site) {
    const auto keptAddress = ParseIpAddress(kept);
    const auto siteAddress = ParseIpAddress(site);
    if (keptAddress || siteAddress) return keptAddress && siteAddress && *keptAddress == *siteAddress;
    std::string_view domain = kept;
    if (domain.starts_with(".")) domain.remove_prefix(1);
    if (domain.starts_with("www.") && domain.find('.', 4) != std::string_view::npos) domain.remove_prefix(4);
    if (site == domain) return true;
    return site.size() > domain.size() && site.ends_with(domain) && site[site.size() - domain.size() - 1] == '.';
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
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        std::string text = input.ConsumeRandomLengthString(300);
        // Half of them typed, so that the list is often readable.
        if (input.ConsumeBool()) {
            const auto site = SiteFromUserInput(text);
            if (!site) continue;
            FUZZ_CHECK(IsSiteText(*site));
            FUZZ_CHECK(SiteFromUserInput(*site) == site);
            const auto alone = KeptSites::Read({*site});
            FUZZ_CHECK(alone && alone->Sites() == std::vector<std::string>{*site});
            const std::string host = site->front() == '.' ? site->substr(1) : *site;
            FUZZ_CHECK(alone->KeepsCookie("Cookie:ann@" + host + "/"));
            text = *site;
        }
        strings.push_back(std::move(text));
    }

    const auto list = KeptSites::Read(strings);
    const bool allSites =
        std::all_of(strings.begin(), strings.end(), [](const std::string& s) { return IsSiteText(s); });
    FUZZ_CHECK(list.has_value() == allSites);
    if (list) {
        FUZZ_CHECK(std::is_sorted(list->Sites().begin(), list->Sites().end()));
        FUZZ_CHECK(std::adjacent_find(list->Sites().begin(), list->Sites().end()) == list->Sites().end());
        FUZZ_CHECK(KeptSites::ReadMultiSz(list->MultiSz()) == list);
        // Each kept site and every parent of it: the names the rule is most likely to get wrong.
        for (const std::string& kept : list->Sites()) {
            FUZZ_CHECK(!HasAsciiCapital(kept));
            CheckRule(*list, kept);
            for (std::size_t dot = kept.find('.'); dot != std::string::npos; dot = kept.find('.', dot + 1))
                CheckRule(*list, kept.substr(dot + 1));
        }
    }

    const std::string url = input.ConsumeRandomLengthString(300);
    const auto site = CookieSite(url);
    if (site) {
        FUZZ_CHECK(!site->empty() && site->find('/') == std::string::npos && !HasAsciiCapital(*site));
        if (list) {
            CheckRule(*list, *site);
            // A name under each kept site, and the same with a prefix the fuzzer chose.
            const std::string label = input.ConsumeRandomLengthString(20);
            for (const std::string& kept : list->Sites()) {
                CheckRule(*list, label + "." + (kept.front() == '.' ? kept.substr(1) : kept));
                CheckRule(*list, label + kept);
            }
        }
    }

    const auto bytes = input.ConsumeRemainingBytes<std::uint8_t>();
    if (const auto value = KeptSites::ReadMultiSz(bytes)) FUZZ_CHECK(KeptSites::ReadMultiSz(value->MultiSz()) == value);
    return 0;
}
