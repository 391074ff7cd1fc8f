// A main window built over fresh stand-ins, with the process-wide values reset.
#pragma once

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/support/main_window_template.h"
#include "ui/brumix_dlg.h"
#include "ui/globals.h"

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        g_bIsNT = 1;
        g_strWindowsDir = "C:\\WINDOWS";
        g_nPulsePos = 0;
    }

    MainWindowPlatform platform;
    CBrumixDlg dlg{platform.window, platform.Services(), platform.passes};

    MemoryWindow::Control& Control(int id) { return platform.window.control(id); }
    const std::string& Text(int id) { return platform.window.control(id).text; }
};
