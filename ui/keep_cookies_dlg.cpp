// The "Cookies to keep" dialog's logic.
#include "ui/keep_cookies_dlg.h"

#include <utility>

#include "res/resource.h"
#include "settings/kept_cookies_store.h"
#include "sweep/site_name.h"
#include "ui/brumix_dlg.h"
#include "ui/texts.h"

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
    window_.ListReset(IDC_KEEP_FOUND);
    for (const std::string& site : sites_) {
        if (!kept_.Keeps(site)) window_.ListAdd(IDC_KEEP_FOUND, site);
    }
    window_.ListReset(IDC_KEEP_LIST);
    for (const std::string& site : kept_.Sites()) window_.ListAdd(IDC_KEEP_LIST, site);
}

void CKeepCookiesDlg::ShowSites(std::vector<std::string> sites) {
    sites_ = std::move(sites);
    Fill();
}

void CKeepCookiesDlg::OnKeep() {
    for (int index : window_.ListSelection(IDC_KEEP_FOUND)) kept_.Add(window_.ListText(IDC_KEEP_FOUND, index));
    Fill();
}

void CKeepCookiesDlg::OnRemove() {
    for (int index : window_.ListSelection(IDC_KEEP_LIST)) kept_.Remove(window_.ListText(IDC_KEEP_LIST, index));
    Fill();
}

void CKeepCookiesDlg::OnAdd() {
    const std::optional<std::string> site = SiteFromUserInput(window_.GetControlText(IDC_KEEP_TYPED));
    if (!site) {
        window_.ShowMessageBox(kKeepNotASite, kKeepCookiesCaption, kMbIconExclamation);
        return;
    }
    kept_.Add(*site);
    window_.SetControlText(IDC_KEEP_TYPED, "");
    Fill();
}

// Written at once, and counted again: a kept cookie is no longer a trace. The list is read
// again first: one that became unreadable meanwhile is not written over.
void CKeepCookiesDlg::OnOk() {
    const KeptListChange change = ChangeKeptList(
        ReadStored(),
        [this](KeptSites& sites) {
            sites = kept_;
            return true;
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
