// The About box: a template and nothing else; OK, Enter, Escape and the close box end it.
#pragma once

#include "app/dialog.h"
#include "res/resource.h"

class CAboutDlg final : public CDialog {
public:
    explicit CAboutDlg(HINSTANCE instance) : CDialog(instance, IDD_ABOUTBOX) {}
};
