// The window's layout loaders: the layout files of the current language on disk, into the
// window's tables. A missing file ends the program with one message (EndWithMessage).
#include "ui/pages/skin_layout_win32.h"

#include <array>

#include "ui/pages/skin_layout.h"
#include "ui/pages/win32_skin_layout_files.h"
#include "ui/window/main_window.h"

RECT g_groupNameEditRect{};
RECT g_macroNameEditRect{};
RECT g_repeatCountEditRect{};
RECT g_macroListRect{};
RECT g_eventListRect{};
RECT g_lightListRect{};

void CTEV_KestraDlg::ReadIniRecord(const std::u16string& path, const std::u16string& section, int key,
                                   std::array<std::u16string, 7>& fields)
{
    std::unique_ptr<IniSource> file = Win32SkinLayoutFiles().Open(path);
    if (!file) {
        fields = {};
        EndWithMessage(kMissingLayoutMessage);
        return;
    }
    ::ReadIniRecord(*file, section, key, fields);
}

void CTEV_KestraDlg::LoadSkinMainLayout()
{
    Win32SkinLayoutFiles files;
    if (!::LoadSkinMainLayout(files, m_mainPos, m_mainText)) EndWithMessage(kMissingLayoutMessage);
}

void CTEV_KestraDlg::LoadSkinAdvanceLayout()
{
    Win32SkinLayoutFiles files;
    if (!::LoadSkinAdvanceLayout(files, m_advancedPos, m_advancedText)) EndWithMessage(kMissingLayoutMessage);
}

void CTEV_KestraDlg::LoadSkinColorLayout()
{
    Win32SkinLayoutFiles files;
    if (!::LoadSkinColorLayout(files, m_ledPos, m_ledText)) EndWithMessage(kMissingLayoutMessage);
}

void CTEV_KestraDlg::LoadSkinMacroLayout()
{
    Win32SkinLayoutFiles files;
    MacroControlRects controls{};
    const bool found = ::LoadSkinMacroLayout(files, m_macroPos, m_macroText, controls);
    const std::array<RECT*, kMacroControlRects> targets = {&g_groupNameEditRect, &g_macroNameEditRect,
                                                           &g_repeatCountEditRect, &g_macroListRect,
                                                           &g_eventListRect, &g_lightListRect};
    for (size_t i = 0; i < targets.size(); ++i) {
        *targets[i] = {controls[i].left, controls[i].top, controls[i].right, controls[i].bottom};
    }
    if (!found) EndWithMessage(kMissingLayoutMessage);
}

void CTEV_KestraDlg::LoadWarningLayout()
{
    Win32SkinLayoutFiles files;
    if (!::LoadWarningLayout(files)) EndWithMessage(kMissingLayoutMessage);
}
