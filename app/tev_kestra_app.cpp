#include "app/tev_kestra_app.h"

#include <commctrl.h>

#include "base/module_path.h"
#include "base/program_folder.h"
#include "device/program_device_link.h"
#include "macros/macro_commands.h"
#include "macros/win32_profile_files.h"
#include "settings/settings_state.h"
#include "ui/popups/win32_user_prompts.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_run.h"
#include "winlib/unique_handle.h"

CTEV_KestraApp::CTEV_KestraApp()
{
    std::lock_guard lock(g_settingsMutex);
    g_programFolder = FolderOfModulePath(ModuleFilePath());
}

BOOL CTEV_KestraApp::InitInstance()
{
    // Held for the life of the process.
    static UniqueHandle instanceMutex;
    instanceMutex.Reset(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND first = FindWindowW(nullptr, kMainWindowTitle)) ShowWindow(first, SW_RESTORE);
        instanceMutex.Reset();
        return FALSE;
    }

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Win32ProfileFiles files;
    SetProfileFiles(&files);
    Win32UserPrompts prompts;
    SetPrompts(&prompts);
    SetExitStatus(RunMainWindow([] { return std::make_unique<CTEV_KestraDlg>(); }));
    SetPrompts(nullptr);
    SetProfileFiles(nullptr);
    return FALSE;
}
