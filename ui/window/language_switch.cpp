// Frame buttons 4 and 5: the whole interface in Spanish or English, chosen at run time and kept
// in config.ini for the next start.
#include <mutex>

#include "macros/macro_commands.h"
#include "macros/macro_record.h"
#include "settings/config_ini_file.h"
#include "settings/settings_state.h"
#include "ui/pages/led_mode_names.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"

void CTEV_KestraDlg::SwitchToSpanish() { SwitchLanguage(0); }

void CTEV_KestraDlg::SwitchToEnglish() { SwitchLanguage(1); }

void CTEV_KestraDlg::SwitchLanguage(uint32_t language)
{
    // The open macro goes into the group file of the language being left, with its key layout,
    // before anything changes. Without a group there is no file to write it to: nothing is saved.
    // Nor is anything saved when no macro is open (an empty group, or one whose count the file
    // gives as negative): an empty record would replace a line the file still holds.
    if (g_macroGroupCount != 0 && g_currentMacro < g_macroCount)
        SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), g_currentMacro);

    {
        std::lock_guard lock(g_settingsMutex);
        g_languageEnglish = language;
    }
    FillLedModeNames();

    LoadSkinMainLayout();
    LoadSkinColorLayout();
    LoadSkinAdvanceLayout();
    LoadSkinMacroLayout();
    LoadWarningLayout();
    // A missing layout of the new language has ended the program with its message; the next
    // start keeps the language that was whole.
    if (m_ending) return;
    WriteVerSel(g_configIniPath, language);

    // With no group to open the editor's table is emptied: it must not keep the left language's
    // macros, which a new group would otherwise take over with the other keyboard layout.
    LoadLanguageMacroGroups();
    if (g_page == kPageMacro) {
        RefreshMacroLists();
        UpdateMacroNameEdits();
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    LoadLanguageMenus(language);
    View().SetText(kMainWindowTitle);
}
