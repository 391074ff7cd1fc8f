// The sniffer: the interval slider, the two timers, the heartbeat and the automatic clear.
#include "res/resource.h"
#include "ui/brumix_dlg.h"
#include "ui/format_text.h"
#include "ui/globals.h"
#include "ui/texts.h"

namespace {

// The interval slider's range and first position, in seconds.
constexpr int kSliderMin = 1;
constexpr int kSliderMax = 60;
constexpr int kSliderDefault = 2;
constexpr int kPulseSteps = 60;

}  // namespace

void CBrumixDlg::SetupSliderAndProgress() {
    window_.SliderSetRange(IDC_INTERVAL, kSliderMin, kSliderMax);
    window_.SliderSetPos(IDC_INTERVAL, kSliderDefault);
    window_.ProgressSetRange(IDC_PROGRESS, 0, kPulseSteps);
    window_.ProgressSetPos(IDC_PROGRESS, 0);
}

void CBrumixDlg::UpdateSniffCaption() {
    window_.SetControlText(IDC_SNIFFER, FormatText(kSniffCaptionFormat, window_.SliderGetPos(IDC_INTERVAL)));
}

void CBrumixDlg::OnSniffer() {
    UpdateSniffCaption();
    const int seconds = window_.SliderGetPos(IDC_INTERVAL);
    g_nPulsePos = 0;
    if (window_.GetCheck(IDC_SNIFFER) == 1) {
        const auto period = static_cast<std::uint32_t>(seconds);
        window_.StartTimer(ID_SNIFF_TIMER, period * 1000);
        window_.StartTimer(ID_PULSE_TIMER, period * 10);
        window_.ProgressSetPos(IDC_PROGRESS, 0);
        ShowStatus(kStatusSnifferOn);
        window_.EnableControl(IDC_AUTO_CLEAR, true);
    } else {
        window_.StopTimer(ID_SNIFF_TIMER);
        window_.StopTimer(ID_PULSE_TIMER);
        window_.ProgressSetPos(IDC_PROGRESS, 0);
        ShowStatus(kStatusSnifferOff);
        DisableControl(IDC_AUTO_CLEAR);
    }
}

void CBrumixDlg::OnTimer(std::uintptr_t timerId) {
    if (timerId == ID_SNIFF_TIMER) {
        // A tick while a pass runs is dropped, as the platform folds the ticks that fall due
        // while the thread is busy: the pass ends with a count of its own.
        if (passRunning_ || closePending_) return;
        const bool autoClear = window_.GetCheck(IDC_AUTO_CLEAR) == 1 && window_.IsMinimised() &&
                               (window_.GetCheck(IDC_TEMP_FILES) != 0 || window_.GetCheck(IDC_HISTORY) != 0);
        if (autoClear) {
            OnClearNow();
        } else {
            StartPass(std::nullopt);
        }
    } else if (timerId == ID_PULSE_TIMER) {
        g_nPulsePos = g_nPulsePos >= kPulseSteps ? 1 : g_nPulsePos + 1;
        window_.ProgressSetPos(IDC_PROGRESS, g_nPulsePos);
    } else if (timerId == ID_HANDOVER_TIMER) {
        passes_.RunHandOvers();
    }
}

void CBrumixDlg::OnIntervalScroll(bool isIntervalSlider) {
    if (!isIntervalSlider) return;
    if (window_.GetCheck(IDC_SNIFFER) == 1) {
        window_.SetCheck(IDC_SNIFFER, 0);
        OnSniffer();
    }
    UpdateSniffCaption();
}

void CBrumixDlg::OnAutoClear() {
    if (window_.GetCheck(IDC_TEMP_FILES) != 0) return;
    if (window_.GetCheck(IDC_HISTORY) != 0) return;
    if (window_.GetCheck(IDC_AUTO_CLEAR) != 1) return;
    window_.SetCheck(IDC_AUTO_CLEAR, 0);
    ShowStatus(kStatusSelectFirst);
}
