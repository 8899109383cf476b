#include "device/macro_stream.h"

#include <gtest/gtest.h>

#include "device/slot_descriptor.h"

namespace {

using Bytes = std::vector<uint8_t>;

void AddEvent(MacroRecord& r, uint8_t action, uint8_t code, uint16_t delay, uint16_t x = 0, uint16_t y = 0)
{
    r.SetEvent(r.eventCount, {action, code, x, y, delay});
    ++r.eventCount;
    switch (code) {
    case MacroEventCode::Move: ++r.moveCount; break;
    case MacroEventCode::Cpi: ++r.cpiCount; break;
    case MacroEventCode::Light: ++r.lightCount; break;
    default: break;
    }
}

MacroRecord KeyExample()
{
    MacroRecord r{};
    r.repeatCount = 1;
    AddEvent(r, 1, 0x04, 50);
    AddEvent(r, 2, 0x04, 3000);
    AddEvent(r, 1, 0x05, 20);
    return r;
}

LightBlock Block(uint8_t steps)
{
    LightBlock block{};
    block.stepCount = steps;
    for (uint8_t k = 0; k < steps; ++k) block.steps[k] = {static_cast<uint8_t>(k + 1), 3, 20, 0};
    return block;
}

TEST(MacroStream, KeyPressAndReleaseWithFillers)
{
    const MacroRecord r = KeyExample();
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_EQ(layout.entryCount, 5u);
    EXPECT_EQ(layout.size, 16u);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, layout.size);
    EXPECT_EQ(s.bytes, (Bytes{0x01, 0x00, 0x85, 0x04, 0x2E, 0x04, 0x7F, 0x00, 0x7F, 0x00, 0x81, 0x05, 0, 0, 0, 0}));
    EXPECT_TRUE(s.messages.empty());
    EXPECT_FALSE(s.stopApply);
}

TEST(MacroStream, TimeBytesAndFillers)
{
    EXPECT_EQ(EventTimeOf(1270, false).units, 127);
    EXPECT_EQ(EventTimeOf(1270, false).fillers, 0u);
    EXPECT_EQ(EventTimeOf(2540, false).units, 127);
    EXPECT_EQ(EventTimeOf(2540, false).fillers, 1u);
    EXPECT_EQ(EventTimeOf(2550, false).units, 1);
    EXPECT_EQ(EventTimeOf(2550, false).fillers, 2u);
    EXPECT_EQ(EventTimeOf(5, false).units, 1);  // below one unit
    EXPECT_EQ(EventTimeOf(65535, false).fillers, 7u);  // limited to 10000 ms
    EXPECT_EQ(EventTimeOf(65535, false).units, 111);
    EXPECT_EQ(EventTimeOf(9000, true).units, 1);  // the last event is always the shortest
    EXPECT_EQ(EventTimeOf(9000, true).fillers, 0u);

    MacroRecord r{};
    AddEvent(r, 0, 0, 2550);
    AddEvent(r, 2, 0xF1, 0);
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::Constant);
    EXPECT_EQ(layout.entryCount, 4u);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::Constant, 0x240, layout.size);
    EXPECT_EQ(s.bytes, (Bytes{0x00, 0x00, 0x01, 0x00, 0x7F, 0x00, 0x7F, 0x00, 0x01, 0xF1, 0, 0, 0, 0, 0, 0}));
}

