// A main window built over fresh stand-ins, with the process-wide values reset, and what its
// tests seed and look up.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "tests/support/left_open.h"
#include "tests/support/main_window_template.h"
#include "tests/support/store_paths.h"
#include "ui/brumix_dlg.h"
#include "ui/globals.h"

// Spelled out here rather than taken from the program's sources, so that a wrong folder there
// shows up as a failure instead of being agreed with.
inline constexpr char kWindowsCookies[] = "C:\\WINDOWS\\Cookies";

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        g_bIsNT = 1;
        g_strWindowsDir = "C:\\WINDOWS";
        g_nPulsePos = 0;
    }

    MemoryWindow::Control& Control(int id) { return platform.window.control(id); }
    const std::string& Text(int id) { return platform.window.control(id).text; }
    // Each name typed as http://name/.
    void SeedTyped(std::initializer_list<const char*> names) {
        platform.registry.AddKey(kTypedUrlsPath);
        for (const char* name : names)
            platform.registry.SetText(kTypedUrlsPath, name, std::string("http://") + name + "/");
    }
    // Checked and enabled, as the user leaves a box to be cleared.
    void Select(int id) {
        platform.window.SetCheck(id, 1);
        platform.window.EnableControl(id, true);
    }
    // The place of the first event that starts with prefix at or after from, or -1.
    long At(const std::string& prefix, long from = 0) {
        const auto& events = platform.faults.Events();
        const auto found = std::find_if(events.begin() + from, events.end(),
                                        [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
        return found == events.end() ? -1 : static_cast<long>(found - events.begin());
    }

    MainWindowPlatform platform;
    CBrumixDlg dlg{platform.window, platform.Services(), platform.passes};
};
