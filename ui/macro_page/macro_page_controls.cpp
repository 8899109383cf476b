#include "ui/macro_page/macro_page_controls.h"

#include <algorithm>
#include <initializer_list>

#include "base/user_prompts.h"
#include "macros/macro_commands.h"

CEdit* g_repeatCountEdit = nullptr;
CEdit* g_macroNameEdit = nullptr;
CMacGroupEdit* g_groupNameEdit = nullptr;
CEditableListBox* g_macroList = nullptr;
CEditableListBox* g_eventList = nullptr;
CEditableListBox* g_lightList = nullptr;
int32_t g_downLineCount = 0;
int32_t g_upLineCount = 0;
uint16_t g_lightBlockMode = 0;
std::u16string g_spareText1;

void CreateMacroPageControlObjects()
{
    static CEdit repeatCountEdit;
    static CEdit macroNameEdit;
    static CMacGroupEdit groupNameEdit;
    static CEditableListBox macroList;
    static CEditableListBox eventList;
    static CEditableListBox lightList;
    g_repeatCountEdit = &repeatCountEdit;
    g_macroNameEdit = &macroNameEdit;
    g_groupNameEdit = &groupNameEdit;
    g_macroList = &macroList;
    g_eventList = &eventList;
    g_lightList = &lightList;
}

void ShowMacroPageMessage(const std::u16string& text) { GetPrompts().ShowMessage(text, u"", MessageStyle::Ok); }

void ShowDoubleNameMessage() { ShowMacroPageMessage(g_languageEnglish != 0 ? u"Double name!" : u"¡Nombre ya en uso!"); }

void EndListEdits()
{
    CreateMacroPageControlObjects();
    for (CEditableListBox* list : {g_macroList, g_eventList, g_lightList}) list->EndEdit(true);
}
