// The cookie text files of the Windows directory's Cookies folder, outside the NT family.
#include <set>
#include <string>

#include "ui/brumix_dlg.h"
#include "ui/globals.h"

namespace {

constexpr char kCookiePattern[] = "*.txt";

class SearchGuard {
public:
    explicit SearchGuard(FileSearch& files) : files_(files) {}
    ~SearchGuard() { Close(); }
    SearchGuard(const SearchGuard&) = delete;
    SearchGuard& operator=(const SearchGuard&) = delete;

    bool Start(std::string& fileName) {
        Close();
        handle_ = files_.FindFirst(kCookiePattern, fileName);
        return handle_ != FileSearch::kNoSearch;
    }
    bool Next(std::string& fileName) { return files_.FindNext(handle_, fileName); }
    void Close() {
        if (handle_ != FileSearch::kNoSearch) files_.CloseSearch(handle_);
        handle_ = FileSearch::kNoSearch;
    }

private:
    FileSearch& files_;
    FileSearch::SearchHandle handle_ = FileSearch::kNoSearch;
};

std::string CookieFolder(const std::string& windowsDir) {
    std::string folder = windowsDir;
    if (folder.back() != '\\') folder += '\\';
    return folder + "Cookies\\";
}

}  // namespace

int CBrumixDlg::SweepCookieFolder(int bDelete, int bCountOnly) {
    if (g_bIsNT == 1) return 0;
    if (g_strWindowsDir.empty()) return 0;
    if (!files_.SetCurrentDir(CookieFolder(g_strWindowsDir))) return 0;

    SearchGuard search(files_);
    std::string fileName;
    if (!search.Start(fileName)) return 0;

    const bool deleting = bCountOnly != 1 && bDelete == 1;
    // Names the platform reported deleted: one that a fresh search still finds is pending
    // deletion (held open elsewhere), and deleting it again would restart the walk for ever.
    std::set<std::string> reportedDeleted;
    int count = 0;
    for (;;) {
        ++count;
        if (deleting && reportedDeleted.count(fileName) == 0 && files_.DeleteByName(fileName)) {
            reportedDeleted.insert(fileName);
            if (!search.Start(fileName)) return 0;
            continue;
        }
        if (!search.Next(fileName)) return count;
    }
}
