#include "ui/window/about_dialog.h"

#include "ui/resources/resource_ids.h"

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
