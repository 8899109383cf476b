// The main window's commands on config.ini as a whole: import and export through the file
// dialogs, and the profile chosen in the profile pop-up.
#include <mutex>

#include "base/clock.h"
#include "base/user_prompts.h"
#include "settings/config_ini_file.h"
#include "settings/file_write_failure.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/popups/popup_state.h"
#include "ui/window/main_window.h"
#include "winlib/wide.h"

namespace {

constexpr char16_t kIniFilter[] = u"All Files(*.ini)|*.ini||";

bool IsFile(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The file search the export checks its copy with.
bool FileFound(const std::u16string& path)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(AsWide(path), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool HoldsEveryProfile(const std::u16string& path)
{
    for (int n = 1; n <= static_cast<int>(kProfileCount); ++n) {
        if (!ConfigHoldsProfile(path, ProfileSectionName(false, n))) return false;
    }
    return true;
}

}  // namespace

void CTEV_KestraDlg::ImportConfig()
{
    const std::optional<std::u16string> chosen = GetPrompts().ChooseFile(OpenFileRequest(kIniFilter, g_programFolder));
    // An end that came while the dialog was open (Exit, the mouse removed) takes nothing in.
    if (!chosen || !Live()) return;
    // A file that went away while the dialog was open, one without all four profiles (the next
    // start would refuse it as soon as its CurConfig, or a profile chosen later, named a missing
    // one), or one that cannot be copied, leaves config.ini and the settings as they are.
    bool taken = false;
    {
        std::lock_guard lock(g_settingsMutex);
        taken = IsFile(*chosen) && HoldsEveryProfile(*chosen) && ReplaceFileWithCopy(*chosen, g_configIniPath);
        if (taken) LoadProfile(g_configIniPath, static_cast<int>(g_curConfig), false);
    }
    // The message after the lock: a device thread must not wait behind it.
    if (!taken) ShowMessage(u"Error!", MessageStyle::Ok);
}

void CTEV_KestraDlg::ExportConfig()
{
    const std::optional<std::u16string> chosen =
        GetPrompts().ChooseFile(SaveFileRequest(kIniFilter, g_programFolder, u"ini"));
    if (!chosen) return;
    // An older file of the chosen name is found whether or not the copy worked: the copy's own
    // result counts too.
    bool copied = false;
    {
        // A DPI button or a profile switch on the mouse rewrites config.ini under the settings
        // lock: the copy is of the whole file, never of one half rewritten.
        std::lock_guard lock(g_settingsMutex);
        copied = CopyFileW(AsWide(g_configIniPath), AsWide(*chosen), FALSE) != FALSE;
    }
    GetClock().SleepMs(10);
    if (copied && FileFound(*chosen)) {
        View().Invalidate(true);
        View().Update();
    } else {
        ShowMessage(u"Error!", MessageStyle::Ok);
    }
}

LRESULT CTEV_KestraDlg::OnProfileSelected(WPARAM, LPARAM)
{
    std::u16string unwritten;
    {
        // One reading of the chosen profile for the file and the memory: a switch on the mouse
        // between two readings would leave them different.
        std::lock_guard lock(g_settingsMutex);
        const uint32_t chosen = g_currentProfile + 1;
        if (!WriteCurConfig(g_configIniPath, chosen)) unwritten = g_configIniPath;
        g_curConfig = chosen;
    }
    if (!unwritten.empty()) ReportWriteFailure(unwritten);
    g_hoverMainButton = BUTTON_NONE;
    g_popupOwnerButton = BUTTON_NONE;
    // The profile's name and every button name change, most of them outside the pop-up's place.
    View().Invalidate(true);
    return 0;
}
