// What each sweep leaves on screen: the scratch list, counters, the found/clean pair, the
// title, the boxes; each written on the window's thread.
#include "ui/display.h"

#include <utility>

#include "res/resource.h"
#include "settings/kept_cookies_store.h"
#include "ui/format_text.h"
#include "ui/globals.h"
#include "ui/keep_cookies_dlg.h"
#include "ui/texts.h"

bool CBrumixDlg::Display::StopRequested() {
    return dlg_.passes_.StopRequested();
}

// Kept or not, a cookie's site is one the dialog shows.
void CBrumixDlg::Display::OnVisit(const SweepItem& item) {
    if (collectSites_ && !item.site.empty()) sites_.emplace(item.site);
}

void CBrumixDlg::Display::OnKept(const SweepItem& item) {
    OnVisit(item);
}

void CBrumixDlg::Display::OnTypedUrlsListed(std::vector<std::string>& names) {
    dlg_.passes_.Send([&] { dlg_.FillUrlList(names); });
}

void CBrumixDlg::Display::OnStayed(const SweepItem& item) {
    if (item.store != Store::Typed) return;
    const std::string name(item.name);
    dlg_.passes_.Send([&] { dlg_.ShowNotDeleted(name); });
}

// The history counter is the sum of the typed addresses and, with the option, the pages visited;
// the cache's counters, marks and title go together. Each is handed over once every kind it
// shows is swept; what is handed over is copied, as the worker goes on without waiting.
void CBrumixDlg::Display::OnKindSwept(Kind kind, const SweepResult& result) {
    const KindSet swept{kind};
    const KindSet history = result.counted & KindSet{Kind::TypedUrls, Kind::VisitedPages};
    const KindSet content = result.counted & KindSet{Kind::CachedFiles, Kind::Cookies};
    const KindTallies& counts = result.counts;
    if (history.Meets(swept) && result.swept.Contains(history)) {
        const int typed = counts[Kind::TypedUrls].found;
        if (history.Has(Kind::VisitedPages)) {
            // A TypedURLs key that is missing or refused is none of the sum.
            const int sum = typed + counts[Kind::VisitedPages].found;
            dlg_.passes_.Post([&dlg = dlg_, sum] { dlg.ShowHistory(sum, false); });
        } else if (result.Reached(Kind::TypedUrls)) {
            // A key that cannot be opened leaves the counter and the marks as they were. With the
            // cache's content counted too the marks are the content's, whichever kind is swept
            // last (the other browsers' pass ends both at once).
            const bool withFound = !content.Meets(result.counted);
            dlg_.passes_.Post([&dlg = dlg_, typed, withFound] { dlg.ShowHistory(typed, withFound); });
        }
    }
    if (content.Meets(swept) && result.swept.Contains(content)) {
        const int cachedFiles = counts[Kind::CachedFiles].found;
        const int cookies = counts[Kind::Cookies].found;
        // A kept cookie is nothing found; the pages visited are, when the pass counts them.
        const bool found = cachedFiles != 0 || cookies != 0 || counts[Kind::VisitedPages].found != 0;
        dlg_.passes_.Post([&dlg = dlg_, cachedFiles, cookies, found] { dlg.ShowContent(cachedFiles, cookies, found); });
        if (!collectSites_) return;
        dlg_.passes_.Post([&dlg = dlg_, sites = std::vector<std::string>(sites_.begin(), sites_.end())]() mutable {
            dlg.ShowCookieSites(std::move(sites));
        });
    }
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

void CBrumixDlg::ShowHistory(int count, bool withFound) {
    window_.SetControlText(IDC_HISTORY_COUNT, FormatText(kHistoryCountFormat, count));
    if (withFound) ShowFound(count != 0);
}

void CBrumixDlg::ShowContent(int cachedFiles, int cookies, bool found) {
    window_.SetControlText(IDC_CACHED_COUNT, FormatText(kCachedCountFormat, cachedFiles));
    window_.SetControlText(IDC_COOKIE_COUNT, FormatText(kCookieCountFormat, cookies));
    ShowFound(found);
    window_.SetTitle(window_.IsMinimised() ? FormatText(kTitleMinimisedFormat, cachedFiles, cookies) : kTitle);
}

void CBrumixDlg::ShowCookieSites(std::vector<std::string> sites) {
    if (keepDialog_ != nullptr) keepDialog_->ShowSites(std::move(sites));
}

CookieFolderPlace CBrumixDlg::CookiePlace() const {
    return CookieFolderPlace{.isNt = g_bIsNT == 1, .windowsDir = g_strWindowsDir};
}

SweepRequest CBrumixDlg::Request(KindSet kinds, bool deleteItems) const {
    return SweepRequest{
        .kinds = kinds,
        .deleteItems = deleteItems,
        .cookieFolder = CookiePlace(),
        .keptList = [&registry = services_.registry] { return ReadKeptCookiesValue(registry); },
    };
}

SweepResult CBrumixDlg::SweepAndShow(KindSet kinds, bool deleteItems, bool collectSites, SourceSet browsers) {
    Display display(*this, collectSites);
    SweepRequest request = Request(kinds, deleteItems);
    request.sources |= browsers;
    return Sweep(services_, request, display);
}

int CBrumixDlg::ScanTypedUrls(int bCountOnly) {
    const SweepResult result = SweepAndShow({Kind::TypedUrls}, bCountOnly != 1);
    return result.Reached(Kind::TypedUrls) ? result.counts[Kind::TypedUrls].found : -1;
}

// Only bDeleteCookies 1 takes the cookies; the counters show them either way.
int CBrumixDlg::ScanCache(int bDeleteCookies, int bCountOnly) {
    KindSet kinds{Kind::CachedFiles};
    if (bDeleteCookies == 1) kinds |= {Kind::Cookies};
    if (passChoice_.visitedWithHistory) kinds |= {Kind::VisitedPages};
    const bool counting = bCountOnly == 1;
    return SweepAndShow(kinds, !counting, passCollectsSites_ && counting).Complete() ? 1 : 0;
}

// The folder alone shows nothing. With no cache walk to name the kept cookies' files, a list
// that keeps a site holds every file.
int CBrumixDlg::SweepCookieFolder(int bDelete, int bCountOnly) {
    SweepObserver quiet;
    SweepRequest request = Request({Kind::Cookies}, bCountOnly != 1 && bDelete == 1);
    request.sources = SourceSet::Only(SourceId::CookieFolder);
    return Sweep(services_, request, quiet).counts[Kind::Cookies].found;
}
