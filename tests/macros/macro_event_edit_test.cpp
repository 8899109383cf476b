// Insert, delete and in-place edits of one macro record, at their limits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "macros/macro_event_edit.h"
#include "macros/macro_line_edits.h"
#include "tests/macros/macro_test_records.h"

namespace {
using M = LineEditMessage;

MacroRecord WithEvents(std::initializer_list<MacroEvent> events)
{
    MacroRecord record{};
    for (const MacroEvent& e : events) {
        record.SetEvent(record.eventCount++, e);
        if (e.code == MacroEventCode::Light) ++record.lightCount;
        if (e.code == MacroEventCode::Move) ++record.moveCount;
        if (e.code == MacroEventCode::Cpi) ++record.cpiCount;
    }
    return record;
}

LightBlock Block(uint8_t tag)
{
    LightBlock block{};
    block.stepCount = 1;
    block.steps[0] = {tag, tag, tag, 0};
    return block;
}

MacroEvent LightEvent(uint16_t block) { return {MacroEventAction::LightMode0, MacroEventCode::Light, block, 0, 5}; }

bool SameBlock(const LightBlock& a, const LightBlock& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(MacroEventEdit, InsertsRefusedAtTheLimitsLeaveTheRecordAlone)
{
    struct Case {
        const char* what;
        MacroRecord record;
        uint8_t code;
        MacroEditResult result;
    };
    MacroRecord full = WithEvents({});
    full.eventCount = 180;
    MacroRecord moves = WithEvents({{}});
    moves.moveCount = 50;
    MacroRecord cpis = WithEvents({{}});
    cpis.cpiCount = 5;
    MacroRecord lights = WithEvents({{}});
    lights.lightCount = 5;
    // A later light event names block 3 while the record counts one block.
    MacroRecord stray = WithEvents({{4, 1, 0, 0, 0}, LightEvent(3)});
    const Case cases[] = {
        {"181st event", full, 4, MacroEditResult::MoreThanLimit},
        {"181st delay", full, 0, MacroEditResult::MoreThanLimit},
        {"51st move", moves, MacroEventCode::Move, MacroEditResult::Error},
        {"6th CPI", cpis, MacroEventCode::Cpi, MacroEditResult::Error},
        {"6th light", lights, MacroEventCode::Light, MacroEditResult::Error},
        {"stray block index", stray, MacroEventCode::Light, MacroEditResult::Error},
    };
    for (const Case& c : cases) {
        MacroRecord record = c.record;
        EXPECT_EQ(InsertMacroEvent(record, 0, c.code, 1), c.result) << c.what;
        EXPECT_TRUE(SameRecord(record, c.record)) << c.what;
    }
    // Below the limits the same inserts go in.
    full.eventCount = 179;
    EXPECT_EQ(InsertMacroEvent(full, 179, 4, 1), MacroEditResult::Done);
    EXPECT_EQ(full.eventCount, 180);
}

TEST(MacroEventEdit, InsertShiftsLaterEventsAndSetsEachKindsDefaults)
{
    MacroRecord record = WithEvents({{1, 4, 1, 1, 100}, {2, 4, 2, 2, 200}});
    // position past the end appends, a negative one inserts at the top
    ASSERT_EQ(InsertMacroEvent(record, 99, MacroEventCode::Move, MacroEventAction::MovePlusXPlusY), MacroEditResult::Done);
    ASSERT_EQ(InsertMacroEvent(record, 1, MacroEventCode::Cpi, MacroEventAction::SetCpi), MacroEditResult::Done);
    ASSERT_EQ(InsertMacroEvent(record, -4, MacroEventCode::LeftButton, MacroEventAction::Press), MacroEditResult::Done);
    ASSERT_EQ(InsertMacroEvent(record, 2, MacroEventCode::Delay, MacroEventAction::DelayOnly), MacroEditResult::Done);

    const std::vector<std::vector<int>> expected = {
        // action, code, x, y, delay
        {1, 0xF1, 1, 1, 5},  // a mouse button keeps what its slot held
        {1, 4, 1, 1, 100},
        {0, 0, 4, 0, 5},     // the delay takes the CPI event's old slot
        {9, 0xF8, 4, 0, 5},  // 800 CPI
        {2, 4, 2, 2, 200},
        {6, 0xF6, 10, 10, 5},
    };
    ASSERT_EQ(record.eventCount, expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const MacroEvent e = record.Event(i);
        EXPECT_EQ((std::vector<int>{e.action, e.code, e.x, e.y, e.delay}), expected[i]) << "event " << i;
    }
    EXPECT_EQ(record.moveCount, 1);
    EXPECT_EQ(record.cpiCount, 1);
}

TEST(MacroEventEdit, LightBlocksRenumberOnInsertAndDelete)
{
    MacroRecord record = WithEvents({{1, 4, 0, 0, 0}, LightEvent(0), LightEvent(1)});
    record.lightBlocks[0] = Block(10);
    record.lightBlocks[1] = Block(11);

    // Before both: block 0 is new, the old 0 and 1 move to 1 and 2 unchanged.
    ASSERT_EQ(InsertMacroEvent(record, 1, MacroEventCode::Light, MacroEventAction::LightMode0), MacroEditResult::Done);
    EXPECT_EQ(record.lightCount, 3);
    EXPECT_EQ(record.Event(1).x, 0);
    EXPECT_EQ(record.Event(2).x, 1);
    EXPECT_EQ(record.Event(3).x, 2);
    LightBlock fresh{};
    fresh.stepCount = 1;
    EXPECT_TRUE(SameBlock(record.lightBlocks[0], fresh));
    EXPECT_TRUE(SameBlock(record.lightBlocks[1], Block(10)));
    EXPECT_TRUE(SameBlock(record.lightBlocks[2], Block(11)));

    // After the last: the block after the nearest one before.
    ASSERT_EQ(InsertMacroEvent(record, 4, MacroEventCode::Light, MacroEventAction::LightMode1), MacroEditResult::Done);
    EXPECT_EQ(record.Event(4).x, 3);

    // Deleting the first of them: the later blocks move down, the last one is cleared.
    ASSERT_TRUE(DeleteMacroEvent(record, 1));
    EXPECT_EQ(record.lightCount, 3);
    EXPECT_EQ(record.eventCount, 4);
    EXPECT_EQ(record.Event(1).x, 0);
    EXPECT_EQ(record.Event(2).x, 1);
    EXPECT_EQ(record.Event(3).x, 2);
    EXPECT_TRUE(SameBlock(record.lightBlocks[0], Block(10)));
    EXPECT_TRUE(SameBlock(record.lightBlocks[1], Block(11)));
    EXPECT_TRUE(SameBlock(record.lightBlocks[3], LightBlock{}));
    EXPECT_EQ(record.Event(4).code, 0);  // the old last slot is cleared
}

TEST(MacroEventEdit, DeleteStaysInsideInconsistentRecords)
{
    // Counters at 0 and block indexes no block stands for, as a hand-edited file may hold.
    MacroRecord record = WithEvents({{6, MacroEventCode::Move, 0, 0, 0}, LightEvent(0), LightEvent(200), LightEvent(4)});
    record.moveCount = 0;
    record.lightCount = 0;
    ASSERT_TRUE(DeleteMacroEvent(record, 0));
    EXPECT_EQ(record.moveCount, 0);
    ASSERT_TRUE(DeleteMacroEvent(record, 0));
    EXPECT_EQ(record.lightCount, 0);
    EXPECT_EQ(record.Event(0).x, 200);
    EXPECT_EQ(record.Event(1).x, 3);
    EXPECT_TRUE(SameBlock(record.lightBlocks[0], LightBlock{}));
    EXPECT_FALSE(DeleteMacroEvent(record, 2));
    EXPECT_FALSE(DeleteMacroEvent(record, -1));
    MacroRecord empty{};
    EXPECT_FALSE(DeleteMacroEvent(empty, 0));
    EXPECT_TRUE(SameRecord(empty, MacroRecord{}));
}

TEST(MacroEventEdit, FindMacroByNameMatchesWholeNamesExactly)
{
    std::array<MacroRecord, 3> table{};
    SetMacroName(table[0], u"Fire");
    SetMacroName(table[1], u"fire2");
    SetMacroName(table[2], u"Ninechars");
    EXPECT_EQ(FindMacroByName(table, u"Fire"), 0u);
    EXPECT_EQ(FindMacroByName(table, u"fire2"), 1u);
    EXPECT_EQ(FindMacroByName(table, u"fire"), 3u);
    EXPECT_EQ(FindMacroByName(table, u"Ninechars"), 2u);
    EXPECT_EQ(FindMacroByName(std::span(table).first(2), u"Ninechars"), 2u);
}

TEST(MacroLineEdits, EditedLinesBecomeValuesWithTheirLimits)
{
    struct Case {
        MacroEvent event;
        int32_t line;
        std::u16string text;
        uint16_t x, y, delay;
        std::vector<M> messages;
    };
    const MacroEvent key{1, 4, 0, 0, 7};
    const MacroEvent move{5, MacroEventCode::Move, 1, 1, 7};
    const MacroEvent cpi{9, MacroEventCode::Cpi, 4, 3, 7};
    const Case cases[] = {
        {key, 1, u"    150ms", 0, 0, 150, {}},
        {key, 1, u"150", 0, 0, 150, {}},
        {key, 1, u"  +42ms99", 0, 0, 42, {}},
        {key, 1, u"ms", 0, 0, 0, {}},
        {key, 1, u"20000ms", 0, 0, 10000, {M::MoreThanLimit}},
        {key, 1, u"-5ms", 0, 0, 0, {M::MoreThanLimit}},
        {key, 1, u"99999999999999999999999", 0, 0, 10000, {M::MoreThanLimit}},
        {key, 0, u"[↓]Z", 0, 0, 7, {}},
        {move, 0, u"[X+]:120,[Y-]:7", 100, 7, 7, {M::MoreThanLimitEnglish}},
        {move, 0, u"[X+]:120,[Y-]:700", 100, 100, 7, {M::MoreThanLimitEnglish, M::MoreThanLimitEnglish}},
        {move, 0, u"[X+]:-3,[Y-]:0", 0, 0, 7, {M::MoreThanLimitEnglish}},
        {move, 0, u"[X+]:55", 55, 0, 7, {}},
        {cpi, 0, u"[DPI]:1600 ", 7, 3, 7, {}},
        {cpi, 0, u"4800", 15, 3, 7, {}},
        {cpi, 0, u"[DPI]:1500", 4, 3, 7, {M::CpiValues}},
        {{10, MacroEventCode::Cpi, 2, 0, 7}, 0, u"[DPI]:1600", 2, 0, 7, {}},
        {key, 2, u"[DPI]:1600", 0, 0, 7, {}},  // no event 1
        {key, -1, u"5ms", 0, 0, 7, {}},        // no line selected
    };
    for (const Case& c : cases) {
        MacroRecord record{};
        record.SetEvent(0, c.event);
        record.eventCount = 1;
        if (c.line == 1) record.SetEvent(record.eventCount++, key);
        const LineEditResult result = ApplyEventLineEdit(record, c.line, c.text);
        const MacroEvent e = record.Event(0);
        const auto label = std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(e.x, c.x) << label;
        EXPECT_EQ(e.y, c.y) << label;
        EXPECT_EQ(e.delay, c.delay) << label;
        EXPECT_EQ(result.messages, c.messages) << label;
    }
}

TEST(MacroLineEdits, LightTimeOnlyThroughTheLightEventsOwnLine)
{
    MacroRecord record = WithEvents({{1, 4, 0, 0, 0}, LightEvent(1), LightEvent(7)});
    struct Case {
        int32_t line;
        std::u16string text;
        uint8_t time;
        std::vector<M> messages;
    };
    const Case cases[] = {
        {2, u"[Time]:3s", 30, {}},
        {2, u"[Duration]:25s", 250, {}},
        {2, u"[Time]:26s", 250, {M::MoreThanLimit}},
        {2, u"[Time]:-1s", 0, {M::MoreThanLimit}},
        {2, u"4", 40, {}},
        {3, u"[Time]:9s", 40, {}},  // the light event's delay line
        {0, u"[Time]:9s", 40, {}},  // not a light event
        {4, u"[Time]:9s", 40, {}},  // block 7 does not exist
    };
    for (const Case& c : cases) {
        const LineEditResult result = ApplyLightTimeEdit(record, c.line, c.text);
        EXPECT_EQ(record.lightBlocks[1].steps[0].time, c.time) << c.line;
        EXPECT_EQ(result.messages, c.messages) << c.line;
    }
}

TEST(MacroLineEdits, NamesUpToNineCharacters)
{
    MacroRecord record{};
    SetMacroName(record, u"Old");
    EXPECT_FALSE(SetMacroNameFromLine(record, u"TenLetters"));
    EXPECT_EQ(MacroName(record), u"Old");
    EXPECT_TRUE(SetMacroNameFromLine(record, u"NineChars"));
    EXPECT_EQ(MacroName(record), u"NineChars");
    EXPECT_TRUE(SetMacroNameFromLine(record, u"ab"));
    EXPECT_EQ(MacroName(record), u"ab");
}
}  // namespace
