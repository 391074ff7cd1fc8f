// How the window follows a sweep: the typed names go into the hidden scratch list, a value
// that stays is named in a box while its key is still open, and each store's result is
// shown as soon as that store is done.
#pragma once

#include <string>
#include <vector>

#include "ui/brumix_dlg.h"

class CBrumixDlg::Display final : public StoreSweepObserver {
public:
    explicit Display(CBrumixDlg& dlg) : dlg_(dlg) {}

    void OnVisit(const SweepItem& item) override;
    void OnNotDeleted(const SweepItem& item) override;
    void OnTypedUrlsSwept(const TypedUrlResult& result) override;
    void OnCacheSwept(const CacheSweepResult& result) override;

private:
    CBrumixDlg& dlg_;
    std::vector<std::string> typedNames_;
};
