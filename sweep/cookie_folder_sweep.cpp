// The cookie text files of the Windows directory's Cookies folder, outside the NT family.
#include "sweep/cookie_folder_sweep.h"

#include <set>
#include <string_view>
#include <utility>

#include "platform/ascii_case.h"
#include "sweep/kept_cookie_filter.h"
#include "sweep/source.h"

namespace {

constexpr char kCookieFilePattern[] = "*.txt";

std::string CookieFolder(const std::string& windowsDir) {
    std::string folder = windowsDir;
    if (folder.back() != '\\') folder += '\\';
    return folder + "Cookies\\";
}

// The search also matches short 8.3 aliases, so "notes.txtold" (alias NOTES~1.TXT) comes
// back for "*.txt"; only a name whose own extension is .txt is a cookie file.
bool HasTxtExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && EqualsIgnoringAsciiCase(std::string_view(name).substr(dot), ".txt");
}

}  // namespace

CookieFolderPlace QueryCookieFolderPlace(SystemFacts& system) {
    CookieFolderPlace place;
    std::uint32_t platformId = kPlatformWin32Nt;
    if (!system.QueryPlatformId(platformId)) platformId = kPlatformWin32Nt;
    place.isNt = platformId == kPlatformWin32Nt;
    if (!system.QueryWindowsDirectory(place.windowsDir)) place.windowsDir.clear();
    return place;
}

CookieFolderResult SweepCookieFiles(FileSearch& files, const CookieFolderPlace& place, bool deleteFiles,
                                    SweepObserver& observer, KeptCookieFilter* keep) {
    CookieFolderResult result;
    if (place.isNt || place.windowsDir.empty()) return result;
    if (!files.SetCurrentDir(CookieFolder(place.windowsDir))) return result;

    ScopedFileSearch search(files);
    std::string fileName;
    if (!search.Start(kCookieFilePattern, fileName)) return result;

    // Names the platform reported deleted: one that a fresh search still finds is pending
    // deletion (held open elsewhere), and deleting it again would restart the walk for ever.
    std::set<std::string> reportedDeleted;
    // Each file that refused deletion is reported once, however often a fresh search meets it;
    // so is each file that holds a kept cookie.
    std::set<std::string> reportedRefused;
    std::set<std::string> reportedKept;
    bool askedToHold = false;
    // A search that follows a deletion and meets no cookie file means the folder is empty of
    // them: the sweep then reports 0, as it does when that search finds nothing at all.
    bool afterDeletion = false;
    bool metCookieFile = false;
    for (;;) {
        if (HasTxtExtension(fileName)) {
            if (observer.StopRequested()) {
                result.stopped = true;
                return result;
            }
            if (keep != nullptr && !std::exchange(askedToHold, true) && keep->HoldsEveryFile()) {
                deleteFiles = false;
            }
            const SweepItem item{Store::CookieFile, fileName};
            if (keep != nullptr && keep->KeepsFile(fileName)) {
                if (reportedKept.insert(fileName).second) {
                    ++result.kept;
                    observer.OnKept(item);
                }
            } else {
                metCookieFile = true;
                ++result.count;
                observer.OnVisit(item);
                if (deleteFiles && reportedDeleted.count(fileName) == 0) {
                    if (files.DeleteByName(fileName)) {
                        ++result.deleted;
                        reportedDeleted.insert(fileName);
                        afterDeletion = true;
                        metCookieFile = false;
                        if (!search.Start(kCookieFilePattern, fileName)) {
                            result.count = 0;
                            return result;
                        }
                        continue;
                    }
                    if (reportedRefused.insert(fileName).second) observer.OnStayed(item);
                }
            }
        }
        if (!search.Next(fileName)) {
            if (afterDeletion && !metCookieFile) result.count = 0;
            return result;
        }
    }
}

void RunCookieFolder(SourceContext& context) {
    const CookieFolderResult files = SweepCookieFiles(context.services.files, context.request.cookieFolder,
                                                      context.Deletes(Kind::Cookies), context.observer, &context.keep);
    Tally& cookies = context.result.counts[Kind::Cookies];
    cookies.found += files.count;
    cookies.deleted += files.deleted;
    cookies.kept += files.kept;
    // A search that fails midway ends with the files so far, as the folder's walk always has.
    context.result.complete = true;
    context.result.stopped = files.stopped;
}
