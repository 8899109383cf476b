#pragma once
// The step events of the mouse: every pointer move of the macro bound to the first button of the
// current profile gets a larger or smaller Y, the macro is sent again to where the last apply put
// slot 0's stream, and the changed macro is saved into its group's file. The stream is sent only
// when the last apply finished and placed it for this profile and this assignment; otherwise the
// macro is still stepped and saved: its own line of its group's file alone. A macro open in the
// editor is stepped as the editor holds it; a step for the macro being recorded is dropped.
// The macro store lock is held while the record is read, stepped and written back, not while the
// stream goes out. Messages (a missing macro file, a group file that takes no write) are shown
// after the settings lock is released.
#include "device/macro_slot_writer.h"

void AdjustMacroStepAndDownload(const MacroFilesAccess& macros, bool up);
