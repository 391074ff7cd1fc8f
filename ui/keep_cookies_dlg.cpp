// The "Cookies to keep" dialog's logic.
#include "ui/keep_cookies_dlg.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "res/resource.h"
#include "settings/kept_cookies_store.h"
#include "sweep/site_name.h"
#include "ui/brumix_dlg.h"
#include "ui/format_text.h"
#include "ui/texts.h"

namespace {

// So that the box fits on the screen, however many sites were chosen.
constexpr std::size_t kRefusedNamed = 10;

// One line a site, with the reason the list cannot hold it. The site was read from the store, not
// typed; should the reading of what a user types take it all the same, the rule of the list is
// the reason. Appended piece by piece: GCC 12 at -O3 takes a prefix added to a temporary for an
// overlapping copy (-Wrestrict).
std::string RefusedSitesText(const std::vector<std::string>& sites) {
    std::string text = kKeepSitesRefused;
    for (std::size_t index = 0; index < sites.size() && index < kRefusedNamed; ++index) {
        const std::string why = WhyNotASite(sites[index]);
        text += '\n';
        text += sites[index];
        text += ": ";
        text += why.empty() ? kKeepNoSiteName : why;
    }
    if (sites.size() > kRefusedNamed) {
        text += '\n';
        text += FormatText(kKeepMoreRefusedFormat, static_cast<int>(sites.size() - kRefusedNamed));
    }
    return text;
}

}  // namespace

CKeepCookiesDlg::CKeepCookiesDlg(Window& window, Registry& registry, CBrumixDlg& main)
    : window_(window), registry_(registry), main_(main) {}

CKeepCookiesDlg::~CKeepCookiesDlg() {
    main_.AttachKeepCookies(nullptr);
}

// The list as stored; the sites with cookies follow when the count that collects them ends.
void CKeepCookiesDlg::OnInitDialog() {
    const KeptCookieList stored = ReadKeptList(ReadStored());
    if (stored.Unreadable()) {
        SayUnreadable();
        return;
    }
    kept_ = stored.sites;
    Fill();
    main_.AttachKeepCookies(this);
}

KeptListRead CKeepCookiesDlg::ReadStored() const {
    return [&registry = registry_] { return ReadKeptCookiesValue(registry); };
}

// A list that cannot be read may hold a site the user keeps: it is never written over, so the
// dialog says so and goes.
void CKeepCookiesDlg::SayUnreadable() {
    window_.ShowMessageBox(kKeepListUnreadable, kKeepCookiesCaption, kMbIconExclamation);
    window_.EndDialog(IDCANCEL);
}

// A site the list already keeps, directly or as a subdomain, is not offered again.
void CKeepCookiesDlg::Fill() {
    std::vector<std::string> found;
    for (const std::string& site : sites_) {
        if (!kept_.Keeps(site)) found.push_back(site);
    }
    ShowInPlace(IDC_KEEP_FOUND, found);
    ShowInPlace(IDC_KEEP_LIST, kept_.Sites());
}

// Every count while the dialog is open hands over its sites, once a second with the sniffer on:
// a list filled anew would lose the user's selection each time. Only what changed is deleted or
// added, so the entries that stay keep their selection; the list box keeps the view's, the
// caret's and the anchor's positions as numbers, so each is put back on its entry, or on the
// next one that stays.
void CKeepCookiesDlg::ShowInPlace(int id, const std::vector<std::string>& entries) {
    const std::set<std::string_view> wanted(entries.begin(), entries.end());
    std::vector<std::string> shown(static_cast<std::size_t>(std::max(window_.ListCount(id), 0)));
    for (std::size_t index = 0; index < shown.size(); ++index) {
        shown[index] = window_.ListText(id, static_cast<int>(index));
    }
    const std::set<std::string_view> had(shown.begin(), shown.end());
    if (had == wanted) return;
    const auto stays = [&](std::size_t index) { return wanted.count(shown[index]) != 0; };

    // The entry a position of the list's stands on, or the next one that stays; the last that
    // stays when none after it does.
    const auto follow = [&](int position) -> std::string_view {
        const std::size_t from = static_cast<std::size_t>(std::max(position, 0));
        for (std::size_t index = from; index < shown.size(); ++index) {
            if (stays(index)) return shown[index];
        }
        for (std::size_t index = std::min(from, shown.size()); index-- > 0;) {
            if (stays(index)) return shown[index];
        }
        return {};
    };
    const ListPlace before = window_.GetListPlace(id);
    const std::string top(follow(before.top));
    const std::string caret(follow(before.caret));
    const std::string anchor(follow(before.anchor));

    for (std::size_t index = shown.size(); index-- > 0;) {
        if (!stays(index)) window_.ListDelete(id, static_cast<int>(index));
    }
    for (const std::string& entry : entries) {
        if (had.count(entry) == 0) window_.ListAdd(id, entry);
    }
    ListPlace after;
    const int count = window_.ListCount(id);
    for (int index = 0; index < count; ++index) {
        const std::string text = window_.ListText(id, index);
        if (text == top) after.top = index;
        if (text == caret) after.caret = index;
        if (text == anchor) after.anchor = index;
    }
    if (count > 0) window_.SetListPlace(id, after);
    window_.ListFitWidth(id);
}

