#pragma once
// What the skinned pop-ups share with the main window: which skin button's pop-up is open, where
// pop-ups are placed, the row under the pointer at each of the three levels, and what a choice in
// the second level leaves for the main window's paint. Only the user-interface thread touches
// these. Platform-free.
#include <cstdint>

#include "settings/button_assignment.h"
#include "ui/pages/skin_layout.h"
#include "ui/pages/skin_types.h"

// MenuMode: what the function pop-up (CMenuDlg) lists; set by its opener.
enum MenuMode : int {
    kMenuProfiles = 0,
    kMenuFunctions = 1,
    kMenuMacroGroups = 2,
    kMenuFileCommands = 3,
    kMenuLedEffects = 4,
    kMenuReactionTypes = 5,
    kMenuLightModes = 6,
    kMenuLightColours = 7,
};
constexpr int kMenuModeCount = 8;

// A screen point.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The function pop-up.
extern int g_menuMode;              // MenuMode of the open (or next) pop-up
extern int g_menuHoverRow;          // 1-based row under the pointer, BUTTON_NONE for none
extern int g_menuHoverPrevious;     // its value at the last change
extern uint8_t g_menuPressed;       // 1 while the left button is held on the pop-up
extern uint8_t g_menuPopupOpen;     // 1 from the opening of a pop-up until its opener's page clears it
extern int g_popupOwnerButton;      // hover id of the skin button whose pop-up is open, BUTTON_NONE
extern int g_assignButtonId;        // main-layout id 20..28 of the mouse button being given a function
extern SkinRect g_mainWindowRect;   // screen rectangle of the main window, read when a pop-up is placed
extern ScreenPoint g_popupPos;      // where the function pop-up and the warning box are placed
extern uint8_t g_lightBlockIndex;   // light block of the open macro the light pop-ups (modes 6, 7) edit
// The group chosen in the group pop-up, for the main window to open in one step with the table
// (kNoChosenGroup: none; the window then reopens the open group).
constexpr uint8_t kNoChosenGroup = 0xFF;
extern uint8_t g_chosenMacroGroup;

// The second-level pop-up (CSubMenuDlg).
extern uint8_t g_subMenuPopupOpen;       // 1 while it is open
extern uint8_t g_subMenuMacroMode;       // 1 when it lists the macro groups (function row 9)
extern int g_subMenuHoverRow;            // 1-based, BUTTON_NONE for none
extern int g_subMenuHoverPrevious;
extern int g_subMenuRowCount;
extern uint8_t g_subMenuChosen;          // a choice was made there; the main window's paint clears it
extern ButtonAssignmentCode g_subMenuCode;  // the code last chosen there

// The macro choice pop-up (MacSelMenuDlg).
extern uint8_t g_macroChoicePopupOpen;   // 1 while it is open

// The warning box (WarningDlg): the size of its mask image and the button under the pointer
// (1 go on, 2 cancel, BUTTON_NONE); the hover values start at 0 and last from one opening to the
// next.
extern int32_t g_warningWidth;
extern int32_t g_warningHeight;
extern int32_t g_warningHover;
extern int32_t g_warningHoverPrevious;

// Everything above back to its start value.
void ResetPopupState();
