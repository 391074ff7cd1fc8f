// The table of sources: each row the kinds it covers and its run, in the order a pass runs them.
#include "sweep/cache_sweep.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/source.h"
#include "sweep/typed_url_sweep.h"

namespace {

constexpr std::array<Source, kSourceCount> kSources = {{
    {SourceId::TypedUrls,
     {Kind::TypedUrls},
     RunTypedUrls,
     "the TypedURLs key cannot be opened",
     "the typed addresses could not be listed to their end"},
    {SourceId::UrlCache,
     {Kind::CachedFiles, Kind::Cookies, Kind::VisitedPages},
     RunUrlCache,
     nullptr,
     "the URL cache could not be walked to its end"},
    {SourceId::CookieFolder, {Kind::Cookies}, RunCookieFolder, nullptr, nullptr},
}};

constexpr bool EachRowInItsPlace() {
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        if (static_cast<std::size_t>(kSources[i].id) != i) return false;
    }
    return true;
}
static_assert(EachRowInItsPlace(), "a source's row stands at its id");

}  // namespace

const std::array<Source, kSourceCount>& SourceTable() {
    return kSources;
}
