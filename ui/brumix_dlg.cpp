// Construction, initialisation, painting and the small shared steps of the main window.
#include "ui/brumix_dlg.h"

#include "ui/format_text.h"
#include "ui/globals.h"
#include "ui/resource_ids.h"
#include "ui/texts.h"

namespace {

// Only these bits of a system command carry its id; the low four are the system's own.
constexpr std::uint32_t kSysCommandIdMask = 0xFFF0;

}  // namespace

CBrumixDlg::CBrumixDlg(const PlatformServices& services)
    : window_(services.window),
      urlCache_(services.urlCache),
      registry_(services.registry),
      files_(services.files),
      system_(services.system),
      heap_(services.heap) {}

bool CBrumixDlg::OnInitDialog() {
    const std::string aboutText = window_.LoadText(IDS_ABOUTBOX);
    if (!aboutText.empty()) window_.AddAboutToSystemMenu(aboutText, IDM_ABOUTBOX);
    window_.SetWindowIcons();
    QueryPlatform();
    SetupSliderAndProgress();
    window_.SetControlText(IDC_STATUS, kStatusWelcome);
    RestoreSettings();
    UpdateSniffCaption();
    CountEverything();
    window_.CreateToolTips({
        {IDOK, "C L E A R   N O W"},
        {IDC_ON_TOP, "Always On Top"},
        {IDC_SNIFFER, "Enables/Disables Sniffer Timer"},
        {IDC_AUTO_CLEAR, "Auto Clears (Win Brumix should be minimized)"},
        {IDC_TEMP_FILES, "Clears all temporary Internet Files (gif's, jpg's, scripts  etc"},
        {IDC_COOKIES, "Clears Temporary Internet Files & Cookies too"},
        {IDC_HISTORY, "Clears all typed URL's"},
        {IDC_STATUS, kMakerAddress},
    });
    return true;
}

void CBrumixDlg::QueryPlatform() {
    // Without an answer the platform is taken for the NT family, whose cookies all live in
    // the URL cache: the cookie folder is then left alone rather than guessed at.
    std::uint32_t platformId = kPlatformWin32Nt;
    if (!system_.QueryPlatformId(platformId)) platformId = kPlatformWin32Nt;
    g_bIsNT = platformId == kPlatformWin32Nt ? 1 : 0;

    std::string windowsDir;
    g_strWindowsDir = system_.QueryWindowsDirectory(windowsDir) ? windowsDir : std::string();
}

bool CBrumixDlg::IsAboutCommand(std::uint32_t commandId) { return (commandId & kSysCommandIdMask) == IDM_ABOUTBOX; }

bool CBrumixDlg::OnPaint() {
    if (window_.IsMinimised()) return true;
    window_.SetTitle(kTitle);
    return false;
}

void CBrumixDlg::ShowFound(bool found) {
    window_.ShowControl(IDC_FOUND_MARK, found);
    window_.ShowControl(IDC_CLEAN_MARK, !found);
}

void CBrumixDlg::CountEverything() {
    ScanTypedUrls(1);
    ScanCache(1, 1);
}
