#pragma once
// The step events of the mouse: every pointer move of the macro bound to the first button of the
// current profile gets a larger or smaller Y, the macro is sent again to where the last apply put
// slot 0's stream, and the changed macro is saved into its group's file.
#include "device/macro_slot_writer.h"

void AdjustMacroStepAndDownload(const MacroFilesAccess& macros, bool up);
