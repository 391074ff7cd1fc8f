// The cookie text files of the Windows directory's Cookies folder, outside the NT family.
#include "sweep/cookie_folder_sweep.h"

#include <set>
#include <string_view>
#include <utility>

#include "platform/ascii_case.h"

namespace {

constexpr char kCookiePattern[] = "*.txt";

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
                                    SweepObserver& observer, CookieFileKeeping* keeping) {
    CookieFolderResult result;
    if (place.isNt || place.windowsDir.empty()) return result;
    if (!files.SetCurrentDir(CookieFolder(place.windowsDir))) return result;

    ScopedFileSearch search(files);
    std::string fileName;
    if (!search.Start(kCookiePattern, fileName)) return result;

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
            if (keeping != nullptr && !std::exchange(askedToHold, true) && keeping->HoldsEveryFile()) {
                deleteFiles = false;
            }
            const SweepItem item{Store::CookieFile, fileName};
            if (keeping != nullptr && keeping->Keeps(fileName)) {
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
                        if (!search.Start(kCookiePattern, fileName)) {
                            result.count = 0;
                            return result;
                        }
                        continue;
                    }
                    if (reportedRefused.insert(fileName).second) observer.OnNotDeleted(item);
                }
            }
        }
        if (!search.Next(fileName)) {
            if (afterDeletion && !metCookieFile) result.count = 0;
            return result;
        }
    }
}
