// The passes: every count and clear runs on the worker, one at a time; the window's thread
// starts each, and takes its end.
#include <utility>

#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/display.h"
#include "ui/texts.h"

void CBrumixDlg::StartPass(const std::optional<StoreSelection>& clear) {
    passRunning_ = true;
    clearRunning_ = clear.has_value();
    passes_.Start(
        [this, clear] {
            if (clear) {
                Display display(*this);
                SweepStores(services_, CookiePlace(), *clear, true, display);
            }
            if (!passes_.StopRequested()) CountEverything();
        },
        [this](bool completed) { OnPassEnded(completed); });
}

void CBrumixDlg::CountEverything() {
    ScanTypedUrls(1);
    ScanCache(1, 1);
}

// A pass that failed (an exception) or was stopped writes no "Done!", but the button and the
// cookie box come back either way, so the window stays usable.
void CBrumixDlg::OnPassEnded(bool completed) {
    passRunning_ = false;
    const bool stopped = passes_.StopRequested();
    const bool wasClear = std::exchange(clearRunning_, false);
    if (pendingClear_ && !stopped && !closePending_) {
        const StoreSelection next = *pendingClear_;
        pendingClear_.reset();
        StartPass(next);
        return;
    }
    if (wasClear || pendingClear_) {
        pendingClear_.reset();
        EnableClear(true);
        if (wasClear && completed && !stopped) window_.SetControlText(IDC_STATUS, kStatusDone);
    }
    if (std::exchange(closePending_, false)) Close();
}

bool CBrumixDlg::StopPass() {
    if (!passRunning_) return true;
    passes_.RequestStop();
    if (passes_.Wait()) return true;
    window_.DismissMessageBoxes();
    return false;
}

void CBrumixDlg::EnableClear(bool enable) {
    window_.EnableControl(IDOK, enable);
    window_.EnableControl(IDC_COOKIES, enable);
}
