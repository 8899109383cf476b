#include "ui/warning_dlg.h"

INT_PTR RunWarningBox(HWND) { return WarningResult::GoOn; }
