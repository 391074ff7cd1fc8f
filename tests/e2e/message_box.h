// Reads a message box of another process: its caption, text, buttons and which icon it shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/brumix_process.h"

namespace e2e {

struct MessageBoxView {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // ids of the visible buttons
    // "none", "exclamation", "hand", "asterisk", "question", or what went wrong in telling.
    std::string icon;
};

// The icon is told by its pixels on screen, since another process's icon handle means nothing
// here; the box is polled until it has been painted or the limit passes.
MessageBoxView ReadMessageBox(HWND box, Millis limit = Millis(5000));

}  // namespace e2e
