// Construction, initialisation, painting and the small shared steps of the main window.
#include "ui/brumix_dlg.h"

#include "res/resource.h"
#include "ui/globals.h"
#include "ui/system_menu.h"
#include "ui/texts.h"

namespace {

// Only these bits of a system command carry its id; the low four are the system's own.
constexpr std::uint32_t kSysCommandIdMask = 0xFFF0;

}  // namespace

CBrumixDlg::CBrumixDlg(Window& window, const PlatformServices& services, PassRunner& passes)
    : window_(window), services_(services), passes_(passes) {}

bool CBrumixDlg::OnInitDialog() {
    const std::string aboutText = window_.LoadText(IDS_ABOUTBOX);
    // The options the window's template has no room for live after the About entry.
    if (!aboutText.empty()) {
        window_.AddAboutToSystemMenu(aboutText, IDM_ABOUTBOX);
        for (const SystemMenuOption& option : kSystemMenuOptions)
            window_.AddSystemMenuEntry(option.label, option.menuId);
        AddBrowsersMenu();
    }
    window_.SetWindowIcons();
    QueryPlatform();
    SetupSliderAndProgress();
    statusTip_ = kMakerAddress;
    ShowStatus(kStatusWelcome);
    RestoreSettings();
    UpdateSniffCaption();
    // The first count is the first pass: the window shows at once, and its figures replace
    // the counters' texts when it ends.
    StartPass(std::nullopt);
    window_.CreateToolTips({
        {IDOK, "C L E A R   N O W"},
        {IDC_ON_TOP, "Always On Top"},
        {IDC_SNIFFER, "Enables/Disables Sniffer Timer"},
        {IDC_AUTO_CLEAR, "Auto Clears (Win Brumix should be minimized)"},
        {IDC_TEMP_FILES, "Clears all temporary Internet Files (gif's, jpg's, scripts  etc"},
        {IDC_COOKIES, "Clears Temporary Internet Files & Cookies too"},
        {IDC_HISTORY, "Clears all typed URL's"},
        {IDC_STATUS, statusTip_},
    });
    return true;
}

void CBrumixDlg::QueryPlatform() {
    const CookieFolderPlace place = QueryCookieFolderPlace(services_.system);
    g_bIsNT = place.isNt ? 1 : 0;
    g_strWindowsDir = place.windowsDir;
}

CBrumixDlg::SystemCommand CBrumixDlg::OnSysCommand(std::uint32_t command) {
    const std::uint32_t id = command & kSysCommandIdMask;
    if (id == IDM_ABOUTBOX) return SystemCommand::About;
    for (std::size_t at = 0; at < kMenuOptionCount; ++at) {
        const SystemMenuOption& option = kSystemMenuOptions[at];
        if (static_cast<std::uint32_t>(option.menuId) != id) continue;
        if (option.Toggles()) ToggleOption(at);
        return option.command;
    }
    for (std::size_t at = 0; at < std::size(kBrowserMenuEntries); ++at) {
        if (BrowserMenuId(at) != id) continue;
        ToggleBrowser(at);
        return SystemCommand::Handled;
    }
    return SystemCommand::Default;
}

// The counters follow the option at once.
void CBrumixDlg::ToggleOption(std::size_t option) {
    optionChecked_[option] = !optionChecked_[option];
    window_.CheckSystemMenuEntry(kSystemMenuOptions[option].menuId, optionChecked_[option]);
    CountAgain();
}

KindChoice CBrumixDlg::OptionsChoice() const {
    KindChoice choice;
    for (std::size_t at = 0; at < kMenuOptionCount; ++at) {
        if (kSystemMenuOptions[at].Toggles()) choice.*kSystemMenuOptions[at].selects = optionChecked_[at];
    }
    return choice;
}

void CBrumixDlg::AttachKeepCookies(CKeepCookiesDlg* dialog) {
    keepDialog_ = dialog;
    if (dialog != nullptr) CountAgain();
}

// A pass takes what it counts at its start, so one that runs is followed by another.
void CBrumixDlg::CountAgain() {
    if (passRunning_) {
        recountPending_ = true;
    } else {
        StartPass(std::nullopt);
    }
}

bool CBrumixDlg::OnPaint() {
    if (window_.IsMinimised()) return true;
    window_.SetTitle(kTitle);
    return false;
}
