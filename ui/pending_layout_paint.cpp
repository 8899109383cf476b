#include "ui/pending_layout_paint.h"

#include "ui/main_window.h"

RECT g_groupNameEditRect{};
RECT g_macroNameEditRect{};
RECT g_repeatCountEditRect{};
RECT g_macroListRect{};
RECT g_eventListRect{};
RECT g_lightListRect{};
std::array<ButtonPos, 3> g_warningPos{};

void CTEV_KestraDlg::ReadIniRecord(const std::u16string&, const std::u16string&, int, std::array<std::u16string, 7>& fields)
{
    fields = {};
}
void CTEV_KestraDlg::LoadSkinMainLayout() {}
void CTEV_KestraDlg::LoadSkinAdvanceLayout() {}
void CTEV_KestraDlg::LoadSkinColorLayout() {}
void CTEV_KestraDlg::LoadSkinMacroLayout() {}
void CTEV_KestraDlg::LoadWarningLayout() {}
void CTEV_KestraDlg::PaintWindow(HDC) {}
