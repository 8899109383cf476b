#pragma once
// The main page's blink thread. Its blink phase is read by no painting, and the loop that would
// toggle it is not carried: the thread sets the phase and ends. Platform-free.
#include <atomic>
#include <cstdint>

#include "ui/window/window_repaint.h"

// 1 from the thread's start until its last step; set by whoever starts it.
extern std::atomic<uint32_t> g_blinkRunning;
extern std::atomic<uint32_t> g_blinkPhase;

// The thread's body; `window` and `repaint` would repaint the main window. Result 0.
uint32_t BlinkThread(void* window, WindowRepaint repaint);
