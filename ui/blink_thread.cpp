#include "ui/blink_thread.h"

#include "ui/main_window_globals.h"

std::atomic<uint32_t> g_blinkPhase{0};

void BlinkThread(void*)
{
    g_blinkPhase = 1;
    g_blinkRunning = 0;
}
