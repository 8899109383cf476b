#pragma once
// What the macro page's editing commands and the recorder share between a right-click, the
// command it leads to and the end of an in-place edit. User-interface thread only.
#include <cstdint>
#include <span>
#include <string>

#include "macros/macro_page_text.h"
#include "macros/macro_recorder.h"

extern int32_t g_eventLineSel;     // the event list's selected line at the right-click or edit end, -1 none
extern int32_t g_selectedEvent;    // g_eventLineSel / 2: the event the commands act on
extern int32_t g_macroListSel;     // the macro list's selected line, at most 11
extern int32_t g_eventLineCount;   // the event list's line count at the right-click
extern MacroRecorder g_macroRecorder;

// The open macro's slot: g_currentMacro kept inside the group's twelve.
uint32_t OpenMacroSlot();
// Makes `macro` the open one, under g_macroStoreLock: the step download and the paint read it
// from other threads.
void SetOpenMacro(uint32_t macro);

// The page reads g_macroTable only through these: the step download writes records of the open
// group from the device input thread, under g_macroStoreLock.
// A copy of record `slot` taken under the lock (an empty record past the table).
MacroRecord MacroTableCopy(uint32_t slot);
// Block `block` of record `slot` shown under the lock (showing puts step 0 in the editor's form,
// in the table); no line past the table or the blocks.
LightBlockLines ShowMacroTableLightBlock(uint32_t slot, uint8_t block, bool english,
                                         std::span<const std::u16string> modeNames);
// FindMacroByName over the first `count` records, under the lock.
size_t FindMacroTableName(uint16_t count, std::u16string_view name);
