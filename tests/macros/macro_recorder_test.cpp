// The recorder fed with key messages and a fake time of day.
#include <gtest/gtest.h>

#include <vector>

#include "macros/macro_recorder.h"
#include "settings/key_vocabulary.h"
#include "tests/macros/macro_test_records.h"
#include "tests/settings/language_guard.h"

namespace {
using namespace KeyMessage;
constexpr uint32_t A = 'A', B = 'B', C = 'C';

struct Step {
    uint32_t message;
    uint32_t vk;
    uint32_t now;
    bool recorded;
    bool swallow;
};

struct Event {
    uint8_t action;
    uint8_t code;
    uint16_t delay;
    bool operator==(const Event&) const = default;
};

std::vector<Event> Events(const MacroRecord& record)
{
    std::vector<Event> events;
    for (size_t i = 0; i < record.eventCount; ++i) events.push_back({record.actions[i], record.codes[i], record.delays[i]});
    return events;
}

TEST(MacroRecorder, KeysBecomePressAndReleaseEventsWithTheirGaps)
{
    LanguageGuard english(1);
    MacroRecorder recorder;
    MacroRecord record{};
    SetMacroName(record, u"old");
    record.loopMode = 2;
    record.SetEvent(0, {1, 9, 9, 9, 9});
    record.eventCount = 1;
    recorder.Start(record, u"RecordedName");  // cut to its field
    EXPECT_EQ(record.eventCount, 0);
    EXPECT_EQ(record.repeatCount, 1);
    EXPECT_EQ(record.loopMode, 2);
    EXPECT_EQ(std::u16string(record.name.data()), u"RecordedN");

    const Step steps[] = {
        {KeyUp, C, 1000, false, false},        // held before the recording: dropped
        {KeyDown, A, 1000, true, false},
        {KeyDown, A, 1030, false, false},       // key repeat
        {KeyDown, A, 1060, false, false},
        {KeyDown, B, 1250, true, false},
        {KeyUp, A, 1300, true, false},
        {KeyUp, A, 1300, false, false},
        {KeyUp, B, 1400, true, false},
        {SysKeyDown, kVkF10, 1500, true, true},
        {SysKeyUp, kVkF10, 1600, true, true},
        {KeyDown, kVkReturn, 1700, true, true},
        {KeyDown, kVkReturn, 1800, false, true},  // a repeated Enter is still held back
        {KeyUp, kVkReturn, 1900, true, false},
        {KeyDown, kVkEscape, 86'399'990, true, true},
        {KeyUp, kVkEscape, 40, true, false},     // across midnight
        {0x0200, A, 50, false, false},           // not a key message
    };
    for (const Step& s : steps) {
        const auto outcome = recorder.OnKey(s.message, s.vk, s.now, record);
        EXPECT_EQ(outcome.recorded, s.recorded) << s.message << " " << s.vk << " at " << s.now;
        EXPECT_EQ(outcome.swallow, s.swallow) << s.message << " " << s.vk << " at " << s.now;
    }
    recorder.Stop(record);
    const uint8_t a = VkToHidUsage(A), b = VkToHidUsage(B), f10 = VkToHidUsage(kVkF10), enter = VkToHidUsage(kVkReturn),
                  esc = VkToHidUsage(kVkEscape);
    const std::vector<Event> expected = {
        {1, a, 250}, {1, b, 50}, {2, a, 100}, {2, b, 100}, {1, f10, 100},  {2, f10, 100},
        {1, enter, 200}, {2, enter, 65535}, {1, esc, 50}, {2, esc, 20},
    };
    EXPECT_EQ(Events(record), expected);
    EXPECT_FALSE(recorder.Recording());
}

TEST(MacroRecorder, OneKeyGivesOneEventWithNoDelay)
{
    MacroRecorder recorder;
    MacroRecord record{};
    recorder.Start(record, u"x");
    recorder.OnKey(KeyDown, A, 5000, record);
    recorder.Stop(record);
    ASSERT_EQ(record.eventCount, 1);
    EXPECT_EQ(record.delays[0], 0);
}

TEST(MacroRecorder, HeldKeyTablePressAndEventLimits)
{
    MacroRecorder recorder;
    MacroRecord record{};
    recorder.Start(record, u"limits");
    // Ten keys at once: the tenth is not held, so neither its press nor its release is recorded.
    for (uint32_t vk = 'A'; vk < 'A' + 10; ++vk) recorder.OnKey(KeyDown, vk, 0, record);
    EXPECT_EQ(recorder.HeldKeyCount(), 9);
    EXPECT_EQ(recorder.RecordedEvents(), 9);
    for (uint32_t vk = 'A'; vk < 'A' + 10; ++vk) recorder.OnKey(KeyUp, vk, 0, record);
    EXPECT_EQ(recorder.HeldKeyCount(), 0);
    EXPECT_EQ(recorder.RecordedEvents(), 18);

    // 55 presses in all; then presses are dropped but releases of held keys still count.
    for (int i = 9; i < 54; ++i) {
        recorder.OnKey(KeyDown, 'K', 0, record);
        recorder.OnKey(KeyUp, 'K', 0, record);
    }
    EXPECT_EQ(recorder.RecordedEvents(), 108);
    EXPECT_TRUE(recorder.OnKey(KeyDown, 'X', 0, record).recorded);   // press 55
    EXPECT_FALSE(recorder.OnKey(KeyDown, 'Y', 0, record).recorded);  // press 56
    EXPECT_FALSE(recorder.OnKey(KeyUp, 'Y', 0, record).recorded);
    EXPECT_TRUE(recorder.OnKey(KeyUp, 'X', 0, record).recorded);
    EXPECT_EQ(recorder.RecordedEvents(), 110);

    // 55 presses and their releases make the 110 events: the record holds all of them.
    recorder.Stop(record);
    EXPECT_EQ(record.eventCount, 110);
}

TEST(MacroRecorder, ClockMeasuresTheRealGapUpTo65535)
{
    DelayClock clock;
    const std::vector<std::pair<uint32_t, uint16_t>> readings = {
        {1000, 1000}, {1000, 0}, {61'000, 60'000}, {200'000, 65535}, {86'399'000, 65535}, {500, 1500},
    };
    for (const auto& [now, gap] : readings) EXPECT_EQ(clock.ElapsedMsSinceLast(now), gap) << now;
}
}  // namespace
