// The About box's version line, read from the executable's own version record so that the
// version is written once, in res/version.h.
#include "app/about_dlg.h"

#include <string>

#include "platform/win32/own_version.h"

namespace {

constexpr char kVersionLine[] = "Win Brumix Version ";

// "major.minor" of the file version in the module's version record; empty without one.
std::string RecordedMajorMinor(HINSTANCE module) {
    const std::string version = OwnFileVersion(module);
    const std::size_t minorEnd = version.find('.', version.find('.') + 1);
    return minorEnd == std::string::npos ? std::string() : version.substr(0, minorEnd);
}

}  // namespace

bool CAboutDlg::OnInitDialog() {
    // Without a record the template's line stays, with no number rather than a wrong one.
    const std::string version = RecordedMajorMinor(Instance());
    if (!version.empty()) SetDlgItemTextA(Hwnd(), IDC_ABOUT_VERSION, (kVersionLine + version).c_str());
    return true;
}
