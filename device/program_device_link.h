#pragma once
// The apply, the step download and the device threads on the program's own files: config.ini at
// g_configIniPath and the macro files of the current language (through GetProfileFiles()).

// The apply button and every power broadcast. Runs on the calling thread with g_settingsMutex
// held; its messages ("LED Error!" and the others) are shown afterwards, in order, through the
// message seam (base/user_prompts.h), and the repaint is requested after the lock is released.
void WriteSettingsToDevice();
// Step events of the device input thread.
void AdjustMacroStepAndDownload(bool up);

// Starts the device input thread and the button-action thread at the highest priority; does
// nothing while they run. The window calls it at start-up, before it looks for the mouse.
void StartDeviceThreads();
// Ends both device threads and returns when they have ended: the stop flag is set, the input read
// waiting for the mouse is cancelled through the HID port, both threads are joined; no turn runs
// after it returns. The window calls it at program end, before it destroys anything the threads
// use (itself, the HID port, the device link), and without holding g_settingsMutex. Does nothing
// when they are not running; they may be started again. A fire key the threads started and did
// not stop (its button still down) is then stopped: no thread is left to send the stop.
void StopDeviceThreads();
bool DeviceThreadsRunning();
