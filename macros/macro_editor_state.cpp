#include "macros/macro_editor_state.h"

#include <algorithm>
#include <mutex>

#include "macros/macro_record.h"

int32_t g_eventLineSel = 0;
int32_t g_selectedEvent = 0;
int32_t g_macroListSel = 0;
int32_t g_eventLineCount = 0;
MacroRecorder g_macroRecorder;

uint32_t OpenMacroSlot() { return std::min<uint32_t>(g_currentMacro, kGroupMacroLimit - 1); }

void SetOpenMacro(uint32_t macro)
{
    std::lock_guard lock(g_macroStoreLock);
    g_currentMacro = macro;
}
