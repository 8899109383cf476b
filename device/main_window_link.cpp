#include "device/main_window_link.h"

#include <algorithm>
#include <atomic>
#include <mutex>

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

namespace {
struct WaitingFailure {
    std::u16string path;
    bool taken = false;
};
std::atomic<DeviceWriteFailed> g_writeFailed{nullptr};
std::mutex g_failuresMutex;
std::vector<WaitingFailure> g_failures;

auto FindFailure(const std::u16string& path)
{
    return std::find_if(g_failures.begin(), g_failures.end(), [&](const WaitingFailure& f) { return f.path == path; });
}
}  // namespace

void SetDeviceWriteFailed(DeviceWriteFailed failed) { g_writeFailed.store(failed); }

void RequestWriteFailureShown(const std::u16string& path)
{
    {
        std::lock_guard lock(g_failuresMutex);
        if (FindFailure(path) != g_failures.end()) return;
        g_failures.push_back({path});
    }
    if (DeviceWriteFailed failed = g_writeFailed.load()) failed();
}

std::vector<std::u16string> TakeDeviceWriteFailures()
{
    std::lock_guard lock(g_failuresMutex);
    std::vector<std::u16string> paths;
    for (WaitingFailure& failure : g_failures) {
        if (failure.taken) continue;
        failure.taken = true;
        paths.push_back(failure.path);
    }
    return paths;
}

void DeviceWriteFailureShown(const std::u16string& path)
{
    std::lock_guard lock(g_failuresMutex);
    if (const auto failure = FindFailure(path); failure != g_failures.end()) g_failures.erase(failure);
}

void ClearDeviceWriteFailures()
{
    std::lock_guard lock(g_failuresMutex);
    g_failures.clear();
}
