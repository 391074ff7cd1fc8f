// How brumix.exe names each kind, one row each: its flag, its words in the text reports, its
// JSON keys and its help. The parser, the usage text, the reports and the messages all read this
// table.
#pragma once

#include <array>
#include <cstddef>

#include "sweep/kinds.h"

struct KindWords {
    Kind kind;
    const char* flag;
    // What count counts, as the usage text lists it.
    const char* noun;
    const char* countWords;
    const char* clearWords;
    const char* jsonKey;
    // A clear reports the kind even when it was not selected, as it always has; a kind added
    // later is reported only when selected, so that every other clear reads as before.
    bool inEveryClear;
    // Kinds whose items the list of cookies to keep can keep: their words and count's key.
    const char* keptWords;
    const char* keptJsonKey;
    const char* help;
};

inline constexpr std::array<KindWords, kKindCount> kKindWords = {{
    {Kind::CachedFiles, "--temp", "the cached files", "Cached Files: ", "Cached Files deleted: ", "cached_files", true,
     nullptr, nullptr, "the temporary Internet files: the cache entries that are neither cookies nor pages visited"},
    {Kind::Cookies, "--cookies", "the cookies", "Cookies: ", "Cookies deleted: ", "cookies", true,
     "Cookies kept: ", "cookies_kept", "the cookies as well; only together with --temp"},
    {Kind::TypedUrls, "--history", "the typed addresses", "URLs In History: ", "URLs In History deleted: ",
     "typed_urls", true, nullptr, nullptr, "the addresses typed into the address bar"},
    {Kind::VisitedPages, "--visited", "the pages visited", "Pages Visited: ", "Pages Visited deleted: ",
     "visited_pages", false, nullptr, nullptr, "the pages visited, from the browser's history"},
}};

constexpr bool EachKindInItsRow() {
    for (std::size_t i = 0; i < kKindWords.size(); ++i) {
        if (static_cast<std::size_t>(kKindWords[i].kind) != i) return false;
    }
    return true;
}
static_assert(EachKindInItsRow(), "every kind has its row, in the kinds' order");