void CKeepCookiesDlg::ShowSites(std::vector<std::string> sites) {
    sites_ = std::move(sites);
    Fill();
}

// A site that cannot be stored is named in one box with its reason, once the others have moved.
void CKeepCookiesDlg::OnKeep() {
    std::vector<std::string> refused;
    for (int index : window_.ListSelection(IDC_KEEP_FOUND)) {
        const std::string site = window_.ListText(IDC_KEEP_FOUND, index);
        if (IsSiteText(site)) {
            Keep(site);
        } else {
            refused.push_back(site);
        }
    }
    Fill();
    if (!refused.empty()) {
        window_.ShowMessageBox(RefusedSitesText(refused), kKeepCookiesCaption, kMbIconExclamation);
    }
}

void CKeepCookiesDlg::OnRemove() {
    for (int index : window_.ListSelection(IDC_KEEP_LIST)) {
        const std::string site = window_.ListText(IDC_KEEP_LIST, index);
        kept_.Remove(site);
        added_.erase(site);
        removed_.insert(site);
    }
    Fill();
}

void CKeepCookiesDlg::Keep(const std::string& site) {
    kept_.Add(site);
    removed_.erase(site);
    added_.insert(site);
}

// A site the list holds already is no error. What was typed is in UTF-8, and so is the reason,
// which may quote it.
void CKeepCookiesDlg::OnAdd() {
    const std::string typed = window_.GetControlText(IDC_KEEP_TYPED);
    const std::optional<std::string> site = SiteFromUserInput(typed);
    if (!site) {
        std::string text = kKeepTypedNotASite;
        text += WhyNotASite(typed);
        text += ".\n\n";
        text += kKeepWhatToType;
        window_.ShowMessageBoxUtf8(text, kKeepCookiesCaption, kMbIconExclamation);
        return;
    }
    Keep(*site);
    window_.SetControlText(IDC_KEEP_TYPED, "");
    Fill();
}

// Written at once, and counted again: a kept cookie is no longer a trace. The list is read
// again first, and what the user moved or typed is applied to it as it stands now: a site
// another program added meanwhile (brumix keep add) stays, and a list that became unreadable
// meanwhile is not written over.
void CKeepCookiesDlg::OnOk() {
    const KeptListChange change = ChangeKeptList(
        ReadStored(),
        [this](KeptSites& sites) {
            bool changed = false;
            for (const std::string& site : removed_) changed = sites.Remove(site) || changed;
            for (const std::string& site : added_) changed = sites.Add(site) || changed;
            return changed;
        },
        [&registry = registry_](std::span<const std::uint8_t> multiSz) {
            return WriteKeptCookiesValue(registry, multiSz);
        });
    if (change.before.Unreadable()) {
        SayUnreadable();
        return;
    }
    if (change.writeStatus != 0) {
        window_.ShowMessageBox(kKeepListNotSaved, kKeepCookiesCaption, kMbIconExclamation);
        return;
    }
    main_.CountAgain();
    window_.EndDialog(IDOK);
}

void CKeepCookiesDlg::OnCancel() {
    window_.EndDialog(IDCANCEL);
}
