// The main window's logic: every handler over the cleaning engine and the window interface,
// so that it runs the same against Win32 and against the stand-ins.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pass_runner.h"
#include "platform/platform_services.h"
#include "platform/window.h"
#include "settings/settings_store.h"
#include "sweep/cookie_folder_sweep.h"
#include "sweep/sweep.h"

class CKeepCookiesDlg;

class CBrumixDlg {
public:
    // brumix_dlg.cpp: construction, initialisation, painting. Every count and clear runs as a
    // pass on passes' worker; the handlers, which the host calls, run on the window's thread.
    CBrumixDlg(Window& window, const PlatformServices& services, PassRunner& passes);
    bool OnInitDialog();
    // What the host does with a system command: the About box and the cookies to keep are
    // dialogs it opens; a checked option is the logic's own; Default goes to the default
    // handling.
    enum class SystemCommand { Default, About, KeepCookies, Handled };
    // The options after the About entry, one row each in system_menu.h; the "Other browsers"
    // submenu after them.
    static constexpr std::size_t kMenuOptionCount = 2;
    SystemCommand OnSysCommand(std::uint32_t command);
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

    // brumix_dlg.cpp: the "Cookies to keep" dialog's way to the passes. While it is attached,
    // each count collects the sites of the cookies it meets, for the dialog; attaching starts
    // one. Null when it closes.
    void AttachKeepCookies(CKeepCookiesDlg* dialog);
    // A count now, or once the running pass has ended: a pass takes what it counts at its start.
    void CountAgain();

    // remembered_choices.cpp: the choices restored and saved, and the close.
    void RestoreSettings();
    void SaveSettings();
    void OnCancel();
    // The session ends (log-off, shutdown) without a close: the choices are kept all the same.
    // closeApp: the system asks this program alone to close (so that a file it holds can be
    // replaced); that is a close.
    void OnEndSession(bool ending, bool closeApp);

    // display.cpp: the engine's sweep over some kinds, as a pass runs it, and what it found
    // handed to the window's thread. Called on the worker; a runner that runs passes where they
    // are started (the stand-in) lets a test call them directly. The cache's content with the
    // pages visited when the pass counts them, the cookie folder alone (shown nowhere), the
    // typed addresses.
    int ScanCache(int bDeleteCookies, int bCountOnly);
    int SweepCookieFolder(int bDelete, int bCountOnly);
    int ScanTypedUrls(int bCountOnly);

private:
    // What a clear left that its end tells instead of "Done!".
    struct ClearOutcome {
        // The list of cookies to keep cannot be read: every cookie was kept.
        bool cookiesHeld = false;
        // The browsers left whole because they run, by their rows in the submenu's order.
        std::vector<std::size_t> inUse;
        // Databases left whole as their layout is not known, each named with its browser and
        // profile; the row of the first browser with one.
        std::vector<std::string> layoutsUnknown;
        std::optional<std::size_t> firstLayoutUnknown;
    };
    static ClearOutcome OutcomeOf(const SweepResult& cleared);

    // display.h, display.cpp: the pass's observer, and what each sweep leaves on screen.
    class Display;
    // browsers: the other browsers the sweep reaches beside the system browser's stores.
    SweepResult SweepAndShow(KindSet kinds, bool deleteItems, bool collectSites = false, SourceSet browsers = {});
    SweepRequest Request(KindSet kinds, bool deleteItems) const;
    void ShowFound(bool found);
    void FillUrlList(std::vector<std::string>& names);
    void ShowNotDeleted(const std::string& name);
    // The history counter; withFound: the marks follow it (the typed addresses alone).
    void ShowHistory(int count, bool withFound);
    // The cache's content: its two counters, the marks and the title.
    void ShowContent(int cachedFiles, int cookies, bool found);
    void ShowCookieSites(std::vector<std::string> sites);
    CookieFolderPlace CookiePlace() const;

    // brumix_dlg.cpp
    void QueryPlatform();
    void ToggleOption(std::size_t option);
    // What the options ticked now add to a choice.
    KindChoice OptionsChoice() const;

    // sniffer.cpp
    void SetupSliderAndProgress();

    // other_browsers.cpp: the "Other browsers" submenu, the choice remembered, and what a clear
    // left of them on the status line.
    void AddBrowsersMenu();
    void RestoreBrowsers(const SettingValues& stored);
    void ToggleBrowser(std::size_t at);
    // The value written back: the stored text while the choice is what it says, else the chosen
    // ids with the words this release does not know after them.
    std::string BrowsersText() const;
    void SaveBrowsers();
    // The status line; its tip says more, or is the maker's address again when tip is empty.
    void ShowStatus(const std::string& text, const std::string& tip = {});
    void ShowClearOutcome(const ClearOutcome& outcome);

    // passes.cpp: the passes; a clear (with its count) when a selection is given, else a count.
    void StartPass(const std::optional<KindSet>& clear);
    void OnPassEnded(bool completed);
    // What the window counts: every kind its counters show, as the options taken at the pass's
    // start say.
    KindSet CountedByWindow() const;
    enum class PassStop {
        Ended,
        // This runs inside a box the pass is waiting for (the box is ended): the pass's end
        // takes over.
        LeftToPass,
        // The pass is still in a call that has not returned; the window goes on without it.
        Abandoned,
    };
    // Asks a running pass to stop and waits a few seconds at most for its end.
    PassStop StopPass();
    // From the click on Clear to the end of that clear, also while it waits for a count.
    bool ClearUnderway() const { return clearRunning_ || pendingClear_.has_value(); }
    void DisableClear();
    // The clear has ended (or will not start): the button and the cookie box come back, and a
    // click on the temporary-files box made meanwhile takes its effect on the cookie box.
    void EndClear(bool done);

    // check_boxes.cpp
    // Disabling the control that has the keyboard focus would leave none with it.
    void DisableControl(int id);
    void ApplyTempFilesToCookies();

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
    std::optional<KindSet> pendingClear_;
    // A close that came while a pass could not be waited for; the pass's end closes.
    bool closePending_ = false;
    // The temporary-files box was clicked while a clear was underway.
    bool tempClickedDuringClear_ = false;
    // What the running clear left that its end says instead of "Done!". Written on the window's
    // thread, by a hand-over.
    ClearOutcome clearOutcome_;
    // The checked options of the system menu, by their row.
    std::array<bool, kMenuOptionCount> optionChecked_{};
    // The options as the running pass took them at its start; written only while no pass runs.
    KindChoice passChoice_;
    // An option changed during a pass: the window counts again once it ends.
    bool recountPending_ = false;
    CKeepCookiesDlg* keepDialog_ = nullptr;
    // The running pass's counts collect the cookies' sites; written only while no pass runs.
    bool passCollectsSites_ = false;
    // The other browsers chosen, the words of the stored list that name no browser this release
    // knows, and the stored text as read.
    SourceSet browsersChosen_;
    std::vector<std::string> browsersUnknown_;
    std::optional<std::string> browsersStored_;
    // The browsers as the running pass took them at its start; written only while no pass runs.
    SourceSet passBrowsers_;
    // The status line's tip as last set.
    std::string statusTip_;
};
