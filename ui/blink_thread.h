#pragma once
// The main page's blink thread. The blink loop it would carry runs only before the first apply,
// and the apply flag is set from the start, so the thread sets its phase and ends.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_blinkPhase;

// The thread's body; `window` is the main window it would repaint.
void BlinkThread(void* window);
