// The seven choices and the system menu's options applied to the window at start and taken from
// it at the close.
#include "res/resource.h"
#include "settings/settings_store.h"
#include "ui/brumix_dlg.h"
#include "ui/system_menu.h"

namespace {

// Each choice's control, and the handler that a restored state runs, in the order of the
// restore: the interval before the sniffer that reads it, the automatic clear after the
// boxes and the sniffer whose handlers change it.
struct ChoiceControl {
    Setting setting;
    int controlId;
    void (CBrumixDlg::*handler)();
};
constexpr ChoiceControl kChoices[] = {
    {Setting::CachedUrls, IDC_TEMP_FILES, &CBrumixDlg::OnTempFiles},
    {Setting::Cookies, IDC_COOKIES, &CBrumixDlg::OnCookies},
    {Setting::IeHistory, IDC_HISTORY, &CBrumixDlg::OnHistory},
    {Setting::Timer, IDC_INTERVAL, nullptr},
    {Setting::SnifTimer, IDC_SNIFFER, &CBrumixDlg::OnSniffer},
    {Setting::AutoClear, IDC_AUTO_CLEAR, &CBrumixDlg::OnAutoClear},
    {Setting::Modal, IDC_ON_TOP, &CBrumixDlg::OnOnTop},
};

// A stored interval in this range is restored; one outside it leaves the slider where it is.
// The slider clamps a position to its own range, which starts at 1 (sniffer.cpp).
constexpr int kStoredIntervalMin = 0;
constexpr int kStoredIntervalMax = 60;
// A missing interval lands on the slider's minimum.
constexpr int kIntervalMissing = -1;

}  // namespace

void CBrumixDlg::RestoreSettings() {
    const SettingValues stored = ReadSettings(services_.registry);
    for (const ChoiceControl& choice : kChoices) {
        if (choice.handler == nullptr) {
            const std::optional<int>& seconds = stored[choice.setting];
            if (!seconds) {
                window_.SliderSetPos(choice.controlId, kIntervalMissing);
            } else if (*seconds >= kStoredIntervalMin && *seconds <= kStoredIntervalMax) {
                window_.SliderSetPos(choice.controlId, *seconds);
            }
            continue;
        }
        const std::optional<int> state = stored.CheckState(choice.setting);
        if (!state) continue;
        window_.SetCheck(choice.controlId, *state);
        (this->*choice.handler)();
    }
    for (std::size_t at = 0; at < kMenuOptionCount; ++at) {
        const SystemMenuOption& option = kSystemMenuOptions[at];
        if (!option.setting) continue;
        if (const std::optional<int> state = stored.CheckState(*option.setting)) optionChecked_[at] = *state == 1;
        window_.CheckSystemMenuEntry(option.menuId, optionChecked_[at]);
    }
    RestoreBrowsers(stored);
}

void CBrumixDlg::SaveSettings() {
    SettingValues values;
    for (const ChoiceControl& choice : kChoices) {
        values[choice.setting] =
            choice.handler == nullptr ? window_.SliderGetPos(choice.controlId) : window_.GetCheck(choice.controlId);
    }
    for (std::size_t at = 0; at < kMenuOptionCount; ++at) {
        if (kSystemMenuOptions[at].setting) values[*kSystemMenuOptions[at].setting] = optionChecked_[at] ? 1 : 0;
    }
    WriteSettings(services_.registry, values);
    SaveBrowsers();
}

// A close during a pass stops it between two items and waits for it first, a few seconds at
// most: a pass stuck in a call of the store's is left behind, and the window closes all the same.
void CBrumixDlg::OnCancel() {
    if (closePending_) return;
    if (StopPass() == PassStop::LeftToPass) {
        closePending_ = true;
        return;
    }
    Close();
}

void CBrumixDlg::Close() {
    SaveSettings();
    if (window_.GetCheck(IDC_SNIFFER) == 1) {
        window_.SetCheck(IDC_SNIFFER, 0);
        OnSniffer();
    }
    window_.EndDialog(IDCANCEL);
}

void CBrumixDlg::OnEndSession(bool ending, bool closeApp) {
    if (!ending) return;
    if (closeApp) {
        // A box of the window's, or a menu or move loop, would keep the dialog's own loop from
        // ending, and the process with it.
        window_.DismissMessageBoxes();
        window_.CancelModes();
        OnCancel();
        return;
    }
    // The process may end as soon as this returns, or while the pass is waited for: the
    // choices are saved before anything can hold them up.
    SaveSettings();
    StopPass();
    window_.StopTimer(ID_SNIFF_TIMER);
    window_.StopTimer(ID_PULSE_TIMER);
}
