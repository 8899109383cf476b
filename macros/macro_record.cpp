#include "macros/macro_record.h"

#include <algorithm>

std::array<MacroRecord, kMacroTableSlots> g_macroTable{};
uint16_t g_macroCount = 0;
uint32_t g_currentMacro = 0;
std::array<MacroRecord, kConstMacroSlots> g_constMacroTable{};
uint16_t g_constMacroCount = 0;
MacroRecord g_activeMacro{};
std::recursive_mutex g_macroStoreLock;

uint32_t MacroCpiValue(uint16_t level)
{
    switch (level) {
    case 1: return 200;
    case 2: return 400;
    case 3: return 600;
    case 4: return 800;
    case 5: return 1000;
    case 6: return 1200;
    case 7:
    case 8: return 1600;
    case 9:
    case 10: return 2000;
    case 11:
    case 12: return 2400;
    case 13: return 3200;
    case 14: return 4000;
    case 15: return 4800;
    default: return 800;
    }
}

MacroEvent MacroRecord::Event(size_t index) const
{
    if (index >= kMaxMacroEvents) return {};
    return {actions[index], codes[index], params[index].x, params[index].y, delays[index]};
}

void MacroRecord::SetEvent(size_t index, const MacroEvent& event)
{
    if (index >= kMaxMacroEvents) return;
    actions[index] = event.action;
    codes[index] = event.code;
    params[index] = {event.x, event.y};
    delays[index] = event.delay;
}

void ClearMacroRecord(MacroRecord* table, uint8_t index)
{
    table[index] = MacroRecord{};
}

void ClearMacroTable()
{
    std::lock_guard lock(g_macroStoreLock);
    g_macroTable.fill(MacroRecord{});
    g_macroCount = 0;
}

void ClampMacroRecord(MacroRecord& record)
{
    record.name.back() = u'\0';
    record.eventCount = std::min<uint16_t>(record.eventCount, kMaxMacroEvents);
    record.moveCount = std::min(record.moveCount, kMaxMoveEvents);
    record.countF7 = std::min(record.countF7, kMaxCountedEvents);
    record.cpiCount = std::min(record.cpiCount, kMaxCountedEvents);
    record.countFA = std::min(record.countFA, kMaxCountedEvents);
    record.lightCount = std::min<uint8_t>(record.lightCount, kLightBlockCount);
    record.light2Count = std::min<uint8_t>(record.light2Count, kLightBlockCount);
    for (auto* blocks : {&record.lightBlocks, &record.light2Blocks})
        for (LightBlock& block : *blocks)
            block.stepCount = std::min<uint8_t>(block.stepCount, kLightBlockSteps);
}
