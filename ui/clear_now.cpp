// The one operation that deletes: what the selection boxes ask for, then a fresh count.
#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/texts.h"

// The selection is taken at the click. The button and the cookie box stay disabled from then
// until the clear has ended, also while it waits for a count to end.
void CBrumixDlg::OnClearNow() {
    // A command that comes anyway (posted, or from a box's loop) starts no second clear.
    if (ClearUnderway() || closePending_) return;
    if (window_.GetCheck(IDC_TEMP_FILES) == 0 && window_.GetCheck(IDC_HISTORY) == 0) {
        // A null caption would make the platform show its own default ("Error"), so the
        // application's name is passed explicitly.
        window_.ShowMessageBox(kNothingToClear, window_.ApplicationName(), kMbIconExclamation);
        return;
    }
    DisableClear();
    KindChoice choice = OptionsChoice();
    choice.temporaryFiles = window_.GetCheck(IDC_TEMP_FILES) == 1;
    choice.cookies = window_.GetCheck(IDC_COOKIES) == 1;
    choice.history = window_.GetCheck(IDC_HISTORY) == 1;
    const KindSet selection = ChosenKinds(choice);
    if (passRunning_) {
        pendingClear_ = selection;
        return;
    }
    StartPass(selection);
}
