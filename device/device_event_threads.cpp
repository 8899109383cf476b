#include "device/device_event_threads.h"

#include <algorithm>
#include <mutex>

#include "app/clock.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/consumer_usage.h"
#include "device/device_discovery.h"
#include "device/main_window_link.h"
#include "device/macro_step_download.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

std::atomic<uint32_t> g_firePressPending{0};
std::atomic<uint32_t> g_fireReleasePending{0};
std::atomic<uint32_t> g_buttonEventPending{0};
std::atomic<uint8_t> g_lastButtonEvent{0};
std::atomic<uint8_t> g_lastButtonState{0};
std::atomic<uint32_t> g_stepDirection{0};
std::array<uint8_t, 256> g_inputBuffer{};

namespace {

constexpr uint32_t kTurnSleepMs = 2;

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
    if (state & kButtonPressedBit) {
        g_firePressPending = 1;
        g_fireReleasePending = 0;
        if (g_buttonEventPending == 0) {
            g_lastButtonEvent = event;
            g_lastButtonState = state;
            g_buttonEventPending = 1;
        }
    } else {
        g_firePressPending = 0;
        g_fireReleasePending = 1;
    }
}

// Fire start on a press, fire stop on a release, for the fire button of the last button event.
void CarryOutFireKey(uint32_t profile, uint8_t event)
{
    const bool press = g_firePressPending != 0;
    if (!press && g_fireReleasePending == 0) return;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, event) || !g_buttonFireFlag[profile][i]) continue;
        SendFireKey(press);
        (press ? g_firePressPending : g_fireReleasePending) = 0;
        return;
    }
}

void CarryOutButtonEvent(IniSource& configIni, uint32_t profile, uint8_t event)
{
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, event)) continue;
        if (g_buttonDpiFlag[profile][i]) {
            g_dpiLevel = g_lastButtonState & 0x3F;
            RequestMainWindowRepaint();
            SaveDpiLevel(configIni, static_cast<int>(g_curConfig));
        }
        if (g_buttonProfileFlag[profile][i]) FollowProfileSwitchedOnMouse(configIni);
        const uint32_t assignment = g_buttonAssignments[g_currentProfile & 3][i];
        if (assignment >= 22 && assignment <= 31)
            SendConsumerKey(MediaKeyToConsumerUsage(static_cast<uint8_t>(assignment - 22)));
    }
}

}  // namespace

void FollowProfileSwitchedOnMouse(IniSource& configIni)
{
    const std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    if (!status) return;
    const uint32_t n = static_cast<uint32_t>(status->ActiveProfile()) + 1;
    {
        std::lock_guard settingsLock(g_settingsMutex);
        g_curConfig = n;
        WriteCurConfig(configIni, n);
        g_currentProfile = n - 1;
        LoadProfile(configIni, static_cast<int>(n), false);
    }
    RequestMainWindowRepaint();
}

void HandleDeviceInputReport(std::span<const uint8_t> report, DeviceLinkFiles& files)
{
    if (report.size() < 2 || report[0] != kDeviceInputReportId) return;
    const uint8_t event = report[1];
    const uint8_t state = report.size() > 2 ? report[2] : 0;
    if (IsButtonEvent(event)) {
        HandleButtonEvent(event, state);
    } else if (event >= DeviceInputEvent::NoButton) {
        // 0xF0 names no button, and neither do 0xFA..0xFF: nothing to follow.
    } else if (event == DeviceInputEvent::ProfileSwitched) {
        FollowProfileSwitchedOnMouse(files.configIni);
    } else {
        if (event == DeviceInputEvent::StepUp) g_stepDirection = 1;
        if (event == DeviceInputEvent::StepDown) g_stepDirection = 0;
        AdjustMacroStepAndDownload(files.macros, g_stepDirection != 0);
    }
}

void DeviceInputTurn(DeviceLinkFiles& files)
{
    const HidHandle handle = g_hidReadHandle.load();
    if (handle != kInvalidHidHandle) {
        const size_t length = std::min<size_t>(g_readCaps.inputReportByteLength, g_inputBuffer.size());
        size_t bytesRead = 0;
        const std::span<uint8_t> buffer(g_inputBuffer.data(), length);
        if (GetHidPort().ReadInput(handle, buffer, bytesRead))
            HandleDeviceInputReport(buffer.first(std::min(bytesRead, length)), files);
    }
    GetClock().SleepMs(kTurnSleepMs);
}

void ButtonActionTurn(DeviceLinkFiles& files)
{
    {
        std::lock_guard settingsLock(g_settingsMutex);
        const uint32_t profile = g_currentProfile & 3;
        const uint8_t event = g_lastButtonEvent;
        CarryOutFireKey(profile, event);
        if (g_buttonEventPending != 0) {
            CarryOutButtonEvent(files.configIni, profile, event);
            g_buttonEventPending = 0;
        }
    }
    GetClock().SleepMs(kTurnSleepMs);
}
