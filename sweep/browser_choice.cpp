// Which other browsers the two front ends count and clear.
#include "sweep/browser_choice.h"

#include "platform/ascii_case.h"

namespace {

std::string_view Trimmed(std::string_view word) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = word.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return word.substr(first, word.find_last_not_of(kBlanks) - first + 1);
}

SourceSet AllBrowsers() {
    SourceSet all;
    for (const Source& row : BrowserSources()) all |= SourceSet::Only(row.id);
    return all;
}

}  // namespace

BrowserList ReadBrowserList(std::string_view text) {
    BrowserList list;
    const std::string_view whole = Trimmed(text);
    if (EqualsIgnoringAsciiCase(whole, "all")) {
        list.chosen = AllBrowsers();
        return list;
    }
    if (whole.empty() || EqualsIgnoringAsciiCase(whole, "none")) return list;
    for (std::string_view rest = whole;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view word = Trimmed(rest.substr(0, comma));
        const Source* row = FindBrowserSource(AsciiLowered(std::string(word)));
        if (word.empty()) {
            // "edge," means edge.
        } else if (row != nullptr) {
            list.chosen |= SourceSet::Only(row->id);
        } else {
            list.unknown.emplace_back(word);
        }
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return list;
}

std::string BrowserListText(SourceSet chosen) {
    std::string text;
    for (const Source& row : BrowserSources()) {
        if (!chosen.Has(row.id)) continue;
        if (!text.empty()) text += ',';
        text += row.browser;
    }
    return text;
}

SourceSet InstalledBrowsers(const PlatformServices& services) {
    SourceSet installed;
    for (const Source& row : BrowserSources()) {
        if (row.installed(services, row)) installed |= SourceSet::Only(row.id);
    }
    return installed;
}

SourceSet BrowsersWithoutAList(const PlatformServices& services, bool firstStart) {
    return firstStart ? InstalledBrowsers(services) : SourceSet{};
}
