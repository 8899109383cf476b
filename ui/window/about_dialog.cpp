#include "ui/about_dialog.h"

#include "app/resource_ids.h"

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
