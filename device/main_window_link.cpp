#include "device/main_window_link.h"

#include <atomic>

namespace {
std::atomic<MainWindowRepaint> g_repaint{nullptr};
}  // namespace

void SetMainWindowRepaint(MainWindowRepaint repaint) { g_repaint.store(repaint); }

namespace {
std::atomic<OpenMacroStepped> g_openMacroStepped{nullptr};
}  // namespace

void SetOpenMacroStepped(OpenMacroStepped stepped) { g_openMacroStepped.store(stepped); }

void RequestOpenMacroShown()
{
    if (OpenMacroStepped stepped = g_openMacroStepped.load()) stepped();
}

void RequestMainWindowRepaint()
{
    if (MainWindowRepaint repaint = g_repaint.load()) repaint();
}
