#include "device/device_event_threads.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "base/clock.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/consumer_usage.h"
#include "device/device_discovery.h"
#include "device/macro_step_download.h"
#include "device/main_window_link.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

std::atomic<uint32_t> g_stepDirection{0};
std::array<uint8_t, 256> g_inputBuffer{};

namespace {

constexpr uint32_t kTurnSleepMs = 2;
std::atomic<ButtonActionReadHook> g_readHook{nullptr};

bool IsButtonEvent(uint8_t event)
{
    return event >= DeviceInputEvent::FirstButton && event <= DeviceInputEvent::LastButton;
}

uint32_t SlotBit(uint8_t event) { return 1u << (event - DeviceInputEvent::FirstButton); }

// A button report or the mouse's own profile switch, as the mouse sent it.
struct QueuedReport {
    uint8_t event = 0;
    uint8_t state = 0;
};

// Room enough for a release of every slot beyond the presses: a release is queued only after its
// press, and presses stop at kButtonReportRoom.
constexpr size_t kQueueSize = kButtonReportRoom + kButtonSlots;

struct TakenReports {
    std::array<QueuedReport, kQueueSize> reports{};
    size_t count = 0;
    bool profileSwitchAfter = false;  // a profile switch left out for want of room
};

// The reports waiting for the button-action turn, oldest first. The input thread adds, the turn
// takes them all at once, so a report arriving during a turn waits for the next one.
class ReportQueue {
public:
    void Add(uint8_t event, uint8_t state)
    {
        std::lock_guard lock(mutex_);
        if (event == DeviceInputEvent::ProfileSwitched) {
            if (count_ < kButtonReportRoom) {
                reports_[count_++] = {event, state};
            } else {
                switchLeftOut_ = true;
            }
            return;
        }
        const uint32_t bit = SlotBit(event);
        if ((state & kButtonPressedBit) != 0) {
            if (count_ >= kButtonReportRoom) return;
            pressQueued_ |= bit;
        } else {
            // Its press was left out, or came before the threads' last stop: nothing to carry out.
            if ((pressQueued_ & bit) == 0 || count_ >= reports_.size()) return;
            pressQueued_ &= ~bit;
        }
        reports_[count_++] = {event, state};
    }

    TakenReports TakeAll()
    {
        std::lock_guard lock(mutex_);
        TakenReports taken;
        std::copy_n(reports_.begin(), count_, taken.reports.begin());
        taken.count = std::exchange(count_, 0);
        taken.profileSwitchAfter = std::exchange(switchLeftOut_, false);
        return taken;
    }

    size_t Waiting()
    {
        std::lock_guard lock(mutex_);
        return count_ + (switchLeftOut_ ? 1 : 0);
    }

    void Clear()
    {
        std::lock_guard lock(mutex_);
        count_ = 0;
        pressQueued_ = 0;
        switchLeftOut_ = false;
    }

private:
    std::mutex mutex_;
    std::array<QueuedReport, kQueueSize> reports_{};
    size_t count_ = 0;
    uint32_t pressQueued_ = 0;  // slots whose last queued report is a press (bit per slot)
    bool switchLeftOut_ = false;
};

ReportQueue g_reportQueue;

bool ButtonMatches(int button, uint8_t event)
{
    return DeviceInputEvent::NoButton + g_buttonSlotOrder[button] == event;
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

// The slots whose press started the fire key and whose release has not come yet (bit per slot):
// such a release stops it even when a profile switch or an apply has taken the fire function off
// the button meanwhile, and a release of a slot that started nothing stops nothing. The mouse has
// one fire key: while another fire button that started it is still held, a release stops nothing.
// g_fireStopOwed: every holder is let go but the mouse refused the stop. Both are the
// button-action turn's own, under g_settingsMutex.
uint32_t g_fireStartedSlots = 0;
bool g_fireStopOwed = false;

void StartFireKey(uint32_t bit)
{
    SendFireKey(true);
    // Even when the start was refused: its release then sends a stop, which costs nothing.
    g_fireStartedSlots |= bit;
    g_fireStopOwed = false;
}

void ReleaseFireKey(uint32_t bit)
{
    if ((g_fireStartedSlots & bit) == 0) return;
    g_fireStartedSlots &= ~bit;
    if (g_fireStartedSlots == 0) g_fireStopOwed = !SendFireKey(false);
}

// One function per press, of the profile current at its place in the order: the fire, DPI or
// profile function the last apply gave the button, else the media key of its assignment (an
// assignment changed since the apply must not add a second function). With g_settingsMutex held.
// True when the window has to repaint.
bool CarryOutPress(DeviceLinkFilesSource& files, uint8_t event, uint8_t state)
{
    const uint32_t profile = g_currentProfile & 3;
    bool repaint = false;
    for (int i = 0; i < DeviceMemoryMap::Buttons; ++i) {
        if (!ButtonMatches(i, event)) continue;
        const uint32_t assignment = g_buttonAssignments[profile][i];
        if (g_buttonFireFlag[profile][i]) {
            StartFireKey(SlotBit(event));
        } else if (g_buttonDpiFlag[profile][i]) {
            g_dpiLevel = state & 0x3F;
            repaint = true;
            IniSource& configIni = files.Current().configIni;
            if (!SaveDpiLevel(configIni, static_cast<int>(g_curConfig))) RequestWriteFailureShown(configIni.Path());
        } else if (g_buttonProfileFlag[profile][i]) {
            repaint = FollowProfileSwitchLocked(files.Current().configIni) || repaint;
        } else if (assignment >= 22 && assignment <= 31) {
            SendConsumerKey(MediaKeyToConsumerUsage(static_cast<uint8_t>(assignment - 22)));
        }
    }
    return repaint;
}

// With g_settingsMutex held. True when the window has to repaint.
bool CarryOut(DeviceLinkFilesSource& files, const QueuedReport& report)
{
    if (report.event == DeviceInputEvent::ProfileSwitched) return FollowProfileSwitchLocked(files.Current().configIni);
    if ((report.state & kButtonPressedBit) != 0) return CarryOutPress(files, report.event, report.state);
    ReleaseFireKey(SlotBit(report.event));
    return false;
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
    if (IsButtonEvent(event) || event == DeviceInputEvent::ProfileSwitched) {
        // The mouse's own switch takes its place among the button reports: a press after it is
        // carried out under the new profile.
        g_reportQueue.Add(event, state);
    } else if (event >= DeviceInputEvent::NoButton) {
        // 0xF0 names no button, and neither do 0xFA..0xFF: nothing to follow.
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
        if (g_fireStopOwed) g_fireStopOwed = !SendFireKey(false);
        const TakenReports taken = g_reportQueue.TakeAll();
        if (ButtonActionReadHook hook = g_readHook) hook();
        for (size_t k = 0; k < taken.count; ++k) repaint = CarryOut(files, taken.reports[k]) || repaint;
        if (taken.profileSwitchAfter) repaint = FollowProfileSwitchLocked(files.Current().configIni) || repaint;
    }
    if (repaint) RequestMainWindowRepaint();
    GetClock().SleepMs(kTurnSleepMs);
}

void ClearButtonReports()
{
    g_reportQueue.Clear();
    std::lock_guard settingsLock(g_settingsMutex);
    g_fireStartedSlots = 0;
    g_fireStopOwed = false;
}

size_t ButtonReportsWaiting() { return g_reportQueue.Waiting(); }

void SetButtonActionReadHook(ButtonActionReadHook hook) { g_readHook = hook; }
