// The selection boxes, the on-top box and what each tells the status line.
#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/texts.h"

void CBrumixDlg::OnTempFiles() {
    if (window_.GetCheck(IDC_TEMP_FILES) == 1) {
        window_.SetControlText(IDC_STATUS, kStatusClearTemp);
        window_.EnableControl(IDC_COOKIES, true);
    } else {
        window_.SetControlText(IDC_STATUS, kStatusKeepTemp);
        window_.EnableControl(IDC_COOKIES, false);
        window_.SetCheck(IDC_COOKIES, 0);
    }
}

void CBrumixDlg::OnCookies() {
    window_.SetControlText(IDC_STATUS,
                           window_.GetCheck(IDC_COOKIES) == 1 ? kStatusIncludeCookies : kStatusExcludeCookies);
}

void CBrumixDlg::OnHistory() {
    window_.SetControlText(IDC_STATUS, window_.GetCheck(IDC_HISTORY) == 1 ? kStatusClearHistory : kStatusKeepHistory);
}

void CBrumixDlg::OnOnTop() {
    window_.SetTopmost(window_.GetCheck(IDC_ON_TOP) == 1);
}
