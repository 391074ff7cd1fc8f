// How the window follows a pass: the observer runs on the worker and hands each thing to show
// to the window's thread. The typed names go into the hidden scratch list, whose order the
// sweep deletes in; a value that stays is named in a box while its key is still open (the
// pass waits for both); each counter is shown once every kind it sums is swept.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ui/brumix_dlg.h"

class CBrumixDlg::Display final : public SweepObserver {
public:
    // collectSites: the cookies' sites go to the "Cookies to keep" dialog with the counters.
    explicit Display(CBrumixDlg& dlg, bool collectSites = false) : dlg_(dlg), collectSites_(collectSites) {}

    bool StopRequested() override;
    void OnVisit(const SweepItem& item) override;
    void OnKept(const SweepItem& item) override;
    void OnTypedUrlsListed(std::vector<std::string>& names) override;
    void OnStayed(const SweepItem& item) override;
    void OnKindSwept(Kind kind, const SweepResult& result) override;

private:
    CBrumixDlg& dlg_;
    bool collectSites_;
    std::set<std::string> sites_;
};
