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

std::array<std::atomic<uint32_t>, kButtonSlots> g_buttonReports{};
std::atomic<uint32_t> g_stepDirection{0};
std::array<uint8_t, 256> g_inputBuffer{};

namespace {

constexpr uint32_t kTurnSleepMs = 2;
std::atomic<ButtonActionReadHook> g_readHook{nullptr};

bool IsButtonEvent(uint8_t event)
{
    return event >= DeviceInputEvent::FirstButton && event <= DeviceInputEvent::LastButton;
}

constexpr uint32_t kCountMask = 0xFF;
constexpr uint32_t kReleaseShift = 8;
constexpr uint32_t kPressStateShift = 16;
constexpr uint32_t kCountsMask = 0xFFFF;

// What one slot's reports since the last turn ask for.
struct ButtonReports {
    uint32_t presses = 0;
    uint32_t releases = 0;
    uint8_t pressState = 0;  // of the last press
    bool lastPressed = false;
};

ButtonReports Unpack(uint32_t value)
{
    return {value & kCountMask, (value >> kReleaseShift) & kCountMask,
            static_cast<uint8_t>(value >> kPressStateShift), (value & kLastReportPressed) != 0};
}

uint32_t Pack(const ButtonReports& r)
{
    return (r.presses & kCountMask) | (r.releases & kCountMask) << kReleaseShift |
           static_cast<uint32_t>(r.pressState) << kPressStateShift | (r.lastPressed ? kLastReportPressed : 0);
}

bool ButtonMatches(int button, uint8_t event)
{
    return DeviceInputEvent::NoButton + g_buttonSlotOrder[button] == event;
}

void HandleButtonEvent(uint8_t event, uint8_t state)
{
    std::atomic<uint32_t>& slot = g_buttonReports[event - DeviceInputEvent::FirstButton];
    uint32_t value = slot.load();
    ButtonReports next;
    do {
        next = Unpack(value);
        next.lastPressed = (state & kButtonPressedBit) != 0;
        // The counts stop at their top rather than wrap: a turn held up for long still sees reports.
        if (next.lastPressed) {
            next.presses = std::min(next.presses + 1, kCountMask);
            next.pressState = state;
        } else {
            next.releases = std::min(next.releases + 1, kCountMask);
        }
    } while (!slot.compare_exchange_weak(value, Pack(next)));
}

// The reports of every slot since the last turn, and the counts cleared.
std::array<ButtonReports, kButtonSlots> TakeButtonReports()
{
    std::array<ButtonReports, kButtonSlots> taken{};
    for (size_t s = 0; s < kButtonSlots; ++s) {
        uint32_t value = g_buttonReports[s].load();
        while (!g_buttonReports[s].compare_exchange_weak(value, value & ~kCountsMask)) {
        }
        taken[s] = Unpack(value);
    }
    return taken;
}

// With g_settingsMutex held. True when the window has to repaint.
bool FollowProfileSwitchLocked(IniSource& configIni)
{
    const std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    if (!status) return false;
    const uint32_t n = static_cast<uint32_t>(status->ActiveProfile()) + 1;
    g_curConfig = n;
    if (!WriteCurConfig(configIni, n)) RequestWriteFailureShown(configIni.Path());
    g_currentProfile = n - 1;
    LoadProfile(configIni, static_cast<int>(n), false);
    return true;
}

// The slots whose press started the fire key and whose release has not stopped it yet (bit per
// slot): such a release stops it even when a profile switch or an apply has taken the fire function
// off the button meanwhile. The button-action turn's own, under g_settingsMutex.
uint32_t g_fireStartedSlots = 0;

// Fire start on a press, fire stop on a release of a fire button. Of several reports in one turn
// the last one goes out last, so the fire key ends as the button is; one of the other kind before
// it keeps a tap a short burst. The mouse has one fire key: while another fire button that started
// it is still held, a release stops nothing.
void CarryOutFireKey(uint32_t profile, uint8_t event, const ButtonReports& reports)
{
    bool fire = false;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) fire = fire || (ButtonMatches(i, event) && g_buttonFireFlag[profile][i]);
    const uint32_t bit = 1u << (event - DeviceInputEvent::FirstButton);
    const auto send = [&](bool start) {
        if (!fire && (start || (g_fireStartedSlots & bit) == 0)) return;
        if (!start && (g_fireStartedSlots & ~bit) != 0) {
            g_fireStartedSlots &= ~bit;
            return;
        }
        SendFireKey(start);
        g_fireStartedSlots = start ? g_fireStartedSlots | bit : g_fireStartedSlots & ~bit;
    };
    if ((reports.lastPressed ? reports.releases : reports.presses) != 0) send(!reports.lastPressed);
    send(reports.lastPressed);
}

// The presses of one slot. With g_settingsMutex held. True when the window has to repaint.
bool CarryOutPresses(DeviceLinkFilesSource& files, uint32_t profile, uint8_t event, const ButtonReports& reports)
{
    bool repaint = false;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, event)) continue;
        if (g_buttonDpiFlag[profile][i]) {
            g_dpiLevel = reports.pressState & 0x3F;
            repaint = true;
            IniSource& configIni = files.Current().configIni;
            if (!SaveDpiLevel(configIni, static_cast<int>(g_curConfig))) RequestWriteFailureShown(configIni.Path());
        }
        if (g_buttonProfileFlag[profile][i]) repaint = FollowProfileSwitchLocked(files.Current().configIni) || repaint;
        const uint32_t assignment = g_buttonAssignments[g_currentProfile & 3][i];
        if (assignment >= 22 && assignment <= 31) {
            for (uint32_t k = 0; k < reports.presses; ++k)
                SendConsumerKey(MediaKeyToConsumerUsage(static_cast<uint8_t>(assignment - 22)));
        }
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
        const std::array<ButtonReports, kButtonSlots> taken = TakeButtonReports();
        if (ButtonActionReadHook hook = g_readHook) hook();
        for (uint8_t s = 0; s < kButtonSlots; ++s) {
            const ButtonReports& reports = taken[s];
            if (reports.presses == 0 && reports.releases == 0) continue;
            const auto event = static_cast<uint8_t>(DeviceInputEvent::FirstButton + s);
            CarryOutFireKey(profile, event, reports);
            if (reports.presses != 0) repaint = CarryOutPresses(files, profile, event, reports) || repaint;
        }
    }
    if (repaint) RequestMainWindowRepaint();
    GetClock().SleepMs(kTurnSleepMs);
}

void ClearButtonReports()
{
    for (std::atomic<uint32_t>& slot : g_buttonReports) slot = 0;
    std::lock_guard settingsLock(g_settingsMutex);
    g_fireStartedSlots = 0;
}

bool ButtonReportsPending()
{
    for (const std::atomic<uint32_t>& slot : g_buttonReports) {
        if ((slot.load() & kCountsMask) != 0) return true;
    }
    return false;
}

void SetButtonActionReadHook(ButtonActionReadHook hook) { g_readHook = hook; }
