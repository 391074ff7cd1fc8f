// The table of sources: each row the kinds it covers and its run, in the order a pass runs them.
#include "sweep/cache_sweep.h"
#include "sweep/chromium_sweep.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/firefox_sweep.h"
#include "sweep/source.h"
#include "sweep/typed_url_sweep.h"

namespace {

// A store of the system browser's, which a report names when it was refused or cut short.
constexpr Source SystemStore(SourceId id, KindSet kinds, void (*run)(SourceContext&), const char* refusedText,
                             const char* cutShortText) {
    return {id, kinds, run, refusedText, cutShortText, {}, {}, nullptr};
}

// Another browser covers every kind: its cache, its cookies, what was typed into its address bar
// and the pages it visited.
constexpr Source Browser(SourceId id, void (*run)(SourceContext&), std::string_view browser,
                         std::string_view browserName, bool (*installed)(const PlatformServices&, const Source&)) {
    return {id, KindSet::All(), run, nullptr, nullptr, browser, browserName, installed};
}

constexpr std::array<Source, kSourceCount> kSources = {
    SystemStore(SourceId::TypedUrls, {Kind::TypedUrls}, RunTypedUrls, "the TypedURLs key cannot be opened",
                "the typed addresses could not be listed to their end"),
    SystemStore(SourceId::UrlCache, {Kind::CachedFiles, Kind::Cookies, Kind::VisitedPages}, RunUrlCache, nullptr,
                "the URL cache could not be walked to its end"),
    SystemStore(SourceId::CookieFolder, {Kind::Cookies}, RunCookieFolder, nullptr, nullptr),
    Browser(SourceId::Edge, RunChromiumBrowser, "edge", "Microsoft Edge", ChromiumBrowserInstalled),
    Browser(SourceId::Chrome, RunChromiumBrowser, "chrome", "Google Chrome", ChromiumBrowserInstalled),
    Browser(SourceId::Brave, RunChromiumBrowser, "brave", "Brave", ChromiumBrowserInstalled),
    Browser(SourceId::Vivaldi, RunChromiumBrowser, "vivaldi", "Vivaldi", ChromiumBrowserInstalled),
    Browser(SourceId::Opera, RunChromiumBrowser, "opera", "Opera", ChromiumBrowserInstalled),
    Browser(SourceId::Firefox, RunFirefox, "firefox", "Mozilla Firefox", FirefoxInstalled),
};

constexpr bool EachRowInItsPlace() {
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        if (static_cast<std::size_t>(kSources[i].id) != i) return false;
    }
    return true;
}
static_assert(EachRowInItsPlace(), "a source's row stands at its id");

// The system browser's stores come first: the window and brumix name the other browsers apart.
constexpr std::size_t kFirstBrowser = static_cast<std::size_t>(SourceId::Edge);
constexpr bool BrowsersAfterTheSystemStores() {
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        if (kSources[i].IsBrowser() != (i >= kFirstBrowser)) return false;
    }
    return true;
}
static_assert(BrowsersAfterTheSystemStores(), "every browser's row follows the system browser's stores");

}  // namespace

const std::array<Source, kSourceCount>& SourceTable() {
    return kSources;
}

std::span<const Source> BrowserSources() {
    return std::span<const Source>(kSources).subspan(kFirstBrowser);
}

const Source* FindBrowserSource(std::string_view id) {
    for (const Source& row : BrowserSources()) {
        if (row.browser == id) return &row;
    }
    return nullptr;
}
