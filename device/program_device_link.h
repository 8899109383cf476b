#pragma once
// The apply, the step download and the device threads on the program's own files: config.ini at
// g_configIniPath and the macro files of the current language (through GetProfileFiles()).

// The apply button and every power broadcast.
void WriteSettingsToDevice();
// Step events of the device input thread.
void AdjustMacroStepAndDownload(bool up);

// Starts the device input thread and the button-action thread at the highest priority, at most
// once per run. They run until the process ends.
void StartDeviceThreads();
