// One Chromium browser's pass: its profiles found, every database they need opened first (so
// that one the browser holds stops every deletion before the first), then each profile's kinds
// in clear order.
#include "sweep/chromium_sweep.h"

#include <memory>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "sweep/chromium_pass.h"
#include "sweep/chromium_stores.h"

namespace {

// The caches' folders under a profile, each walked whole: the HTTP cache (its entries in
// Cache_Data since 2021, in Cache itself before), the compiled scripts, the GPU's shaders.
constexpr std::string_view kCacheFolders[] = {"Cache", "Code Cache", "GPUCache"};
// Deeper than any cache's own layout; a folder below it is left, and the pass not complete.
constexpr int kMaxCacheDepth = 16;

// A profile's databases, opened before anything is deleted.
struct ProfileDatabases {
    explicit ProfileDatabases(Databases& databases)
        : cookies(databases), history(databases), shortcuts(databases), topSites(databases) {}

    std::string cookiesName;
    ScopedDatabase cookies;
    ScopedDatabase history;
    ScopedDatabase shortcuts;
    ScopedDatabase topSites;
};

// Opens one database of the profile; one another process holds makes the browser in use.
DatabaseOpen OpenDatabase(ChromiumPass& pass, const ChromiumProfile& profile, std::string_view name,
                          ScopedDatabase& db) {
    const DatabaseOpen status = db.Open(profile.path + "\\" + std::string(name));
    switch (status) {
        case DatabaseOpen::Opened:
        case DatabaseOpen::Missing:
            break;
        case DatabaseOpen::Held:
            pass.result.inUse = true;
            break;
        case DatabaseOpen::NotADatabase:
            pass.LayoutProblem(name, "not a database");
            break;
        case DatabaseOpen::Failed:
            pass.LayoutProblem(name, "cannot be opened");
            pass.result.complete = false;
            break;
    }
    return status;
}

void OpenDatabases(ChromiumPass& pass, const ChromiumProfile& profile, ProfileDatabases& dbs) {
    if (pass.Counts(Kind::Cookies)) {
        // The cookies moved into Network in 2021; an older profile keeps them beside History.
        dbs.cookiesName = "Network\\Cookies";
        if (OpenDatabase(pass, profile, dbs.cookiesName, dbs.cookies) == DatabaseOpen::Missing) {
            dbs.cookiesName = "Cookies";
            OpenDatabase(pass, profile, dbs.cookiesName, dbs.cookies);
        }
    }
    if (pass.Counts(Kind::TypedUrls) || pass.Counts(Kind::VisitedPages))
        OpenDatabase(pass, profile, "History", dbs.history);
    if (pass.Counts(Kind::TypedUrls)) OpenDatabase(pass, profile, "Shortcuts", dbs.shortcuts);
    if (pass.request.remove.Has(Kind::VisitedPages)) OpenDatabase(pass, profile, "Top Sites", dbs.topSites);
}

// Every file under the folder and the folders in it, but not through a link: a junction in a
// cache could lead anywhere on the disk.
void SweepCacheFolder(ChromiumPass& pass, const std::string& root, std::string_view relative) {
    struct Folder {
        std::string path;
        std::string relative;
        int depth;
    };
    ProfileFiles& files = pass.services.files;
    const bool deleting = pass.Deletes(Kind::CachedFiles);
    std::vector<Folder> folders{{root, std::string(relative), 0}};
    while (!folders.empty()) {
        const Folder folder = std::move(folders.back());
        folders.pop_back();
        ScopedListing listing(files);
        FolderEntry entry;
        std::uint32_t status = listing.Start(folder.path, entry);
        for (; status == kErrorSuccess; status = listing.Next(entry)) {
            if (entry.folder) {
                if (entry.link) continue;
                if (folder.depth >= kMaxCacheDepth) {
                    pass.result.complete = false;
                    continue;
                }
                folders.push_back(
                    {folder.path + "\\" + entry.name, folder.relative + "\\" + entry.name, folder.depth + 1});
                continue;
            }
            if (pass.Stop()) return;
            pass.Found(Store::Cache, Kind::CachedFiles, pass.Name({folder.relative, "\\", entry.name}));
            if (!deleting) continue;
            const std::uint32_t removed = files.RemoveFile(folder.path + "\\" + entry.name);
            if (removed == kErrorSuccess) {
                ++pass.result[Kind::CachedFiles].deleted;
            } else if (removed != kErrorFileNotFound) {
                pass.Stayed(Store::Cache, pass.Name({folder.relative, "\\", entry.name}));
            }
        }
        if (status != kErrorNoMoreFiles && status != kErrorPathNotFound && status != kErrorFileNotFound)
            pass.result.complete = false;
    }
}

void SweepCaches(ChromiumPass& pass, const ChromiumProfile& profile) {
    for (const std::string_view folder : kCacheFolders) {
        SweepCacheFolder(pass, profile.path + "\\" + std::string(folder), folder);
        if (!EqualsIgnoringAsciiCase(profile.cachePath, profile.path))
            SweepCacheFolder(pass, profile.cachePath + "\\" + std::string(folder), folder);
        if (pass.result.stopped) return;
    }
}

void SweepProfile(ChromiumPass& pass, const ChromiumProfile& profile, ProfileDatabases& dbs) {
    if (pass.Counts(Kind::CachedFiles)) SweepCaches(pass, profile);
    if (pass.Counts(Kind::Cookies) && dbs.cookies.Get() != nullptr && !pass.Stop())
        SweepCookieRows(pass, dbs.cookies.Get(), dbs.cookiesName);

    const bool typed = pass.Counts(Kind::TypedUrls);
    const bool visited = pass.Counts(Kind::VisitedPages);
    HistoryLayout layout = HistoryLayout::Unknown;
    if (dbs.history.Get() != nullptr) {
        const bool deleting = pass.Deletes(Kind::TypedUrls) || pass.Deletes(Kind::VisitedPages);
        layout = CheckHistoryLayout(pass, dbs.history.Get(), "History", deleting);
    }
    if (typed && !pass.Stop()) {
        if (dbs.history.Get() != nullptr) SweepHistoryUrls(pass, dbs.history.Get(), "History", Kind::TypedUrls, layout);
        if (dbs.shortcuts.Get() != nullptr && !pass.Stop()) SweepShortcuts(pass, dbs.shortcuts.Get(), "Shortcuts");
    }
    if (visited && !pass.Stop()) {
        if (dbs.history.Get() != nullptr)
            SweepHistoryUrls(pass, dbs.history.Get(), "History", Kind::VisitedPages, layout);
        if (pass.Deletes(Kind::VisitedPages) && !pass.result.stopped) {
            if (dbs.topSites.Get() != nullptr) ClearTopSites(pass, dbs.topSites.Get(), "Top Sites");
            // The visited-links store: a table of hashes of every link visited, which the browser
            // builds again from History when it finds none.
            const std::uint32_t removed = pass.services.files.RemoveFile(profile.path + "\\Visited Links");
            if (removed != kErrorSuccess && removed != kErrorFileNotFound && removed != kErrorPathNotFound)
                pass.Stayed(Store::Visited, pass.Name({"Visited Links"}));
        }
    }
}

}  // namespace

