// The main window's logic: every handler over the cleaning engine and the window interface,
// so that it runs the same against Win32 and against the stand-ins.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pass_runner.h"
#include "platform/platform_services.h"
#include "platform/window.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/store_sweep.h"

class CBrumixDlg {
public:
    // brumix_dlg.cpp: construction, initialisation, painting. Every count and clear runs as a
    // pass on passes' worker; the handlers, which the host calls, run on the window's thread.
    CBrumixDlg(Window& window, const PlatformServices& services, PassRunner& passes);
    bool OnInitDialog();
    // True when the command is the About entry; the host then opens the About box.
    static bool IsAboutCommand(std::uint32_t commandId);
    // True when the host should draw the minimised window's icon instead of the default.
    bool OnPaint();

    // clear_now.cpp
    void OnClearNow();

    // check_boxes.cpp: the selection boxes and On Top.
    void OnTempFiles();
    void OnCookies();
    void OnHistory();
    void OnOnTop();

    // sniffer.cpp
    void OnSniffer();
    void OnAutoClear();
    void OnTimer(std::uintptr_t timerId);
    // isIntervalSlider: whether the control that scrolled is IDC_INTERVAL.
    void OnIntervalScroll(bool isIntervalSlider);
    void UpdateSniffCaption();

    // remembered_choices.cpp: the choices restored and saved, and the close.
    void RestoreSettings();
    void SaveSettings();
    void OnCancel();
    // The session ends (log-off, shutdown) without a close: the choices are kept all the same.
    // closeApp: the system asks this program alone to close (so that a file it holds can be
    // replaced); that is a close.
    void OnEndSession(bool ending, bool closeApp);

    // display.cpp: the sweeps as a pass runs them: the engine, and what it found handed to the
    // window's thread. Called on the worker; a runner that runs passes where they are started
    // (the stand-in) lets a test call them directly.
    int ScanCache(int bDeleteCookies, int bCountOnly);
    int SweepCookieFolder(int bDelete, int bCountOnly);
    int ScanTypedUrls(int bCountOnly);

private:
    // display.h, display.cpp: the pass's observer, and what each sweep leaves on screen.
    class Display;
    void ShowFound(bool found);
    void FillUrlList(std::vector<std::string>& names);
    void ShowNotDeleted(const std::string& name);
    void ShowTypedUrls(const TypedUrlResult& result);
    void ShowCache(const CacheSweepResult& result);
    CookieFolderPlace CookiePlace() const;

    // brumix_dlg.cpp
    void QueryPlatform();

    // sniffer.cpp
    void SetupSliderAndProgress();

    // passes.cpp: the passes; a clear (with its count) when a selection is given, else a count.
    void StartPass(const std::optional<StoreSelection>& clear);
    void OnPassEnded(bool completed);
    // On the worker.
    void CountEverything();
    // Asks a running pass to stop and waits for its end; false when the wait is left to the
    // pass's end, because this runs inside a box the pass is waiting for (the box is ended).
    bool StopPass();
    void EnableClear(bool enable);

    // remembered_choices.cpp
    void Close();

    Window& window_;
    PlatformServices services_;
    PassRunner& passes_;
    // The passes' state, kept by passes.cpp; the handlers ask it.
    bool passRunning_ = false;
    bool clearRunning_ = false;
    // A clear asked for during a count, with the selection it was asked with; it starts when
    // the count ends.
    std::optional<StoreSelection> pendingClear_;
    // A close that came while a pass could not be waited for; the pass's end closes.
    bool closePending_ = false;
};
