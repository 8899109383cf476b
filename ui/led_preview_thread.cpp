#include "ui/led_preview_thread.h"

#include "app/clock.h"
#include "settings/settings_state.h"
#include "ui/page_state.h"

std::atomic<uint32_t> g_ledPreviewRunning{0};

uint32_t LedPreviewThread(void* window, WindowRepaint repaint, std::stop_token stop)
{
    while (g_page == kPageLighting && !stop.stop_requested()) {
        repaint(window);
        GetClock().SleepMs(LedPreviewPeriodMs(g_ledCycleTime));
    }
    g_ledPreviewRunning = 0;
    return 0;
}
