#pragma once
// The tables the apply builds and keeps until the next apply. The button-action thread reads the
// button flags, the step download the slot-0 stream; both read them under g_settingsMutex, which
// the apply holds from its first step to its last.
#include <array>
#include <cstdint>

#include "device/device_memory_map.h"

using ProfileSlotCodes = std::array<std::array<uint8_t, DeviceMemoryMap::SlotsPerProfile>, DeviceMemoryMap::Profiles>;
using ProfileSlotValues = std::array<std::array<uint32_t, DeviceMemoryMap::SlotsPerProfile>, DeviceMemoryMap::Profiles>;
using ProfileButtonFlags = std::array<std::array<uint32_t, DeviceMemoryMap::Buttons>, DeviceMemoryMap::Profiles>;

extern ProfileSlotCodes g_buttonDeviceCodes;
// Device slot (1-based) of each mouse button.
extern const std::array<uint8_t, DeviceMemoryMap::Buttons> g_buttonSlotOrder;
extern ProfileSlotCodes g_slotDeviceCodes;
extern ProfileSlotValues g_slotAssignments;
extern ProfileButtonFlags g_buttonFireFlag;
extern ProfileButtonFlags g_buttonProfileFlag;
extern ProfileButtonFlags g_buttonDpiFlag;
extern std::array<uint8_t, 6> g_dpiCodes;

// The LED effect last sent, remembered from one apply to the next.
extern uint8_t g_ledDeviceMode;
extern uint8_t g_ledDeviceFlag;
extern uint8_t g_ledSpeedOverride;

// Stream sizes by record: file macros by group * 12 + macro, constant macros by record.
extern std::array<uint16_t, 10 * 12> g_fileMacroStreamSize;
extern std::array<uint16_t, 13> g_constMacroStreamSize;
// Per slot: stream address, key usage and consumer usage of its descriptor.
extern ProfileSlotValues g_slotMacroAddress;
extern ProfileSlotValues g_slotKeyUsage;
extern ProfileSlotValues g_slotConsumerUsage;
// The stream of slot 0 of the profile current at the last apply: where it is, and how long when
// it is a file macro (0 otherwise, so a step event then sends nothing).
extern uint32_t g_slot0MacroAddress;
extern uint32_t g_slot0MacroSize;
// What that stream was placed for: the profile and its first button's assignment, and whether the
// apply that placed it finished (an apply stopped by its light-data limit leaves streams half
// written). A step sends its stream only while all of this still holds, so it never writes over
// another macro's stream.
struct Slot0StreamTarget {
    bool applied = false;
    uint32_t profile = 0;
    uint32_t assignment = 0;
};
extern Slot0StreamTarget g_slot0StreamTarget;

// 1 once an apply has run (the blink thread's flag).
extern uint32_t g_settingsApplied;

// The option nibble of the mouse's status report (byte 7, low four bits), read at start-up and
// written back into the LED feature byte by every apply.
extern uint8_t g_deviceOptionNibble;

// Everything above back to its start value, as at program start (tests and the probe start an
// apply from a fresh program run).
void ResetApplyTables();
