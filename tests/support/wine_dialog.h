// The main window's logic built over the real Win32 stores, with the in-memory window
// standing in for the dialog so that its texts, marks and boxes can be read back.
#pragma once

#include <string>

#include "platform/memory/counting_heap.h"
#include "platform/memory/faults.h"
#include "platform/memory/memory_pass_runner.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/main_window_template.h"
#include "ui/brumix_dlg.h"

struct WineDialog {
    Faults faults;
    MemoryWindow window{faults, MainWindowTemplate()};
    Win32Platform stores;
    // The process heap, counted, so that a test can see the blocks a walk took.
    CountingHeap heap{faults};
    // Each pass runs where it is started, so a sweep has ended when its call returns.
    MemoryPassRunner passes;
    CBrumixDlg dlg{window, Services(), passes};

    PlatformServices Services() { return stores.Services(heap); }

    const std::string& Text(int id) { return window.control(id).text; }
    bool Visible(int id) { return window.control(id).visible; }
};
