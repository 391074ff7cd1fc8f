// The About box: the template, with its version line written from the executable's version
// record; OK, Enter, Escape and the close box end it.
#pragma once

#include "app/dialog.h"
#include "res/resource.h"

class CAboutDlg final : public CDialog {
public:
    explicit CAboutDlg(HINSTANCE instance) : CDialog(instance, IDD_ABOUTBOX) {}

protected:
    bool OnInitDialog() override;
};
