#include "macros/macro_recorder.h"

#include <algorithm>

#include "settings/key_vocabulary.h"

namespace {
bool IsPress(uint32_t message) { return message == KeyMessage::KeyDown || message == KeyMessage::SysKeyDown; }
}  // namespace

bool IsKeyMessage(uint32_t message)
{
    return message == KeyMessage::KeyDown || message == KeyMessage::KeyUp || message == KeyMessage::SysKeyDown ||
           message == KeyMessage::SysKeyUp;
}

uint16_t DelayClock::ElapsedMsSinceLast(uint32_t nowMsOfDay)
{
    int64_t d = static_cast<int64_t>(nowMsOfDay) - previous_;
    previous_ = nowMsOfDay;
    if (d < 0) d += kMsPerDay;
    return static_cast<uint16_t>(std::clamp<int64_t>(d, 0, 65535));
}

void MacroRecorder::Start(MacroRecord& record, std::u16string_view name)
{
    recording_ = true;
    heldKeys_.fill(0);
    heldKeyCount_ = 0;
    recordPos_ = 0;
    pressCount_ = 0;
    // A key message of the last recording must not be taken for a repeat of this one's first.
    lastMessage_ = 0;
    lastKey_ = 0;
    const uint8_t loopMode = record.loopMode;
    record = MacroRecord{};
    record.loopMode = loopMode;
    std::copy_n(name.begin(), std::min(name.size(), kMacroNameUnits - 1), record.name.begin());
    record.repeatCount = 1;
}

void MacroRecorder::Stop(MacroRecord& record)
{
    recording_ = false;
    record.eventCount = static_cast<uint16_t>(recordPos_);
}

MacroRecorder::KeyOutcome MacroRecorder::OnKey(uint32_t message, uint32_t vk, uint32_t nowMsOfDay, MacroRecord& record)
{
    KeyOutcome outcome;
    // Esc and Enter presses would close the window or press its default button.
    outcome.swallow = message == KeyMessage::KeyDown && (vk == kVkEscape || vk == kVkReturn);
    if (!recording_ || !IsKeyMessage(message)) return outcome;
    const bool press = IsPress(message);
    const bool repeat = message == lastMessage_ && vk == lastKey_;
    if (!repeat && recordPos_ < kMaxRecordedEvents) {
        const auto held = std::find(heldKeys_.begin(), heldKeys_.begin() + heldKeyCount_, static_cast<uint8_t>(vk));
        // A press past the limits, a tenth key held at once, or the release of a key pressed
        // before the recording started: not recorded, and no repeat of anything.
        if (press ? pressCount_ >= kMaxRecordedPresses || heldKeyCount_ >= static_cast<int32_t>(kMaxHeldKeys)
                  : held == heldKeys_.begin() + heldKeyCount_)
            return outcome;
        const int32_t p = recordPos_;
        if (press) {
            heldKeys_[heldKeyCount_++] = static_cast<uint8_t>(vk);
            ++pressCount_;
        } else {
            std::copy(held + 1, heldKeys_.begin() + heldKeyCount_, held);
            heldKeys_[--heldKeyCount_] = 0;
        }
        const uint16_t gap = clock_.ElapsedMsSinceLast(nowMsOfDay);
        if (p > 0) record.delays[p - 1] = gap;
        record.SetEvent(p, {press ? MacroEventAction::Press : MacroEventAction::Release,
                            VkToHidUsage(static_cast<uint8_t>(vk & 0xFF)), 0, 0, p > 0 ? kLastRecordedDelay : uint16_t{0}});
        ++recordPos_;
        outcome.recorded = true;
        outcome.event = p;
    }
    lastMessage_ = message;
    lastKey_ = vk;
    outcome.swallow = outcome.swallow || vk == kVkF10;
    return outcome;
}