TEST(MacroStream, MovesOfEachAction)
{
    MacroRecord r{};
    r.repeatCount = 2;
    AddEvent(r, 3, 0xF6, 10, 10, 5);
    AddEvent(r, 4, 0xF6, 10, 10, 5);
    AddEvent(r, 5, 0xF6, 10, 10, 5);
    AddEvent(r, 6, 0xF6, 10, 10, 5);
    AddEvent(r, 7, 0xF6, 10, 10, 5);  // no known direction: no amounts
    AddEvent(r, 1, 0x04, 10);
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_EQ(layout.entryCount, 6u);
    EXPECT_EQ(layout.size, 40u);  // 2 + 2 * (6 + 10) = 34, aligned
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, layout.size);
    const Bytes expected{0x02, 0x00,
                         0x01, 0xF6, 0xF6, 0xFF, 0xFB, 0xFF,
                         0x01, 0xF6, 0xF6, 0xFF, 0x05, 0x00,
                         0x01, 0xF6, 0x0A, 0x00, 0xFB, 0xFF,
                         0x01, 0xF6, 0x0A, 0x00, 0x05, 0x00,
                         0x01, 0xF6,
                         0x81, 0x04};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), s.bytes.begin()));
    EXPECT_TRUE(std::all_of(s.bytes.begin() + static_cast<long>(expected.size()), s.bytes.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST(MacroStream, CpiSetAndResetAndTheCpiFlag)
{
    MacroRecord r{};
    r.loopMode = 1;
    r.repeatCount = 9;
    AddEvent(r, 9, 0xF8, 30, 4);
    AddEvent(r, 11, 0xF8, 30, 7);
    AddEvent(r, 10, 0xF8, 30, 0);
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_TRUE(layout.cpiFlag);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, layout.size);
    const Bytes expected{0x01, 0x00, 0x83, 0xF8, 0x04, 0x00, 0x00, 0xF8, 0x07, 0x00, 0x01, 0xF8, 0x00, 0x00};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), s.bytes.begin()));

    r.loopMode = 0;
    EXPECT_FALSE(ComputeStreamLayout(r, MacroSource::File).cpiFlag);
    EXPECT_EQ(EncodeMacroStream(r, MacroSource::File, 0x240, 8).bytes[0], 9);
    // A constant macro always plays its repeat count.
    r.loopMode = 2;
    EXPECT_EQ(EncodeMacroStream(r, MacroSource::Constant, 0x240, 8).bytes[0], 9);
    EXPECT_EQ(EncodeMacroStream(r, MacroSource::File, 0x240, 8).bytes[0], 1);
}

TEST(MacroStream, LightBlocksArePlacedAfterTheEvents)
{
    MacroRecord r{};
    r.repeatCount = 1;
    r.lightBlocks[0] = Block(2);
    r.lightBlocks[1] = Block(1);
    AddEvent(r, 13, 0xF9, 100, 0);
    AddEvent(r, 15, 0xF9, 100, 1);
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_EQ(layout.eventArea, 16u);  // 2 + 2 * (2 + 2)
    EXPECT_EQ(layout.size, 16u + 16u + 8u);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x1230, layout.size);
    const Bytes expected{0x01, 0x00,
                         0x0A, 0xF9, 0x40, 0x12,         // block 0 at 0x1240, mode 0
                         0x01, 0xF9, 0x50, 0x12 | 0x80,  // block 1 at 0x1250, mode 2
                         0, 0, 0, 0, 0, 0,
                         0x01, 0, 0, 0, 1, 3, 20, 0, 2, 3, 20, 0, 0, 0, 0, 0,  // n = 2: 12 bytes, 4 zeros
                         0x00, 0, 0, 0, 1, 3, 20, 0};
    EXPECT_EQ(s.bytes, expected);
    EXPECT_TRUE(s.messages.empty());
}

