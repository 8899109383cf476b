#pragma once
// Recording a macro from the keyboard: key messages in, events with their measured delays out.
// Platform-free: the window feeds it the key messages its keyboard hook posts and the time of
// day, and shows each recorded event.
#include <array>
#include <cstdint>
#include <string_view>

#include "macros/macro_record.h"

// The four key messages, as the hook posts them.
namespace KeyMessage {
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t SysKeyDown = 0x0104;
constexpr uint32_t SysKeyUp = 0x0105;
}  // namespace KeyMessage

constexpr uint32_t kVkReturn = 13;
constexpr uint32_t kVkEscape = 27;
constexpr uint32_t kVkF10 = 121;

constexpr int32_t kMaxRecordedEvents = 110;
constexpr int32_t kMaxRecordedPresses = 55;
constexpr size_t kMaxHeldKeys = 9;
constexpr uint16_t kLastRecordedDelay = 20;
constexpr uint32_t kMsPerDay = 86'400'000;

// Milliseconds between consecutive readings of the time of day (ms since midnight), across
// midnight too, at most 65535.
class DelayClock {
public:
    uint16_t ElapsedMsSinceLast(uint32_t nowMsOfDay);

private:
    uint32_t previous_ = 0;
};

class MacroRecorder {
public:
    struct KeyOutcome {
        bool recorded = false;
        int32_t event = -1;    // the event recorded
        bool swallow = false;  // the message ends here (F10, Esc and Enter presses)
    };

    // Starts recording into `record`: it is emptied but for its play mode, named `name` (cut to
    // its field) and set to play once.
    void Start(MacroRecord& record, std::u16string_view name);
    // Ends the recording: the record keeps the events recorded.
    void Stop(MacroRecord& record);
    bool Recording() const { return recording_; }

    // One key message (message, virtual key) at `nowMsOfDay` while recording, into `record`.
    KeyOutcome OnKey(uint32_t message, uint32_t vk, uint32_t nowMsOfDay, MacroRecord& record);

    int32_t RecordedEvents() const { return recordPos_; }
    int32_t HeldKeyCount() const { return heldKeyCount_; }
    DelayClock& Clock() { return clock_; }

private:
    bool recording_ = false;
    int32_t recordPos_ = 0;
    int32_t pressCount_ = 0;
    std::array<uint8_t, kMaxHeldKeys> heldKeys_{};
    int32_t heldKeyCount_ = 0;
    uint32_t lastMessage_ = 0;
    uint32_t lastKey_ = 0;
    DelayClock clock_;
};

bool IsKeyMessage(uint32_t message);
