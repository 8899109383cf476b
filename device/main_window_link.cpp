#include "device/main_window_link.h"

#include <atomic>

namespace {
std::atomic<MainWindowRepaint> g_repaint{nullptr};
}  // namespace

void SetMainWindowRepaint(MainWindowRepaint repaint) { g_repaint.store(repaint); }

void RequestMainWindowRepaint()
{
    if (MainWindowRepaint repaint = g_repaint.load()) repaint();
}
