// Resource and control ids of the program, shared by the code and the resource script
// (plain defines, so that the resource compiler reads them too).
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDD_KEEP_COOKIES 103
#define IDR_MAINFRAME 128
#define IDI_CLEAN 130
#define IDI_FOUND 131

#define IDM_ABOUTBOX 0x0010
// The system menu's entries after the About entry.
#define IDM_VISITED 0x0040
#define IDM_KEEP_COOKIES 0x0050
// The "Other browsers" submenu: the first browser's entry, each next one 0x10 after it (a system
// command keeps its low four bits clear).
#define IDM_BROWSERS_FIRST 0x0100

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

#define IDC_COOKIES 1000
#define IDC_TEMP_FILES 1001
#define IDC_HISTORY 1002
#define IDC_STATUS 1004
#define IDC_URL_LIST 1006
#define IDC_CACHED_COUNT 1007
#define IDC_COOKIE_COUNT 1008
#define IDC_HISTORY_COUNT 1010
#define IDC_SNIFFER 1011
#define IDC_INTERVAL 1012
#define IDC_ON_TOP 1013
#define IDC_FOUND_MARK 1014
#define IDC_CLEAN_MARK 1015
#define IDC_PROGRESS 1016
#define IDC_AUTO_CLEAR 1017
#define IDC_ABOUT_VERSION 1018

// The "Cookies to keep" dialog.
#define IDC_KEEP_FOUND 1101
#define IDC_KEEP_MOVE 1102
#define IDC_KEEP_RETURN 1103
#define IDC_KEEP_LIST 1104
#define IDC_KEEP_TYPED 1105
#define IDC_KEEP_ADD 1106

#define ID_SNIFF_TIMER 1
#define ID_PULSE_TIMER 2
// While a pass runs: the window's thread looks for hand-overs whose wake-up was lost.
#define ID_HANDOVER_TIMER 3
