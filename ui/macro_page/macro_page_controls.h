#pragma once
// The macro page's control objects. Start-up makes the objects; their windows are created when
// the macro page is built and destroyed when it is left. They live as long as the process.
#include <cstdint>
#include <string>

#include "macros/macro_commands.h"
#include "ui/macro_page/editable_list_box.h"

extern CEdit* g_repeatCountEdit;
extern CEdit* g_macroNameEdit;
extern CMacGroupEdit* g_groupNameEdit;
extern CEditableListBox* g_macroList;
extern CEditableListBox* g_eventList;
extern CEditableListBox* g_lightList;

// Makes the six objects, in the order repeat count, macro name, group name, macro list, event
// list, light list; a second call keeps the ones made.
void CreateMacroPageControlObjects();

// Lines of the event list that show a press ("[↓]") and a release ("[↑]") since it was last
// emptied by a rebuild or the start of a recording.
extern int32_t g_downLineCount;
extern int32_t g_upLineCount;
// Mode of step 0 of the light block last shown in the light list.
extern uint16_t g_lightBlockMode;
// The group name the group-name edit last gave the open group.
extern std::u16string g_spareText1;

// A message box with an OK button, as the macro page shows its messages.
void ShowMacroPageMessage(const std::u16string& text);
// The message for a name a group or a file of the macro folder already has.
void ShowDoubleNameMessage();

// Takes an in-place edit still open in any of the three lists, as its loss of focus would: a
// press of the window's own buttons takes no focus, and the edit must land in the macro it began
// on before anything opens another.
void EndListEdits();

// The repeat-count edit shows `text` set by the program: a display, not an edit, so nothing is
// stored or saved.
void ShowRepeatCount(const std::u16string& text);
