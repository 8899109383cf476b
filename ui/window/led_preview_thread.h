#pragma once
// The lighting preview thread: while the lighting page is shown it repaints the main window once
// a period, faster at higher lighting speeds. Platform-free.
#include <atomic>
#include <cstdint>
#include <stop_token>

#include "ui/window/window_repaint.h"

// 1 from the thread's start until its last step; set by whoever starts it.
extern std::atomic<uint32_t> g_ledPreviewRunning;

// 1200 ms at speed 0 down to 200 ms at speed 5. A higher speed (only from an edited
// configuration file) previews at the fastest pace.
constexpr uint32_t LedPreviewPeriodMs(uint32_t speed) { return speed <= 5 ? 1200 - 200 * speed : 200; }

// The thread's body: repaints through `repaint(window)` and waits one period (the program's
// clock), until the lighting page is left or `stop` is asked for, which also cuts the wait short;
// a page other than the lighting page at the start ends it at once. The speed is read under
// g_settingsMutex (a profile switched on the mouse loads it). Clears g_ledPreviewRunning as its
// last step. Result 0.
uint32_t LedPreviewThread(void* window, WindowRepaint repaint, std::stop_token stop = {});
