// The "Cookies to keep" dialog's way to the passes: the sites it shows come from a count.
#include "ui/brumix_dlg.h"

void CBrumixDlg::AttachKeepCookies(CKeepCookiesDlg* dialog) {
    keepDialog_ = dialog;
    if (dialog != nullptr) CountAgain();
}

void CBrumixDlg::KeepListChanged() {
    CountAgain();
}
