#pragma once
// The apply: rebuilds the mouse's whole configuration memory from the settings state and the
// macros bound to buttons, writes it, sets the Windows pointer speed and wheel lines and saves
// the profiles. Runs on the user-interface thread and holds g_settingsMutex from its first step
// to its last, so neither device thread changes the state it is reading. Its messages are shown
// in order once the lock is released, and so is the repaint request: a device thread waiting for
// the lock never waits on a message box.
#include "device/device_link_files.h"
#include "device/device_memory_map.h"

// The settings and the apply's tables as the fixed blocks carry them (LED byte not included).
ConfigImageInput GatherConfigImageInput();

// Steps 5 and 6: device codes, the fire, profile and DPI flags, and the codes in slot order.
// A file-macro assignment whose group or macro no longer exists is erased to 0.
void TranslateButtonAssignments(const MacroFilesAccess& macros);

void WriteSettingsToDevice(DeviceLinkFiles& files);
