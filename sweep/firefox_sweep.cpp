// Firefox's pass: its profiles found, parent.lock tried and every database the request needs
// opened in every profile first (so that one Firefox holds stops every deletion before the
// first), then each profile's kinds in clear order.
#include "sweep/firefox_sweep.h"

#include <memory>
#include <vector>

#include "sweep/browser_cache.h"
#include "sweep/browser_cookies.h"
#include "sweep/browser_pass.h"
#include "sweep/browser_source.h"
#include "sweep/firefox_places.h"

namespace {

// Under a profile's local folder: the HTTP cache (its entries, the doomed ones and its index),
// and the startup cache of compiled scripts.
constexpr std::string_view kCacheFolders[] = {"cache2", "startupCache"};

constexpr CookieTable kCookieTable{"moz_cookies", "host", "name", "path"};

// A profile's databases, opened before anything is deleted.
struct ProfileDatabases {
    explicit ProfileDatabases(Databases& databases) : cookies(databases), places(databases), favicons(databases) {}

    ScopedDatabase cookies;
    ScopedDatabase places;
    ScopedDatabase favicons;
};

void OpenDatabases(BrowserPass& pass, const FirefoxProfile& profile, ProfileDatabases& dbs) {
    if (pass.Counts(Kind::Cookies)) OpenProfileDatabase(pass, profile.path, "cookies.sqlite", dbs.cookies);
    if (pass.Counts(Kind::TypedUrls) || pass.Counts(Kind::VisitedPages))
        OpenProfileDatabase(pass, profile.path, "places.sqlite", dbs.places);
    if (pass.request.remove.Meets({Kind::TypedUrls, Kind::VisitedPages}))
        OpenProfileDatabase(pass, profile.path, "favicons.sqlite", dbs.favicons);
}

void SweepProfile(BrowserPass& pass, const FirefoxProfile& profile, ProfileDatabases& dbs) {
    if (pass.Counts(Kind::CachedFiles) && !profile.cachePath.empty()) {
        for (const std::string_view folder : kCacheFolders) {
            SweepCacheFolder(pass, profile.cachePath + "\\" + std::string(folder), folder);
            if (pass.result.stopped) return;
        }
    }
    if (pass.Counts(Kind::Cookies) && dbs.cookies.Get() != nullptr && !pass.Stop())
        SweepCookieTable(pass, dbs.cookies.Get(), "cookies.sqlite", kCookieTable);

    sqlite3* places = dbs.places.Get();
    if (places == nullptr) return;
    const bool deleting = pass.Deletes(Kind::TypedUrls) || pass.Deletes(Kind::VisitedPages);
    const PlacesLayout layout = CheckPlacesLayout(pass, places, deleting);
    bool changed = false;
    for (const Kind kind : {Kind::TypedUrls, Kind::VisitedPages}) {
        if (pass.Counts(kind) && !pass.Stop()) changed = SweepPlaces(pass, places, kind, layout) || changed;
    }
    if (changed && dbs.favicons.Get() != nullptr && !pass.result.stopped)
        PruneFavicons(pass, places, dbs.favicons.Get());
}

std::string ProfilePrefix(const FirefoxProfile& profile) {
    return std::string(kFirefoxId) + ":" + profile.name + ":";
}

}  // namespace

BrowserResult SweepFirefox(const BrowserServices& services, const BrowserRequest& request, SweepObserver& observer) {
    BrowserResult result;
    const auto install = FindFirefoxInstall(services);
    if (!install) return result;
    result.installed = true;
    result.profiles = static_cast<int>(install->profiles.size());
    for (const std::string& problem : install->problems)
        result.layoutProblems.push_back(std::string(kFirefoxId) + ":" + problem);
    if (!request.count.Any() && !request.remove.Any()) return result;

    // Firefox holds parent.lock without sharing while it runs, and leaves the file when it ends.
    for (const FirefoxProfile& profile : install->profiles)
        if (HeldByAnotherProcess(services.files, profile.path + "\\parent.lock")) result.inUse = true;
    BrowserPass pass(services, request, observer, result);
    std::vector<std::unique_ptr<ProfileDatabases>> databases;
    for (const FirefoxProfile& profile : install->profiles) {
        pass.SetProfile(ProfilePrefix(profile));
        databases.push_back(std::make_unique<ProfileDatabases>(services.databases));
        OpenDatabases(pass, profile, *databases.back());
    }
    for (std::size_t i = 0; i < install->profiles.size() && !pass.Stop(); ++i) {
        pass.SetProfile(ProfilePrefix(install->profiles[i]));
        SweepProfile(pass, install->profiles[i], *databases[i]);
    }
    return result;
}

void RunFirefox(SourceContext& context) {
    RunBrowserSource(context, [&](const BrowserRequest& request) {
        return SweepFirefox(context.services.Browsers(), request, context.observer);
    });
}

bool FirefoxInstalled(const PlatformServices& services, const Source&) {
    return FindFirefoxInstall(services.Browsers()).has_value();
}
