#pragma once
// The editor's operations on one macro record: insert an event with its per-kind defaults and
// limits, delete one, and find a macro by name. Platform-free: the window shows the messages and
// rebuilds its lists.
#include <cstdint>
#include <span>
#include <string_view>

#include "macros/macro_record.h"

enum class MacroEditResult : uint8_t {
    Done,
    MoreThanLimit,  // the record already holds 180 events
    Error,          // a per-kind limit, or light-block indexes that do not match the counter
};

// The step count of a light block made by the editor.
constexpr uint8_t kNewLightBlockSteps = 1;
// X of a new move event: a value the move limit (100) accepts, shown and edited in the list.
constexpr uint16_t kNewMoveX = 10;
constexpr uint16_t kNewMoveY = 10;
constexpr uint16_t kNewEventDelay = 5;

// Inserts event (code, action) so that it becomes event `position` (clamped into 0..eventCount).
// Moves (0xF6), CPI changes (0xF8) and light events (0xF9) get their defaults and counters, a light
// event a fresh block with the later blocks renumbered; any other code (mouse buttons, a delay)
// keeps the parameter its slot held.
MacroEditResult InsertMacroEvent(MacroRecord& record, int32_t position, uint8_t code, uint8_t action);

// Deletes event `index` with its counter and, for light events, its block (the later blocks move
// down). False when there is no such event.
bool DeleteMacroEvent(MacroRecord& record, int32_t index);

// Index of the first record among `table` whose name equals `name` exactly, table.size() when none.
size_t FindMacroByName(std::span<const MacroRecord> table, std::u16string_view name);

// The name a record holds, up to its terminating zero.
std::u16string_view MacroName(const MacroRecord& record);
