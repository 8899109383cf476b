// Starting the main page's blink thread and the lighting preview thread; each runs at most once
// at a time: a starter does nothing while the thread's running flag is up.
#include "ui/window/blink_thread.h"
#include "ui/window/led_preview_thread.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"

namespace {
void InvalidateWindow(void* window) { InvalidateRect(static_cast<HWND>(window), nullptr, TRUE); }
}  // namespace

void CTEV_KestraDlg::StartBlinkThread()
{
    if (!g_startDeviceThreads || g_blinkRunning != 0) return;
    // The flag is up before the thread can clear it.
    g_blinkRunning = 1;
    // A cleared flag means the thread before has taken its last step.
    if (m_blinkThread.joinable()) m_blinkThread.join();
    m_blinkThread = std::thread(BlinkThread, static_cast<void*>(Handle()), InvalidateWindow);
}

void CTEV_KestraDlg::StartLedPreviewThread()
{
    if (!g_startDeviceThreads || g_ledPreviewRunning != 0) return;
    g_ledPreviewRunning = 1;
    // Assigning over the thread before joins it; its cleared flag says it has taken its last step.
    m_ledPreviewThread = std::jthread([window = static_cast<void*>(Handle())](std::stop_token stop) {
        LedPreviewThread(window, InvalidateWindow, stop);
    });
}

void CTEV_KestraDlg::StopWindowThreads()
{
    // The preview's wait ends on the stop request; the blink thread ends by itself at once.
    m_ledPreviewThread.request_stop();
    if (m_ledPreviewThread.joinable()) m_ledPreviewThread.join();
    if (m_blinkThread.joinable()) m_blinkThread.join();
}
