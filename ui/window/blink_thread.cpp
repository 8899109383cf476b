#include "ui/window/blink_thread.h"

std::atomic<uint32_t> g_blinkRunning{0};
std::atomic<uint32_t> g_blinkPhase{0};

uint32_t BlinkThread(void*, WindowRepaint)
{
    g_blinkPhase = 1;
    g_blinkRunning = 0;
    return 0;
}
