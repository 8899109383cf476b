#include "device/device_event_threads.h"

#include <algorithm>
#include <mutex>

#include "base/clock.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/consumer_usage.h"
#include "device/device_discovery.h"
#include "device/macro_step_download.h"
#include "device/main_window_link.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

std::atomic<uint32_t> g_fireKeyState{0};
std::atomic<uint32_t> g_buttonEventPending{0};
std::atomic<uint32_t> g_stepDirection{0};
std::array<uint8_t, 256> g_inputBuffer{};

namespace {

constexpr uint32_t kTurnSleepMs = 2;
std::atomic<ButtonActionReadHook> g_readHook{nullptr};

bool IsButtonEvent(uint8_t event)
{
    return event >= DeviceInputEvent::FirstButton && event <= DeviceInputEvent::LastButton;
}

bool ButtonMatches(int button, uint8_t event)
{
    return DeviceInputEvent::NoButton + g_buttonSlotOrder[button] == event;
}

void HandleButtonEvent(uint8_t event, uint8_t state)
{
    // Only this thread changes the event bits, so the value read here still holds them.
    const uint8_t last = LastButtonEvent(g_fireKeyState);
    if (state & kButtonPressedBit) {
        uint32_t none = 0;
        const bool recorded = g_buttonEventPending.compare_exchange_strong(none, PendingButtonEvent(event, state));
        g_fireKeyState = (recorded ? event : last) | kFirePressPending;
    } else {
        g_fireKeyState = last | kFireReleasePending;
    }
}

// With g_settingsMutex held. True when the window has to repaint.
bool FollowProfileSwitchLocked(IniSource& configIni)
{
    const std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    if (!status) return false;
    const uint32_t n = static_cast<uint32_t>(status->ActiveProfile()) + 1;
    g_curConfig = n;
    WriteCurConfig(configIni, n);
    g_currentProfile = n - 1;
    LoadProfile(configIni, static_cast<int>(n), false);
    return true;
}

// Fire start on a press, fire stop on a release, for the fire button of the last button event,
// all as read in one value at the start of the turn.
void CarryOutFireKey(uint32_t profile, uint32_t fireKeyState)
{
    const bool press = (fireKeyState & kFirePressPending) != 0;
    if (!press && (fireKeyState & kFireReleasePending) == 0) return;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, LastButtonEvent(fireKeyState)) || !g_buttonFireFlag[profile][i]) continue;
        SendFireKey(press);
        // A report that came meanwhile has replaced the value: it is the next turn's.
        uint32_t expected = fireKeyState;
        g_fireKeyState.compare_exchange_strong(expected, fireKeyState & ~(kFirePressPending | kFireReleasePending));
        return;
    }
}

// With g_settingsMutex held. True when the window has to repaint.
bool CarryOutButtonEvent(DeviceLinkFilesSource& files, uint32_t profile, uint32_t pending)
{
    const auto event = static_cast<uint8_t>(pending & 0xFF);
    const auto state = static_cast<uint8_t>((pending >> 8) & 0xFF);
    bool repaint = false;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, event)) continue;
        if (g_buttonDpiFlag[profile][i]) {
            g_dpiLevel = state & 0x3F;
            repaint = true;
            SaveDpiLevel(files.Current().configIni, static_cast<int>(g_curConfig));
        }
        if (g_buttonProfileFlag[profile][i]) repaint = FollowProfileSwitchLocked(files.Current().configIni) || repaint;
        const uint32_t assignment = g_buttonAssignments[g_currentProfile & 3][i];
        if (assignment >= 22 && assignment <= 31)
            SendConsumerKey(MediaKeyToConsumerUsage(static_cast<uint8_t>(assignment - 22)));
    }
    return repaint;
}

}  // namespace

void FollowProfileSwitchedOnMouse(IniSource& configIni)
{
    bool repaint = false;
    {
        std::lock_guard settingsLock(g_settingsMutex);
        repaint = FollowProfileSwitchLocked(configIni);
    }
    if (repaint) RequestMainWindowRepaint();
}

void HandleDeviceInputReport(std::span<const uint8_t> report, DeviceLinkFilesSource& files)
{
    if (report.size() < 2 || report[0] != kDeviceInputReportId) return;
    const uint8_t event = report[1];
    const uint8_t state = report.size() > 2 ? report[2] : 0;
    if (IsButtonEvent(event)) {
        HandleButtonEvent(event, state);
    } else if (event >= DeviceInputEvent::NoButton) {
        // 0xF0 names no button, and neither do 0xFA..0xFF: nothing to follow.
    } else if (event == DeviceInputEvent::ProfileSwitched) {
        FollowProfileSwitchedOnMouse(files.Current().configIni);
    } else {
        if (event == DeviceInputEvent::StepUp) g_stepDirection = 1;
        if (event == DeviceInputEvent::StepDown) g_stepDirection = 0;
        AdjustMacroStepAndDownload(files.Current().macros, g_stepDirection != 0);
    }
}

void DeviceInputTurn(DeviceLinkFilesSource& files)
{
    const ReadCollection collection = CurrentReadCollection();
    if (collection.handle != kInvalidHidHandle) {
        const size_t length = std::min<size_t>(collection.inputReportLength, g_inputBuffer.size());
        size_t bytesRead = 0;
        const std::span<uint8_t> buffer(g_inputBuffer.data(), length);
        if (GetHidPort().ReadInput(collection.handle, buffer, bytesRead))
            HandleDeviceInputReport(buffer.first(std::min(bytesRead, length)), files);
    }
    GetClock().SleepMs(kTurnSleepMs);
}

void ButtonActionTurn(DeviceLinkFilesSource& files)
{
    bool repaint = false;
    {
        std::lock_guard settingsLock(g_settingsMutex);
        const uint32_t profile = g_currentProfile & 3;
        const uint32_t fireKeyState = g_fireKeyState;
        if (ButtonActionReadHook hook = g_readHook) hook();
        CarryOutFireKey(profile, fireKeyState);
        const uint32_t pending = g_buttonEventPending.exchange(0);
        if (pending != 0) repaint = CarryOutButtonEvent(files, profile, pending);
    }
    if (repaint) RequestMainWindowRepaint();
    GetClock().SleepMs(kTurnSleepMs);
}

void SetButtonActionReadHook(ButtonActionReadHook hook) { g_readHook = hook; }
