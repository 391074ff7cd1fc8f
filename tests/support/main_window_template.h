// The main window's controls as its dialog template starts them, and its string table, for
// the stand-in window.
#pragma once

#include "platform/memory/memory_platform.h"
#include "platform/memory/memory_window.h"
#include "res/resource.h"

inline MemoryWindow::Controls MainWindowTemplate() {
    MemoryWindow::Controls controls;
    for (int id : {IDOK, IDC_STATUS, IDC_COOKIES, IDC_URL_LIST, IDC_TEMP_FILES, IDC_HISTORY, IDC_CACHED_COUNT,
                   IDC_COOKIE_COUNT, IDC_HISTORY_COUNT, IDC_SNIFFER, IDC_INTERVAL, IDC_ON_TOP, IDC_CLEAN_MARK,
                   IDC_FOUND_MARK, IDC_PROGRESS, IDC_AUTO_CLEAR}) {
        controls[id];
    }
    controls[IDOK].text = "BRUMIX";
    controls[IDC_STATUS].text = "Static";
    controls[IDC_COOKIES] = {0, false, true, "Including Cookies"};
    controls[IDC_URL_LIST].visible = false;
    controls[IDC_TEMP_FILES].text = "Temporary Internet Files";
    controls[IDC_HISTORY].text = "Internet Explorer History";
    controls[IDC_CACHED_COUNT].text = "Static";
    controls[IDC_COOKIE_COUNT].text = "Static";
    controls[IDC_HISTORY_COUNT].text = "Static";
    controls[IDC_SNIFFER].text = "Sniff";
    controls[IDC_ON_TOP].text = "On Top";
    controls[IDC_CLEAN_MARK].visible = false;
    controls[IDC_AUTO_CLEAR] = {0, false, true, "Auto clear when Minimized"};
    return controls;
}

// Every stand-in, with the window as the program's resources start it: the dialog manager
// gives the focus to the first tab stop.
struct MainWindowPlatform : MemoryPlatform {
    MainWindowPlatform() : MemoryPlatform(MainWindowTemplate()) {
        window.strings[IDS_ABOUTBOX] = "&About Win Brumix...";
        window.tabStops = {IDOK,        IDC_COOKIES,  IDC_URL_LIST, IDC_TEMP_FILES, IDC_HISTORY,
                           IDC_SNIFFER, IDC_INTERVAL, IDC_ON_TOP,   IDC_AUTO_CLEAR};
        window.focus = IDOK;
    }
};