TEST(MacroStream, LightEventsWithoutBlocksOrWithAnUnknownMode)
{
    MacroRecord r{};
    r.repeatCount = 1;
    AddEvent(r, 13, 0xF9, 100, 0);
    r.lightCount = 0;  // a light event with no block at all
    AddEvent(r, 1, 0x04, 0);
    EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, ComputeStreamLayout(r, MacroSource::File).size);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], StreamMessage::NoLightBlock);
    EXPECT_EQ(s.bytes[2], 0x81);  // the light event has no entry
    EXPECT_EQ(s.bytes[3], 0x04);

    MacroRecord bad{};
    bad.lightBlocks[0] = Block(1);
    AddEvent(bad, 20, 0xF9, 100, 0);
    s = EncodeMacroStream(bad, MacroSource::File, 0x240, ComputeStreamLayout(bad, MacroSource::File).size);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], StreamMessage::BadLightAction);
    EXPECT_EQ(s.bytes[5], 0x02);  // mode 0
    EXPECT_EQ(std::u16string(StreamMessageText(StreamMessage::NoLightBlock)), u"LED:Error!");
    EXPECT_EQ(std::u16string(StreamMessageText(StreamMessage::BadLightAction)), u"Error!");
    EXPECT_EQ(std::u16string(StreamMessageText(StreamMessage::LightPastLimit)), u"LED Error!");
}

TEST(MacroStream, LightDataAtTheEndOfMemory)
{
    MacroRecord r{};
    r.lightBlocks[0] = Block(1);
    AddEvent(r, 13, 0xF9, 100, 0);
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    ASSERT_EQ(layout.size, 16u);
    // Data ending exactly at 0x4000 is accepted ...
    EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x4000 - 16, layout.size);
    EXPECT_FALSE(s.stopApply);
    EXPECT_TRUE(s.messages.empty());
    // ... data that would end at 0x4008 stops the apply.
    s = EncodeMacroStream(r, MacroSource::File, 0x4000 - 8, layout.size);
    EXPECT_TRUE(s.stopApply);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], StreamMessage::LightPastLimit);
}

TEST(MacroStream, EmptyMacros)
{
    MacroRecord r{};
    r.repeatCount = 4;
    const StreamLayout file = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_EQ(file.entryCount, 3u);
    EXPECT_EQ(file.size, 8u);
    EXPECT_FALSE(file.cpiFlag);
    EXPECT_EQ(EncodeMacroStream(r, MacroSource::File, 0x240, file.size).bytes, (Bytes{4, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ComputeStreamLayout(r, MacroSource::Constant).entryCount, 0u);
    EXPECT_EQ(ComputeStreamLayout(r, MacroSource::Constant).size, 8u);
}

TEST(MacroStream, DamagedRecordsStayInsideTheirStream)
{
    // Counters that say nothing of the events, light events naming one block twice and a block
    // beyond the record: the stream gets room for what is there and nothing lands outside it.
    MacroRecord r{};
    r.lightCount = 1;
    r.lightBlocks[0] = Block(16);
    for (int i = 0; i < 60; ++i) r.SetEvent(i, {3, 0xF6, 100, 100, 10});
    r.SetEvent(60, {13, 0xF9, 0, 0, 10});
    r.SetEvent(61, {13, 0xF9, 0, 0, 10});
    r.SetEvent(62, {13, 0xF9, 9, 0, 10});
    r.eventCount = 63;
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    EXPECT_GE(layout.size, layout.eventArea + 2 * 72u);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, layout.size);
    EXPECT_EQ(s.bytes.size(), layout.size);
    EXPECT_EQ(s.messages, std::vector<StreamMessage>{StreamMessage::NoLightBlock});

    // An event count beyond the record reads only the record's events.
    MacroRecord huge{};
    huge.eventCount = 60000;
    EXPECT_EQ(ComputeStreamLayout(huge, MacroSource::Constant).entryCount, kMaxMacroEvents);
    // A stream cut short (a macro grown since it was placed) is filled up to its size only.
    EXPECT_EQ(EncodeMacroStream(KeyExample(), MacroSource::File, 0x240, 8).bytes,
              (Bytes{0x01, 0x00, 0x85, 0x04, 0x2E, 0x04, 0x7F, 0x00}));
}

TEST(MacroStream, LargestRecordFitsItsLimits)
{
    MacroRecord r{};
    r.lightCount = 5;
    r.light2Count = 5;
    for (auto& b : r.lightBlocks) b = Block(16);
    for (auto& b : r.light2Blocks) b = Block(16);
    r.moveCount = 50;
    r.cpiCount = r.countF7 = r.countFA = 5;
    r.eventCount = 180;
    for (int i = 0; i < 180; ++i) r.SetEvent(i, {1, 0x04, 0, 0, 10000});
    for (int i = 0; i < 50; ++i) r.codes[i] = 0xF6;
    for (int i = 50; i < 55; ++i) r.SetEvent(i, {13, 0xF9, static_cast<uint16_t>(i - 50), 0, 10000});
    const StreamLayout layout = ComputeStreamLayout(r, MacroSource::File);
    // 180 events with 7 fillers each but the last, 50 moves, 5 of every other kind, ten 16-step
    // light blocks: the largest stream a record within its limits can need.
    EXPECT_EQ(layout.entryCount, 180u + 179u * 7u);
    EXPECT_EQ(layout.size, 3840u);
    const EncodedStream s = EncodeMacroStream(r, MacroSource::File, 0x240, layout.size);
    EXPECT_FALSE(s.stopApply);
    EXPECT_EQ(s.bytes.size(), 3840u);
}

TEST(MacroStream, StepStreamMovesYAndCutsAtTheOldSize)
{
    MacroRecord r{};
    r.repeatCount = 3;
    AddEvent(r, 6, 0xF6, 5, 10, 29);
    AddEvent(r, 3, 0xF6, 5000, 10, 30);
    AddEvent(r, 1, 0x04, 20);
    AddEvent(r, 13, 0xF9, 20, 0);
    AddEvent(r, 0, 0x00, 20);
    Bytes s = EncodeStepStream(r, true, 32);
    EXPECT_EQ(r.params[0].y, 30);
    EXPECT_EQ(r.params[1].y, 30);
    const Bytes expected{0x03, 0x00,
                         0x01, 0xF6, 0x0A, 0x00, 0x1E, 0x00,
                         0x7F, 0xF6, 0xF6, 0xFF, 0xE2, 0xFF,
                         0x82, 0x04,
                         0x02, 0x00};  // the light event writes nothing
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), s.begin()));

    r.params[0].y = 0;
    s = EncodeStepStream(r, false, 4);
    EXPECT_EQ(r.params[0].y, 0);
    EXPECT_EQ(r.params[1].y, 29);
    EXPECT_EQ(s, (Bytes{0x03, 0x00, 0x01, 0xF6}));
    EXPECT_TRUE(EncodeStepStream(r, false, 0).empty());
}

