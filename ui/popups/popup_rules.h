#pragma once
// The pop-ups' rules without their windows: rows, row heights, text places, hit-testing, where a
// second level opens, and what a choice writes into the settings. Platform-free.
#include <cstdint>
#include <string>

#include "settings/button_assignment.h"
#include "ui/popups/popup_state.h"

// What a function pop-up's choice writes, taken when the pop-up opens, so that a pointer that
// moved on (a hover id back to BUTTON_NONE, another light block selected) cannot redirect it.
struct MenuCapture {
    int assignButtonId = 0;   // mode 1: main-layout id 20..28
    int ledButtonId = 0;      // mode 5: lighting-layout id 61..69
    uint32_t macroSlot = 0;   // modes 6, 7: slot of g_macroTable
    uint8_t lightBlock = 0;   // modes 6, 7: block of that macro
};
// The capture of a pop-up of `mode` opening now.
MenuCapture CaptureMenuTarget(int mode);

// Rows a pop-up of mode lists (0 for a mode past the eight).
int MenuRowCount(int mode, uint8_t macroGroupCount);
// Row height from the height of the mode's mask image.
int MenuRowHeight(int mode, int32_t maskHeight);
// Left edge of row text of the given width in a pop-up W wide.
int MenuTextX(int mode, int32_t width, int32_t textWidth);
// Text of row r (1-based); empty for no text.
std::u16string MenuRowText(int mode, int row);

// Row (1-based) whose band [(r - 1) h, r h) holds y, for x in [0, width); BUTTON_NONE otherwise.
int RowAt(int32_t x, int32_t y, int32_t width, int32_t rowHeight, int rows);
// y of row text of the given height in row r, centred in the band.
int32_t RowTextY(int row, int32_t rowHeight, int32_t textHeight);

// A message a choice sends to the main window.
struct MenuMessage {
    uint32_t message = 0;  // 0: none
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// What a release on a row of a function pop-up did.
struct MenuChoice {
    bool chosen = false;           // a valid row: the pop-up closes
    bool repaintOwner = false;     // the main window is repainted
    MenuMessage message;
};

// The release on `row` of a pop-up of `mode`: writes the settings the row stands for and says
// what follows. Rows outside the mode's valid rows, and captures outside their ranges, change
// nothing.
MenuChoice ApplyMenuChoice(int mode, int row, const MenuCapture& capture);

// After a button's function was stored: on the first profile, when no button holds the left
// click any more, the button after the changed one (or the changed one, when it is the last)
// gets it back. assignButtonId outside 20..28 changes nothing.
void ApplyLeftClickGuard(int assignButtonId);

// The function pop-up's row (7 to 10) a second-level pop-up belongs to: its rows and codes.
int SubMenuRowCount(int parentRow, uint8_t macroGroupCount);
// The code of row r of parent row 7, 8 or 10; 0 for a row it does not have (and for row 9).
ButtonAssignmentCode SubMenuCode(int parentRow, int row);
// Text of row r.
std::u16string SubMenuRowText(int parentRow, int row);
// Top of the second-level pop-up beside parent row 7 to 10 of a pop-up whose top is `top`.
int32_t SubMenuTop(int parentRow, int32_t top, int32_t rowHeight, uint8_t macroGroupCount);
// Stores the code of row r for the captured mouse button, then the left-click guard. False for
// a row that gives no code.
bool ApplySubMenuChoice(int parentRow, int row, int assignButtonId);

// The macro choice pop-up of group row g (1-based): its rows (0 for a group that is not there),
// the name of its macro row r, and its top beside the second-level pop-up's top.
int MacroChoiceRowCount(int groupRow);
std::u16string MacroChoiceRowText(int groupRow, int row);
int32_t MacroChoiceTop(int groupRow, int32_t top, int32_t rowHeight);
// Binds macro row r of group row g to the captured mouse button when both are there, then the
// left-click guard (which runs in any case). True when a macro was bound.
bool ApplyMacroChoice(int groupRow, int row, int assignButtonId);
