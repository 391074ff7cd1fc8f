// What each sweep leaves on screen: the scratch list, counters, the found/clean pair, the
// title, the boxes; each written on the window's thread.
#include "ui/display.h"

#include <utility>

#include "res/resource.h"
#include "sweep/cookie_keep.h"
#include "ui/format_text.h"
#include "ui/globals.h"
#include "ui/keep_cookies_dlg.h"
#include "ui/texts.h"

bool CBrumixDlg::Display::StopRequested() {
    return dlg_.passes_.StopRequested();
}

// Kept or not, a cookie's site is one the dialog shows.
void CBrumixDlg::Display::OnVisit(const SweepItem& item) {
    if (!collectSites_ || item.store != Store::Cookie) return;
    if (std::optional<std::string> site = CookieSite(item.name)) sites_.insert(std::move(*site));
}

void CBrumixDlg::Display::OnKept(const SweepItem& item) {
    OnVisit(item);
}

void CBrumixDlg::Display::OnTypedUrlsListed(std::vector<std::string>& names) {
    dlg_.passes_.Send([&] { dlg_.FillUrlList(names); });
}

void CBrumixDlg::Display::OnNotDeleted(const SweepItem& item) {
    if (item.store != Store::Typed) return;
    const std::string name(item.name);
    dlg_.passes_.Send([&] { dlg_.ShowNotDeleted(name); });
}

// The results are copied: the worker goes on without waiting for the window.
void CBrumixDlg::Display::OnTypedUrlsSwept(const TypedUrlResult& result) {
    dlg_.passes_.Post([&dlg = dlg_, result, visited = visitedSwept_] { dlg.ShowTypedUrls(result, visited); });
}

void CBrumixDlg::Display::OnCacheSwept(const CacheSweepResult& result) {
    dlg_.passes_.Post([&dlg = dlg_, result, content = contentSwept_, visited = visitedSwept_] {
        dlg.ShowCache(result, content, visited);
    });
    if (!collectSites_ || result.walk.stopped) return;
    dlg_.passes_.Post([&dlg = dlg_, sites = std::vector<std::string>(sites_.begin(), sites_.end())]() mutable {
        dlg.ShowCookieSites(std::move(sites));
    });
}

void CBrumixDlg::ShowFound(bool found) {
    window_.ShowControl(IDC_FOUND_MARK, found);
    window_.ShowControl(IDC_CLEAN_MARK, !found);
}

// The sorted list box puts the names in the user's locale's order, which is not byte order
// for punctuation and accented letters; read back, that is the order they are deleted in.
void CBrumixDlg::FillUrlList(std::vector<std::string>& names) {
    window_.ListReset(IDC_URL_LIST);
    for (const std::string& name : names) window_.ListAdd(IDC_URL_LIST, name);
    const int count = window_.ListCount(IDC_URL_LIST);
    std::vector<std::string> listed;
    listed.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (int index = 0; index < count; ++index) listed.push_back(window_.ListText(IDC_URL_LIST, index));
    names = std::move(listed);
}

// Once a stop is asked for, the pass is ending: no box holds it up.
void CBrumixDlg::ShowNotDeleted(const std::string& name) {
    if (passes_.StopRequested()) return;
    window_.ShowMessageBox(kNotDeleted, name, kMbOk);
}

void CBrumixDlg::ShowTypedUrls(const TypedUrlResult& result, bool visitedFollow) {
    // A key that cannot be opened leaves the counter and the marks as they were; so does a
    // stopped sweep, whose count is not the key's. With the pages visited, a missing key is
    // none of the sum, which the cache's sweep shows.
    typedListed_ = result.opened ? result.listed : 0;
    if (!result.opened || result.stopped || visitedFollow) return;
    window_.SetControlText(IDC_HISTORY_COUNT, FormatText(kHistoryCountFormat, result.listed));
    ShowFound(result.listed != 0);
}

void CBrumixDlg::ShowCache(const CacheSweepResult& result, bool contentSwept, bool visitedSwept) {
    if (result.walk.stopped || result.cookieFiles.stopped) return;
    if (visitedSwept) {
        window_.SetControlText(IDC_HISTORY_COUNT,
                               FormatText(kHistoryCountFormat, typedListed_ + result.walk.visitedPages));
    }
    if (!contentSwept) return;
    const int cookies = result.Cookies();
    window_.SetControlText(IDC_CACHED_COUNT, FormatText(kCachedCountFormat, result.walk.cachedFiles));
    window_.SetControlText(IDC_COOKIE_COUNT, FormatText(kCookieCountFormat, cookies));
    ShowFound(result.FoundAnything());
    window_.SetTitle(window_.IsMinimised() ? FormatText(kTitleMinimisedFormat, result.walk.cachedFiles, cookies)
                                           : kTitle);
}

void CBrumixDlg::ShowCookieSites(std::vector<std::string> sites) {
    if (keepDialog_ != nullptr) keepDialog_->ShowSites(std::move(sites));
}

CookieFolderPlace CBrumixDlg::CookiePlace() const {
    return CookieFolderPlace{g_bIsNT == 1, g_strWindowsDir};
}

int CBrumixDlg::ScanTypedUrls(int bCountOnly) {
    Display display(*this, true, passVisited_);
    const TypedUrlResult result = SweepTypedUrls(services_.registry, bCountOnly != 1, display);
    display.OnTypedUrlsSwept(result);
    return result.opened ? result.listed : -1;
}

int CBrumixDlg::ScanCache(int bDeleteCookies, int bCountOnly) {
    Display display(*this, true, passVisited_, passCollectsSites_ && bCountOnly == 1);
    CacheRequest request;
    request.deleteEntries = bCountOnly != 1;
    request.includeCookies = bDeleteCookies == 1;
    request.includeVisited = passVisited_;
    const CacheSweepResult result = SweepCache(services_, CookiePlace(), request, display);
    display.OnCacheSwept(result);
    return result.walk.complete ? 1 : 0;
}

int CBrumixDlg::SweepCookieFolder(int bDelete, int bCountOnly) {
    SweepObserver quiet;
    return SweepCookieFiles(services_.files, CookiePlace(), bCountOnly != 1 && bDelete == 1, quiet).count;
}
