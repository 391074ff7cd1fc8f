// The main window's logic: every handler over the cleaning engine and the window interface,
// so that it runs the same against Win32 and against the stand-ins.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_services.h"
#include "platform/window.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/store_sweep.h"

class CBrumixDlg {
public:
    CBrumixDlg(Window& window, const PlatformServices& services);

    // Initialisation, message handlers and the close; the host calls them.
    bool OnInitDialog();
    // True when the command is the About entry; the host then opens the About box.
    static bool IsAboutCommand(std::uint32_t commandId);
    // True when the host should draw the minimised window's icon instead of the default.
    bool OnPaint();
    void OnClearNow();
    void OnCancel();
    // The session ends (log-off, shutdown) without a close: the choices are kept all the same.
    void OnEndSession(bool ending);
    void OnTempFiles();
    void OnCookies();
    void OnHistory();
    void OnOnTop();
    void OnSniffer();
    void OnAutoClear();
    void OnTimer(std::uintptr_t timerId);
    // isIntervalSlider: whether the control that scrolled is IDC_INTERVAL.
    void OnIntervalScroll(bool isIntervalSlider);

    // The sweeps as the window runs them: the engine, then what it found on screen.
    int ScanCache(int bDeleteCookies, int bCountOnly);
    int SweepCookieFolder(int bDelete, int bCountOnly);
    int ScanTypedUrls(int bCountOnly);

    void RestoreSettings();
    void SaveSettings();
    void UpdateSniffCaption();

private:
    class Display;
    class ClearRunning;

    void ShowFound(bool found);
    void ShowTypedUrls(const TypedUrlResult& result, const std::vector<std::string>& names);
    void ShowCache(const CacheSweepResult& result);
    void SetupSliderAndProgress();
    void CountEverything();
    void QueryPlatform();
    CookieFolderPlace CookiePlace() const;

    Window& window_;
    PlatformServices services_;
    // Set while a clear runs, so that a sniff tick delivered by a message box inside it
    // cannot start a second count or clear in the middle of the first.
    bool clearing_ = false;
};
