#include <gtest/gtest.h>

#include <cstring>

#include "macros/macro_record.h"
#include "tests/macros/macro_test_records.h"

namespace {
const uint8_t kKeys[] = {4, 0xF1, 0xF6};

TEST(MacroRecord, ClearZeroesEveryFieldOfOneSlotOnly)
{
    std::array<MacroRecord, 3> table{};
    for (MacroRecord& record : table) record = FullMacroRecord(u"Busy", kKeys);
    table[1].light2Blocks[4].steps[15].reserved = 9;
    ClearMacroRecord(table.data(), 1);

    EXPECT_TRUE(SameRecord(table[1], MacroRecord{}));
    EXPECT_EQ(table[0].eventCount, 180);
    EXPECT_EQ(table[2].repeatCount, 0xBEEF);
}

TEST(MacroRecord, EventAccessStaysInsideTheArrays)
{
    MacroRecord record{};
    record.SetEvent(179, {MacroEventAction::Press, 4, 1, 2, 3});
    record.SetEvent(180, {9, 9, 9, 9, 9});
    const MacroEvent last = record.Event(179);
    EXPECT_EQ(last.action, MacroEventAction::Press);
    EXPECT_EQ(last.code, 4);
    EXPECT_EQ(last.x, 1);
    EXPECT_EQ(last.y, 2);
    EXPECT_EQ(last.delay, 3);
    EXPECT_EQ(record.Event(180).action, 0);
    EXPECT_EQ(record.Event(100000).code, 0);
}

TEST(MacroRecord, ClampKeepsCountersStepsAndNameInsideTheRecord)
{
    MacroRecord record{};
    record.name.fill(u'x');
    record.eventCount = 999;
    record.moveCount = 51;
    record.countF7 = 6;
    record.cpiCount = 65535;
    record.countFA = 7;
    record.lightCount = 200;
    record.light2Count = 6;
    record.lightBlocks[2].stepCount = 17;
    record.light2Blocks[4].stepCount = 255;
    record.lightBlocks[0].stepCount = 16;
    ClampMacroRecord(record);
    EXPECT_EQ(record.name[8], u'x');
    EXPECT_EQ(record.name[9], u'\0');
    EXPECT_EQ(record.eventCount, 180);
    EXPECT_EQ(record.moveCount, 50);
    EXPECT_EQ(record.countF7, 5);
    EXPECT_EQ(record.cpiCount, 5);
    EXPECT_EQ(record.countFA, 5);
    EXPECT_EQ(record.lightCount, 5);
    EXPECT_EQ(record.light2Count, 5);
    EXPECT_EQ(record.lightBlocks[2].stepCount, 16);
    EXPECT_EQ(record.light2Blocks[4].stepCount, 16);
    EXPECT_EQ(record.lightBlocks[0].stepCount, 16);
}

TEST(MacroRecord, CpiValuesShownForLevels)
{
    EXPECT_EQ(MacroCpiValue(8), 1600u);
    EXPECT_EQ(MacroCpiValue(10), 2000u);
    EXPECT_EQ(MacroCpiValue(12), 2400u);
    EXPECT_EQ(MacroCpiValue(0), 800u);
    EXPECT_EQ(MacroCpiValue(16), 800u);
    EXPECT_EQ(MacroCpiValue(15), 4800u);
}
}  // namespace
