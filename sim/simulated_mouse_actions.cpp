// The mouse's own actions, as its user does them on it: each queues the input report the mouse
// sends, after carrying out what its memory says the button does.
#include "sim/simulated_mouse.h"

#include <algorithm>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/device_event_threads.h"
#include "device/device_ids.h"
#include "device/device_memory_map.h"

namespace {

// The next level whose enable bit is set, looking from `level` in steps of `direction`.
int NextEnabledLevel(int level, uint8_t enableMask, int direction, bool wrap)
{
    constexpr int kLevels = 6;
    for (int step = 1; step < kLevels + (wrap ? 0 : 1); ++step) {
        int candidate = level + direction * step;
        if (wrap) candidate = (candidate % kLevels + kLevels) % kLevels;
        if (candidate < 0 || candidate >= kLevels) break;
        if (enableMask & (1u << candidate)) return candidate;
    }
    return level;
}

}  // namespace

bool SimulatedMouse::QueueMouseReport(uint8_t event, uint8_t state)
{
    if (unplugged_) return false;
    inputQueue_.push_back({kInputReportId, event, state});
    inputArrived_.notify_all();
    return true;
}

void SimulatedMouse::CarryOutButtonFunction(int button)
{
    const uint8_t code = memory_[DeviceMemoryMap::SlotByteAddress(activeProfile_, button)] & 0x1F;
    const uint8_t enabled = memory_[DeviceMemoryMap::DpiEnableByte] & 0x3F;
    switch (code) {
    case DeviceButtonCode::DpiFunction:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, +1, true);
        break;
    case DeviceButtonCode::DpiUp:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, +1, false);
        break;
    case DeviceButtonCode::DpiDown:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, -1, false);
        break;
    case DeviceButtonCode::FirstProfileFunction:
        activeProfile_ = (activeProfile_ + 1) & 3;
        break;
    default:
        if (code > DeviceButtonCode::FirstProfileFunction && code <= DeviceButtonCode::FirstProfileFunction + 4) {
            activeProfile_ = code - DeviceButtonCode::FirstProfileFunction - 1;
        }
        break;
    }
}

bool SimulatedMouse::PressButton(int button)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (unplugged_ || button < 0 || button >= kButtons) return false;
    CarryOutButtonFunction(button);
    return QueueMouseReport(static_cast<uint8_t>(DeviceInputEvent::FirstButton + button),
                            static_cast<uint8_t>(kButtonPressedBit | (dpiLevel_ & 0x3F)));
}

bool SimulatedMouse::ReleaseButton(int button)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (button < 0 || button >= kButtons) return false;
    return QueueMouseReport(static_cast<uint8_t>(DeviceInputEvent::FirstButton + button), static_cast<uint8_t>(dpiLevel_ & 0x3F));
}

bool SimulatedMouse::SwitchProfile(int profile)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (unplugged_) return false;
    activeProfile_ = profile & 3;
    return QueueMouseReport(DeviceInputEvent::ProfileSwitched, 0);
}

bool SimulatedMouse::StepMacro(bool up)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return QueueMouseReport(up ? DeviceInputEvent::StepUp : DeviceInputEvent::StepDown, 0);
}