TEST(SlotDescriptor, Layout)
{
    SlotDescriptor d;
    d.entryCount = 5;
    d.streamAddress = 0x240;
    d.keyUsage = 0xFF;
    EXPECT_EQ(d.Encode(), (std::array<uint8_t, 8>{0x09, 0x05, 0xFF, 0x00, 0x00, 0x40, 0x02, 0x00}));

    // A media key: E = 0, consumer usage 0x0223.
    SlotDescriptor media;
    media.consumerUsage = 0x0223;
    media.streamAddress = 0x3FF8;
    EXPECT_EQ(media.Encode(), (std::array<uint8_t, 8>{0x09, 0x00, 0xFF, 0x23, 0x02, 0xF8, 0x3F, 0x00}));

    SlotDescriptor big;
    big.entryCount = 0x1234 & 0x1FFF;
    big.cpiFlag = true;
    SetLoopFlags(big, 2);
    EXPECT_EQ(big.Encode()[1], 0x80 | 0x34);
    EXPECT_EQ(big.Encode()[7], 0x40 | 0x24);
    SetLoopFlags(big, 1 | 4);
    EXPECT_FALSE(big.playMode2);
    EXPECT_EQ(big.Encode()[6], 0x80);
    SetLoopFlags(big, 4);
    EXPECT_EQ(big.Encode()[6], 0x40);
    SetLoopFlags(big, 2 | 4);
    EXPECT_EQ(big.Encode()[6], 0x00);
}

}  // namespace
