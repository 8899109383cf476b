// Frame buttons 4 and 5: the whole interface in Spanish or English, chosen at run time and kept
// in config.ini for the next start.
#include <mutex>

#include "macros/macro_commands.h"
#include "macros/macro_record.h"
#include "settings/config_ini_file.h"
#include "settings/file_write_failure.h"
#include "settings/settings_state.h"
#include "ui/pages/led_mode_names.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"

void CTEV_KestraDlg::SwitchToSpanish() { SwitchLanguage(0); }

void CTEV_KestraDlg::SwitchToEnglish() { SwitchLanguage(1); }

void CTEV_KestraDlg::SwitchLanguage(uint32_t language)
{
    // Nothing of the open macro is saved here: every edit was saved, with the key layout of its
    // language, when it was made.
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
    if (!WriteVerSel(g_configIniPath, language)) ReportWriteFailure(g_configIniPath);

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
