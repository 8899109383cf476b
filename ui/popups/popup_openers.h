#pragma once
// Opening and closing the skinned pop-ups from the main window's presses. Each opener places its
// pop-up below the skin rectangle it belongs to (screen coordinates from the window's rectangle,
// g_mainWindowRect) and leaves the pop-up state (popup_state.h) as the press expects it. At most
// one function pop-up is open: opening one closes the one before, with its second-level and macro
// choice pop-ups.
#include <windows.h>

#include <cstdint>

#include "ui/popups/popup_state.h"

class CTEV_KestraDlg;
class CMenuDlg;
class CSubMenuDlg;
class MacSelMenuDlg;

// The open pop-up of each level, or null. Views: the pop-up chain owns them (popup_chain.h).
extern CMenuDlg* g_pMenuPopup;
extern CSubMenuDlg* g_pSubMenuPopup;
extern MacSelMenuDlg* g_pMacroChoicePopup;

// Where a pop-up window goes, in screen pixels; its own region cuts it down to its rows.
struct PopupPlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// g_menuMode = mode; closes the open pop-ups; creates a CMenuDlg owned by `owner`, moves it to
// `place` and shows it. What a choice in it will write is taken now: mode 1 the mouse button of
// g_assignButtonId, mode 5 the reaction button of g_hoverLedButton, modes 6 and 7 the light block
// g_lightBlockIndex of macro g_currentMacro. Returns the pop-up, null when it could not be made.
CMenuDlg* OpenMenuPopup(HWND owner, int mode, const PopupPlace& place);

// Closes the function pop-up with the pop-ups it owns; harmless when none is open. Called from
// inside a pop-up's own handler (or from a handler that one sends to), the windows are hidden at
// once and destroyed when that handler has returned.
void CloseMenuPopup();

// True while a function pop-up window exists.
bool MenuPopupShown();

// The main window's paint, when a choice in the second-level pop-up was made: clears
// g_subMenuChosen and, on the main page, closes the function pop-up.
void TakeSubMenuChoice();

// Main page id 11: the profile pop-up (mode 0) below rectangle 11; g_popupOwnerButton = 11.
void OpenProfilePopup(CTEV_KestraDlg& window);

// Main page ids 20..28: the function pop-up (mode 1) of mouse button id - 20 below its rectangle.
// On the first profile, when no other button holds the left click, the warning box asks first
// (through the prompts seam, UserPrompts::ShowWarningBox); cancel opens nothing and clears
// g_menuPopupOpen. g_popupOwnerButton = id either way.
void OpenFunctionPopup(CTEV_KestraDlg& window, int buttonId);

// Lighting page id 35: the lighting-effect pop-up (mode 4); g_popupOwnerButton = 35.
void OpenLedEffectPopup(CTEV_KestraDlg& window);

// Lighting page ids 61..69: the reaction-type pop-up (mode 5) of mouse button id - 61. The caller
// sets g_popupOwnerButton back to BUTTON_NONE after the press, as for every other press.
void OpenReactionPopup(CTEV_KestraDlg& window, int ledButtonId);

// The screen rectangle of a window, as g_mainWindowRect keeps it.
SkinRect ScreenRectOf(HWND window);
