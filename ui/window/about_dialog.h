#pragma once
// The About box of the system menu (template 100).
#include "winlib/dialog.h"

class CAboutDlg : public Dialog {
public:
    CAboutDlg();
};
