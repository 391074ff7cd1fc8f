// What each sweep leaves on screen: counters, the found/clean pair, the title, the boxes.
#include "ui/display.h"

#include "res/resource.h"
#include "ui/format_text.h"
#include "ui/globals.h"
#include "ui/texts.h"

void CBrumixDlg::Display::OnVisit(const SweepItem& item) {
    if (item.store == Store::Typed) typedNames_.emplace_back(item.name);
}

void CBrumixDlg::Display::OnNotDeleted(const SweepItem& item) {
    if (item.store == Store::Typed) dlg_.window_.ShowMessageBox(kNotDeleted, std::string(item.name), kMbOk);
}

void CBrumixDlg::Display::OnTypedUrlsSwept(const TypedUrlResult& result) {
    dlg_.ShowTypedUrls(result, typedNames_);
    typedNames_.clear();
}

void CBrumixDlg::Display::OnCacheSwept(const CacheSweepResult& result) { dlg_.ShowCache(result); }

void CBrumixDlg::ShowFound(bool found) {
    window_.ShowControl(IDC_FOUND_MARK, found);
    window_.ShowControl(IDC_CLEAN_MARK, !found);
}

void CBrumixDlg::ShowTypedUrls(const TypedUrlResult& result, const std::vector<std::string>& names) {
    // A key that cannot be opened leaves the list, the counter and the marks as they were.
    if (!result.opened) return;
    window_.ListReset(IDC_URL_LIST);
    for (const std::string& name : names) window_.ListAdd(IDC_URL_LIST, name);
    window_.SetControlText(IDC_HISTORY_COUNT, FormatText(kHistoryCountFormat, result.listed));
    ShowFound(result.listed != 0);
}

void CBrumixDlg::ShowCache(const CacheSweepResult& result) {
    const int cookies = result.Cookies();
    window_.SetControlText(IDC_CACHED_COUNT, FormatText(kCachedCountFormat, result.walk.cachedFiles));
    window_.SetControlText(IDC_COOKIE_COUNT, FormatText(kCookieCountFormat, cookies));
    ShowFound(result.FoundAnything());
    window_.SetTitle(window_.IsMinimised() ? FormatText(kTitleMinimisedFormat, result.walk.cachedFiles, cookies)
                                           : kTitle);
}

CookieFolderPlace CBrumixDlg::CookiePlace() const { return CookieFolderPlace{g_bIsNT == 1, g_strWindowsDir}; }

int CBrumixDlg::ScanTypedUrls(int bCountOnly) {
    Display display(*this);
    const TypedUrlResult result = SweepTypedUrls(services_.registry, bCountOnly != 1, display);
    display.OnTypedUrlsSwept(result);
    return result.opened ? result.listed : -1;
}

int CBrumixDlg::ScanCache(int bDeleteCookies, int bCountOnly) {
    Display display(*this);
    const CacheSweepResult result =
        SweepCache(services_, CookiePlace(), CacheRequest{bCountOnly != 1, bDeleteCookies == 1}, display);
    display.OnCacheSwept(result);
    return result.walk.complete ? 1 : 0;
}

int CBrumixDlg::SweepCookieFolder(int bDelete, int bCountOnly) {
    SweepObserver quiet;
    return SweepCookieFiles(services_.files, CookiePlace(), bCountOnly != 1 && bDelete == 1, quiet).count;
}
