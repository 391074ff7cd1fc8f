// The one operation that deletes: what the selection boxes ask for, then a fresh count.
#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/display.h"
#include "ui/texts.h"

// While a clear runs, the button and the cookie box are disabled and sniff ticks held off;
// both come back on every way out, an exception included, so the window stays usable.
class CBrumixDlg::ClearRunning {
public:
    explicit ClearRunning(CBrumixDlg& dlg) : dlg_(dlg) {
        dlg_.clearing_ = true;
        dlg_.window_.EnableControl(IDOK, false);
        dlg_.window_.EnableControl(IDC_COOKIES, false);
    }
    ~ClearRunning() {
        dlg_.window_.EnableControl(IDOK, true);
        dlg_.window_.EnableControl(IDC_COOKIES, true);
        dlg_.clearing_ = false;
    }
    ClearRunning(const ClearRunning&) = delete;
    ClearRunning& operator=(const ClearRunning&) = delete;

private:
    CBrumixDlg& dlg_;
};

void CBrumixDlg::OnClearNow() {
    if (clearing_) return;
    if (window_.GetCheck(IDC_TEMP_FILES) == 0 && window_.GetCheck(IDC_HISTORY) == 0) {
        // A null caption would make the platform show its own default ("Error"), so the
        // application's name is passed explicitly.
        window_.ShowMessageBox(kNothingToClear, window_.ApplicationName(), kMbIconExclamation);
        return;
    }

    {
        ClearRunning running(*this);
        StoreSelection selection;
        selection.typedUrls = window_.GetCheck(IDC_HISTORY) == 1;
        selection.cache = window_.GetCheck(IDC_TEMP_FILES) == 1;
        selection.cookies = window_.GetCheck(IDC_COOKIES) == 1;
        Display display(*this);
        SweepStores(services_, CookiePlace(), selection, true, display);
        CountEverything();
    }
    window_.SetControlText(IDC_STATUS, kStatusDone);
}
