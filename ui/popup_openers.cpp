#include "ui/popup_openers.h"

#include "ui/mac_sel_menu_dlg.h"
#include "ui/menu_dlg.h"
#include "ui/sub_menu_dlg.h"
#include "ui/warning_dlg.h"

CMenuDlg* g_pMenuPopup = nullptr;
CSubMenuDlg* g_pSubMenuPopup = nullptr;
MacSelMenuDlg* g_pMacroChoicePopup = nullptr;

CMenuDlg* OpenMenuPopup(HWND, int mode, const PopupPlace&)
{
    g_menuMode = mode;
    return nullptr;
}
void CloseMenuPopup() {}
bool MenuPopupShown() { return false; }
void TakeSubMenuChoice() { g_subMenuChosen = 0; }
void OpenProfilePopup(CTEV_KestraDlg&) { g_popupOwnerButton = 11; }
void OpenFunctionPopup(CTEV_KestraDlg&, int buttonId) { g_popupOwnerButton = buttonId; }
void OpenLedEffectPopup(CTEV_KestraDlg&) { g_popupOwnerButton = 35; }
void OpenReactionPopup(CTEV_KestraDlg&, int) {}

SkinRect ScreenRectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}
