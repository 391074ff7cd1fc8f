// How the window follows a pass: the observer runs on the worker and hands each thing to show
// to the window's thread. The typed names go into the hidden scratch list, whose order the
// sweep deletes in; a value that stays is named in a box while its key is still open (the
// pass waits for both); each store's result is shown once that store is done.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ui/brumix_dlg.h"

class CBrumixDlg::Display final : public StoreSweepObserver {
public:
    // What the sweeps this observer hears count: the cache's content (the cached files and the
    // cookies), the pages visited.
    // collectSites: the cookies' sites go to the "Cookies to keep" dialog with the result.
    Display(CBrumixDlg& dlg, bool contentSwept, bool visitedSwept, bool collectSites = false)
        : dlg_(dlg), contentSwept_(contentSwept), visitedSwept_(visitedSwept), collectSites_(collectSites) {}

    bool StopRequested() override;
    void OnVisit(const SweepItem& item) override;
    void OnKept(const SweepItem& item) override;
    void OnTypedUrlsListed(std::vector<std::string>& names) override;
    void OnNotDeleted(const SweepItem& item) override;
    void OnTypedUrlsSwept(const TypedUrlResult& result) override;
    void OnCacheSwept(const CacheSweepResult& result) override;

private:
    CBrumixDlg& dlg_;
    bool contentSwept_;
    bool visitedSwept_;
    bool collectSites_;
    std::set<std::string> sites_;
};
