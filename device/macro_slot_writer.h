#pragma once
// The descriptor pass and the stream pass of the apply: size, place and write the descriptor of
// every macro and media-key slot, then the streams behind them. Run with g_settingsMutex held,
// after g_slotDeviceCodes and g_slotAssignments have been filled.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/apply_tables.h"
#include "macros/macro_file.h"

// Where the macros bound to buttons are read from: the group file and group macro files of one
// language's macro folder (ending with a backslash).
struct MacroFilesAccess {
    ProfileFiles& files;
    MacroKeyLayout layout;
    std::u16string macroFolder;
};

// What the descriptor pass decided for each slot, for the stream pass of the same apply.
struct MacroSlotPlan {
    ProfileSlotValues streamSize{};
};

MacroSlotPlan WriteSlotDescriptors(const MacroFilesAccess& access);

// False when light data would end beyond the end of the macro memory: the apply stops there.
bool WriteMacroStreams(const MacroFilesAccess& access, const MacroSlotPlan& plan);

// Sends bytes to the mouse in runs of 8 from address on.
void WriteDeviceRuns(uint32_t address, const std::vector<uint8_t>& bytes);
