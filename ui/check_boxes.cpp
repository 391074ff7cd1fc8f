// The selection boxes, the on-top box and what each tells the status line.
#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/texts.h"

// The cookie box stays disabled until the clear has ended, and a click meanwhile rules its
// state then. An untick takes the cookies out at once all the same: the user may tick the box
// again before the end, and the next clear must not take the cookies that were unticked.
void CBrumixDlg::OnTempFiles() {
    const bool tempFiles = window_.GetCheck(IDC_TEMP_FILES) == 1;
    ShowStatus(tempFiles ? kStatusClearTemp : kStatusKeepTemp);
    if (ClearUnderway()) {
        tempClickedDuringClear_ = true;
        if (!tempFiles) window_.SetCheck(IDC_COOKIES, 0);
        return;
    }
    ApplyTempFilesToCookies();
}

void CBrumixDlg::ApplyTempFilesToCookies() {
    if (window_.GetCheck(IDC_TEMP_FILES) == 1) {
        window_.EnableControl(IDC_COOKIES, true);
    } else {
        DisableControl(IDC_COOKIES);
        window_.SetCheck(IDC_COOKIES, 0);
    }
}

// EnableWindow leaves no control with the focus when it disables the one that has it: Escape,
// Tab and Enter would then do nothing until the user clicks. The focus moves on first, as Tab
// would move it.
void CBrumixDlg::DisableControl(int id) {
    if (window_.Focus().controlId == id) window_.MoveFocusOn();
    window_.EnableControl(id, false);
}

void CBrumixDlg::OnCookies() {
    ShowStatus(window_.GetCheck(IDC_COOKIES) == 1 ? kStatusIncludeCookies : kStatusExcludeCookies);
}

void CBrumixDlg::OnHistory() {
    ShowStatus(window_.GetCheck(IDC_HISTORY) == 1 ? kStatusClearHistory : kStatusKeepHistory);
}

void CBrumixDlg::OnOnTop() {
    window_.SetTopmost(window_.GetCheck(IDC_ON_TOP) == 1);
}
