// The main window's logic: every handler, sweep and setting, over the platform
// interfaces only, so that it runs the same against Win32 and against the stand-ins.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_services.h"

class CBrumixDlg {
public:
    explicit CBrumixDlg(const PlatformServices& services);

    // Initialisation, message handlers and the close; the host calls them.
    bool OnInitDialog();
    // True when the command is the About entry; the host then opens the About box.
    static bool IsAboutCommand(std::uint32_t commandId);
    // True when the host should draw the minimised window's icon instead of the default.
    bool OnPaint();
    void OnClearNow();
    void OnCancel();
    void OnTempFiles();
    void OnCookies();
    void OnHistory();
    void OnOnTop();
    void OnSniffer();
    void OnAutoClear();
    void OnTimer(std::uintptr_t timerId);
    // isIntervalSlider: whether the control that scrolled is IDC_INTERVAL.
    void OnIntervalScroll(bool isIntervalSlider);

    // The sweeps; each returns what it found and writes it to the window.
    int ScanCache(int bDeleteCookies, int bCountOnly);
    int SweepCookieFolder(int bDelete, int bCountOnly);
    int ScanTypedUrls(int bCountOnly);

    void RestoreSettings();
    void SaveSettings();
    void UpdateSniffCaption();

private:
    void ShowFound(bool found);
    void SetupSliderAndProgress();
    void CountEverything();
    void RestoreCheck(const char* valueName, int controlId, void (CBrumixDlg::*handler)());
    void RestoreInterval();
    void QueryPlatform();

    Window& window_;
    UrlCache& urlCache_;
    Registry& registry_;
    FileSearch& files_;
    SystemFacts& system_;
    Heap& heap_;
    // Set while a clear runs, so that a sniff tick delivered by a message box inside it
    // cannot start a second count or clear in the middle of the first.
    bool clearing_ = false;
};