BrowserResult SweepChromiumBrowser(const BrowserServices& services, const ChromiumBrowser& browser,
                                   const BrowserRequest& request, SweepObserver& observer) {
    BrowserResult result;
    const auto install = FindChromiumInstall(services, browser);
    if (!install) return result;
    result.installed = true;
    result.profiles = static_cast<int>(install->profiles.size());
    if (!request.count.Any() && !request.remove.Any()) return result;

    // The browser holds its lockfile, without sharing writes, for as long as it runs.
    if (services.files.TryOpenForWriting(install->userData + "\\lockfile") == kErrorSharingViolation)
        result.inUse = true;
    ChromiumPass pass(services, request, observer, result);
    std::vector<std::unique_ptr<ProfileDatabases>> databases;
    for (const ChromiumProfile& profile : install->profiles) {
        pass.SetProfile(std::string(browser.id) + ":" + profile.name + ":");
        databases.push_back(std::make_unique<ProfileDatabases>(services.databases));
        OpenDatabases(pass, profile, *databases.back());
    }
    for (std::size_t i = 0; i < install->profiles.size() && !pass.Stop(); ++i) {
        pass.SetProfile(std::string(browser.id) + ":" + install->profiles[i].name + ":");
        SweepProfile(pass, install->profiles[i], *databases[i]);
    }
    return result;
}
