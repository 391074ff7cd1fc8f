// The one operation that deletes: what the selection boxes ask for, then a fresh count.
#include "ui/brumix_dlg.h"
#include "ui/resource_ids.h"
#include "ui/texts.h"

void CBrumixDlg::OnClearNow() {
    if (clearing_) return;
    if (window_.GetCheck(IDC_TEMP_FILES) == 0 && window_.GetCheck(IDC_HISTORY) == 0) {
        // A null caption would make the platform show its own default ("Error"), so the
        // application's name is passed explicitly.
        window_.ShowMessageBox(kNothingToClear, window_.ApplicationName(), kMbIconExclamation);
        return;
    }

    clearing_ = true;
    window_.EnableControl(IDOK, false);
    window_.EnableControl(IDC_COOKIES, false);
    if (window_.GetCheck(IDC_HISTORY) == 1) ScanTypedUrls(0);
    if (window_.GetCheck(IDC_TEMP_FILES) == 1) ScanCache(window_.GetCheck(IDC_COOKIES) == 1 ? 1 : 0, 0);
    CountEverything();
    window_.EnableControl(IDOK, true);
    window_.EnableControl(IDC_COOKIES, true);
    window_.SetControlText(IDC_STATUS, kStatusDone);
    clearing_ = false;
}
