#include "ui/window/led_preview_thread.h"

#include <mutex>

#include "base/clock.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"

std::atomic<uint32_t> g_ledPreviewRunning{0};

uint32_t LedPreviewThread(void* window, WindowRepaint repaint, std::stop_token stop)
{
    while (g_page == kPageLighting && !stop.stop_requested()) {
        repaint(window);
        uint8_t speed = 0;
        {
            std::lock_guard lock(g_settingsMutex);
            speed = g_ledCycleTime;
        }
        GetClock().WaitMs(LedPreviewPeriodMs(speed), stop);
    }
    g_ledPreviewRunning = 0;
    return 0;
}
