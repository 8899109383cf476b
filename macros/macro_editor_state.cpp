#include "macros/macro_editor_state.h"

#include <algorithm>
#include <mutex>

#include "macros/macro_event_edit.h"
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

MacroRecord MacroTableCopy(uint32_t slot)
{
    std::lock_guard lock(g_macroStoreLock);
    return slot < g_macroTable.size() ? g_macroTable[slot] : MacroRecord{};
}

LightBlockLines ShowMacroTableLightBlock(uint32_t slot, uint8_t block, bool english,
                                         std::span<const std::u16string> modeNames)
{
    if (slot >= g_macroTable.size() || block >= kLightBlockCount) return {};
    std::lock_guard lock(g_macroStoreLock);
    return ShowLightBlock(g_macroTable[slot].lightBlocks[block], english, modeNames);
}

size_t FindMacroTableName(uint16_t count, std::u16string_view name)
{
    std::lock_guard lock(g_macroStoreLock);
    return FindMacroByName(std::span(g_macroTable).first(std::min<size_t>(count, g_macroTable.size())), name);
}
