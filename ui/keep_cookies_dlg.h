// The "Cookies to keep" dialog's logic: the sites with cookies in the store beside the sites
// kept, moved between the two lists or typed in, and written when the user confirms.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/window.h"
#include "sweep/cookie_keep.h"
#include "sweep/kept_list.h"

class CBrumixDlg;

class CKeepCookiesDlg {
public:
    // window: the dialog's own controls. The sites with cookies come from a count that main
    // runs on its worker while the dialog is open.
    CKeepCookiesDlg(Window& window, Registry& registry, CBrumixDlg& main);
    ~CKeepCookiesDlg();
    CKeepCookiesDlg(const CKeepCookiesDlg&) = delete;
    CKeepCookiesDlg& operator=(const CKeepCookiesDlg&) = delete;

    void OnInitDialog();
    // "&Keep >": the selected sites with cookies join the list.
    void OnKeep();
    // "< &Remove": the selected kept sites leave it.
    void OnRemove();
    // "&Add": the site, or the host of the address, typed into the edit box.
    void OnAdd();
    void OnOk();
    void OnCancel();

    // The sites of the cookies in the store, each once; from the count's hand-over.
    void ShowSites(std::vector<std::string> sites);

private:
    void Fill();
    // Makes the sorted list hold these entries, leaving the user's place in it.
    void ShowInPlace(int id, const std::vector<std::string>& entries);
    KeptListRead ReadStored() const;
    void SayUnreadable();
    void Keep(const std::string& site);

    Window& window_;
    Registry& registry_;
    CBrumixDlg& main_;
    std::vector<std::string> sites_;
    // The list as the dialog shows it, and the user's changes to it, which OK applies to the
    // list as it is stored then.
    KeptSites kept_;
    std::set<std::string> added_;
    std::set<std::string> removed_;
};
