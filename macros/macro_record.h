#pragma once
// One macro in memory, the program-wide macro stores, and the lock that serialises them.
#include <array>
#include <cstdint>
#include <mutex>

constexpr size_t kMacroNameUnits = 10;   // 9 characters and the terminating zero
constexpr size_t kMaxMacroEvents = 180;
constexpr size_t kLightBlockCount = 5;
constexpr size_t kLightBlockSteps = 16;
constexpr size_t kMacroTableSlots = 13;  // slots 0..11 hold the open group, slot 12 stays empty
constexpr size_t kGroupMacroLimit = 12;
constexpr size_t kConstMacroSlots = 13;

// Per-kind limits of the event counters: the editor keeps them, the readers enforce them.
constexpr uint16_t kMaxMoveEvents = 50;
constexpr uint16_t kMaxCountedEvents = 5;  // 0xF7, 0xF8, 0xF9, 0xFA, 0xFB each

// MacroEventCode: the code of an event in memory (key codes are HID keyboard usages).
namespace MacroEventCode {
constexpr uint8_t Delay = 0x00;
constexpr uint8_t FirstKey = 4;
constexpr uint8_t LastKey = 231;
constexpr uint8_t LeftButton = 0xF1;
constexpr uint8_t MiddleButton = 0xF2;
constexpr uint8_t RightButton = 0xF3;
constexpr uint8_t Move = 0xF6;
constexpr uint8_t CountedF7 = 0xF7;
constexpr uint8_t Cpi = 0xF8;
constexpr uint8_t Light = 0xF9;
constexpr uint8_t CountedFA = 0xFA;
constexpr uint8_t Light2 = 0xFB;
}  // namespace MacroEventCode

// MacroEventAction: what an event does with its code.
namespace MacroEventAction {
constexpr uint8_t DelayOnly = 0;
constexpr uint8_t Press = 1;
constexpr uint8_t Release = 2;
constexpr uint8_t MoveMinusXMinusY = 3;
constexpr uint8_t MoveMinusXPlusY = 4;
constexpr uint8_t MovePlusXMinusY = 5;
constexpr uint8_t MovePlusXPlusY = 6;
constexpr uint8_t SetCpi = 9;
constexpr uint8_t ResetCpi = 10;
constexpr uint8_t LightMode0 = 13;
constexpr uint8_t LightMode1 = 14;
constexpr uint8_t LightMode2 = 15;
}  // namespace MacroEventAction

// MacroLoopMode: bits 0-1 of loopMode.
namespace MacroLoopMode {
constexpr uint8_t Mask = 0x03;
constexpr uint8_t Repeat = 0;
constexpr uint8_t Mode1 = 1;
constexpr uint8_t Mode2 = 2;
constexpr uint8_t DeviceFlagBit2 = 0x04;
}  // namespace MacroLoopMode

// MacroCpiLevel: the device CPI codes a 0xF8 event with action 9 carries in X.
namespace MacroCpiLevel {
constexpr uint16_t Cpi200 = 1;
constexpr uint16_t Cpi400 = 2;
constexpr uint16_t Cpi600 = 3;
constexpr uint16_t Cpi800 = 4;
constexpr uint16_t Cpi1000 = 5;
constexpr uint16_t Cpi1200 = 6;
constexpr uint16_t Cpi1600 = 7;
constexpr uint16_t Cpi2000 = 9;
constexpr uint16_t Cpi2400 = 11;
constexpr uint16_t Cpi3200 = 13;
constexpr uint16_t Cpi4000 = 14;
constexpr uint16_t Cpi4800 = 15;
}  // namespace MacroCpiLevel

// The CPI an event list shows for the X of a CPI event (8, 10, 12 are shown like 7, 9, 11;
// anything unknown as 800).
uint32_t MacroCpiValue(uint16_t level);

struct LightStep {
    uint8_t mode;
    uint8_t colour;
    uint8_t time;  // tenths of a second
    uint8_t reserved;
};

// A lighting block, stored byte for byte in macro files and sent to the mouse in part.
struct LightBlock {
    uint8_t stepCount;
    std::array<uint8_t, 3> reserved;
    std::array<LightStep, kLightBlockSteps> steps;
};
static_assert(sizeof(LightBlock) == 68, "a light block is 68 bytes in files and on the device");

struct MacroParam {
    uint16_t x;
    uint16_t y;
};

// Event i of a record, gathered from the four parallel arrays.
struct MacroEvent {
    uint8_t action;
    uint8_t code;
    uint16_t x;
    uint16_t y;
    uint16_t delay;
};

struct MacroRecord {
    std::array<char16_t, kMacroNameUnits> name;
    uint8_t loopMode;
    uint16_t repeatCount;
    uint16_t eventCount;
    uint16_t moveCount;
    uint16_t countF7;
    uint16_t cpiCount;
    uint16_t countFA;
    uint8_t lightCount;
    uint8_t light2Count;
    std::array<uint8_t, kMaxMacroEvents> actions;
    std::array<uint8_t, kMaxMacroEvents> codes;
    std::array<MacroParam, kMaxMacroEvents> params;
    std::array<uint16_t, kMaxMacroEvents> delays;
    std::array<LightBlock, kLightBlockCount> lightBlocks;
    std::array<LightBlock, kLightBlockCount> light2Blocks;

    // Out-of-range indices read as an empty event and are not written.
    MacroEvent Event(size_t index) const;
    void SetEvent(size_t index, const MacroEvent& event);
};

// Every field zero: empty name, no events, no light blocks.
void ClearMacroRecord(MacroRecord* table, uint8_t index);

// Brings the counters and step counts of a record read from outside back inside the record's
// arrays and the per-kind limits, and makes the name end within its field.
void ClampMacroRecord(MacroRecord& record);

// Record stores. g_macroTable and g_macroCount are written by the user-interface thread (editor,
// group loads) and by the device input thread (step download): every writer of either, and every
// writer of a group's macro file, holds g_macroStoreLock while it does so. The macro file
// functions take it themselves; it is recursive so that a holder may call them.
// The group list (g_macroGroupCount, g_macroGroupNames, g_currentGroup, macro_groups.h) is read
// by the step download on the device input thread to find a macro's file, so every writer of
// the list (the group loads, and whatever renames, imports or restores groups) holds the lock
// too. A change of the open group changes list, open group, count, table and macro folder in one
// section under the lock (macro_group_change.h), never in several; g_currentMacro, read by the
// step download and the paint, is written under it too (SetOpenMacro). Never show a message while
// holding it: a device thread would wait behind the box. No device traffic goes out under it
// either: the step download holds it while it reads and writes the record and its file, and
// sends the stream after.
// One writer takes no lock: the recording's key filter, which the system-wide keyboard hook waits
// for (every key of the desktop stalls while it waits), writes the record being recorded bare.
// That record belongs to the recording: the step download leaves it alone (it drops a step for
// it, judged under the lock, where the recording starts and stops), and everything else that
// touches it runs on the user-interface thread, as the key filter does.
extern std::array<MacroRecord, kMacroTableSlots> g_macroTable;
extern uint16_t g_macroCount;
extern uint32_t g_currentMacro;
extern std::array<MacroRecord, kConstMacroSlots> g_constMacroTable;
extern uint16_t g_constMacroCount;
extern MacroRecord g_activeMacro;
extern std::recursive_mutex g_macroStoreLock;

// No macro open: every record of g_macroTable cleared and g_macroCount 0 (takes the lock).
void ClearMacroTable();
