// The passes: every count and clear runs on the worker, one at a time; the window's thread
// starts each, and takes its end.
#include <utility>

#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/display.h"
#include "ui/texts.h"

namespace {

// How long a close or the end of the session waits for a pass asked to stop. A cache call can
// hang for long on a database the browser holds, and Windows ends a process that holds up a
// log-off after a few seconds.
constexpr std::uint32_t kStopWaitMs = 3000;
// How often the window's thread looks for hand-overs while a pass runs, in case a wake-up was
// refused: the longest a lost one can hold the window back.
constexpr std::uint32_t kHandOverPollMs = 250;

}  // namespace

// A clear and its count are the same sweep, one deleting and one counting.
void CBrumixDlg::StartPass(const std::optional<KindSet>& clear) {
    passRunning_ = true;
    clearRunning_ = clear.has_value();
    passChoice_ = OptionsChoice();
    passCollectsSites_ = keepDialog_ != nullptr;
    passBrowsers_ = browsersChosen_;
    clearOutcome_ = {};
    window_.StartTimer(ID_HANDOVER_TIMER, kHandOverPollMs);
    passes_.Start(
        [this, clear] {
            if (clear) {
                ClearOutcome outcome = OutcomeOf(SweepAndShow(*clear, true, false, passBrowsers_));
                passes_.Post([this, outcome = std::move(outcome)]() mutable { clearOutcome_ = std::move(outcome); });
            }
            if (!passes_.StopRequested()) SweepAndShow(CountedByWindow(), false, passCollectsSites_, passBrowsers_);
        },
        [this](bool completed) { OnPassEnded(completed); });
}

KindSet CBrumixDlg::CountedByWindow() const {
    KindChoice every = passChoice_;
    every.temporaryFiles = every.cookies = every.history = true;
    return ChosenKinds(every);
}

// A pass that failed (an exception) or was stopped writes no "Done!", but the button and the
// cookie box come back either way, so the window stays usable.
void CBrumixDlg::OnPassEnded(bool completed) {
    passRunning_ = false;
    window_.StopTimer(ID_HANDOVER_TIMER);
    const bool stopped = passes_.StopRequested();
    const bool wasClear = std::exchange(clearRunning_, false);
    if (pendingClear_ && !stopped && !closePending_) {
        const KindSet next = *pendingClear_;
        pendingClear_.reset();
        // The clear ends with a count of its own, with the option as it stands then.
        recountPending_ = false;
        StartPass(next);
        return;
    }
    if (wasClear || pendingClear_) {
        pendingClear_.reset();
        EndClear(wasClear && completed && !stopped);
    }
    if (std::exchange(closePending_, false)) {
        Close();
        return;
    }
    if (std::exchange(recountPending_, false) && !stopped) StartPass(std::nullopt);
}

CBrumixDlg::PassStop CBrumixDlg::StopPass() {
    if (!passRunning_) return PassStop::Ended;
    passes_.RequestStop();
    switch (passes_.Wait(kStopWaitMs)) {
        case PassRunner::WaitEnd::Ended:
            return PassStop::Ended;
        case PassRunner::WaitEnd::TimedOut:
            return PassStop::Abandoned;
        case PassRunner::WaitEnd::InsideHandOver:
            break;
    }
    window_.DismissMessageBoxes();
    return PassStop::LeftToPass;
}

void CBrumixDlg::DisableClear() {
    DisableControl(IDOK);
    DisableControl(IDC_COOKIES);
}

void CBrumixDlg::EndClear(bool done) {
    window_.EnableControl(IDOK, true);
    window_.EnableControl(IDC_COOKIES, true);
    // On one thread that click would have waited for the clear, and its handler come after.
    if (std::exchange(tempClickedDuringClear_, false)) ApplyTempFilesToCookies();
    const KeyboardFocus focus = window_.Focus();
    if (focus.windowActive && focus.controlId == 0) window_.FocusControl(IDOK);
    // "Done!" over cookies or a browser left in place would tell the user they went.
    if (done) ShowClearOutcome(std::exchange(clearOutcome_, {}));
}
