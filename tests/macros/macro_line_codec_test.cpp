#include <gtest/gtest.h>

#include "macros/macro_line_codec.h"
#include "tests/macros/macro_test_records.h"

namespace {
uint8_t Same(uint8_t code) { return code; }
// Stands for a layout: every code moves by one on the way out and back on the way in.
uint8_t Up(uint8_t code) { return static_cast<uint8_t>(code + 1); }
uint8_t Down(uint8_t code) { return static_cast<uint8_t>(code - 1); }

const uint8_t kKeys[] = {4, 29, 0xF1, 0xF2, 0xF3, 0, 0xF6, 0xF9};

std::u16string Fields(std::initializer_list<int> values)
{
    std::u16string text;
    for (int value : values) text = AppendNumber3(std::move(text), value);
    return text;
}

TEST(MacroLineCodec, AppendNumber3PadsToThreeDigits)
{
    EXPECT_EQ(AppendNumber3(u"x", 7), u"x007");
    EXPECT_EQ(AppendNumber3(u"", 0), u"000");
    EXPECT_EQ(AppendNumber3(u"", 42), u"042");
    EXPECT_EQ(AppendNumber3(u"", 99), u"099");
    EXPECT_EQ(AppendNumber3(u"", 100), u"100");
    EXPECT_EQ(AppendNumber3(u"", 255), u"255");
    EXPECT_EQ(AppendNumber3(u"", 1000), u"1000");
    EXPECT_EQ(AppendNumber3(u"", -5), u"00-5");  // the comparisons are signed
}

TEST(MacroLineCodec, ThreeDigitFieldReadsLikeTheProfileReaders)
{
    const std::u16string line = u"007042255 7x-01+12abc";
    EXPECT_EQ(ThreeDigitField(line, 0), 7);
    EXPECT_EQ(ThreeDigitField(line, 1), 42);
    EXPECT_EQ(ThreeDigitField(line, 2), 255);
    EXPECT_EQ(ThreeDigitField(line, 3), 7);   // leading blank, stops at the letter
    EXPECT_EQ(ThreeDigitField(line, 4), -1);  // a sign is accepted
    EXPECT_EQ(ThreeDigitField(line, 5), 12);
    EXPECT_EQ(ThreeDigitField(line, 6), 0);   // no digits
    EXPECT_EQ(ThreeDigitField(line, 7), 0);   // past the end
    EXPECT_EQ(ThreeDigitField(u"12", 0), 12); // a short last field
    EXPECT_EQ(ThreeDigitField(line, SIZE_MAX), 0);
}

TEST(MacroLineCodec, NameFieldsComeFirstLowByteFirst)
{
    MacroRecord record{};
    SetMacroName(record, u"M1");
    const std::u16string line = EncodeMacroLine(record, Same);
    ASSERT_EQ(line.size(), kMacroLineDigits);
    EXPECT_EQ(line.substr(0, 12), u"077000049000");
    EXPECT_EQ(line.substr(12, 48), std::u16string(48, u'0'));

    SetMacroName(record, u"\u00F1\u4E2D");  // units above 255 split into two bytes
    EXPECT_EQ(EncodeMacroLine(record, Same).substr(0, 12), u"241000045078");
}

TEST(MacroLineCodec, FieldOrderOfHeaderEventsAndLightBlocks)
{
    MacroRecord record{};
    record.loopMode = 2;
    record.repeatCount = 0x0102;
    record.eventCount = 0x0304;
    record.moveCount = 0x0506;
    record.countF7 = 0x0708;
    record.cpiCount = 0x090A;
    record.countFA = 0x0B0C;
    record.lightCount = 13;
    record.light2Count = 14;
    record.SetEvent(0, {1, 4, 0x1234, 0xABCD, 10000});
    record.SetEvent(179, {2, 5, 1, 2, 3});
    record.lightBlocks[0].stepCount = 16;
    record.lightBlocks[4].steps[15].reserved = 200;
    record.light2Blocks[0].stepCount = 3;  // never stored

    const std::u16string line = EncodeMacroLine(record, Up);
    ASSERT_EQ(line.size(), 5445u);
    EXPECT_EQ(line.substr(60, 45), u"002002001004003006005008007010009012011013014");
    EXPECT_EQ(line.substr(35 * 3, 24), Fields({1, 5, 0x34, 0x12, 0xCD, 0xAB, 0x10, 0x27}));
    EXPECT_EQ(line.substr((35 + 8 * 179) * 3, 24), Fields({2, 6, 1, 0, 2, 0, 3, 0}));
    EXPECT_EQ(line.substr(1475 * 3, 3), u"016");
    EXPECT_EQ(line.substr(line.size() - 3), u"200");

    MacroRecord back{};
    back.light2Blocks[0].stepCount = 9;
    DecodeMacroLine(line, back, Down);
    record.light2Blocks[0].stepCount = 9;  // the reader leaves the unstored set alone
    ClampMacroRecord(record);              // counters beyond the arrays come back clamped
    EXPECT_EQ(back.eventCount, 180);
    EXPECT_EQ(back.repeatCount, 0x0102);
    EXPECT_TRUE(SameRecord(back, record));
}

TEST(MacroLineCodec, FullRecordRoundTrips)
{
    const MacroRecord record = FullMacroRecord(u"Nine_char", kKeys);
    const std::u16string line = EncodeMacroLine(record, Up);
    EXPECT_EQ(line.size(), kMacroLineDigits);
    MacroRecord back{};
    DecodeMacroLine(line, back, Down);
    EXPECT_TRUE(SameStoredFields(back, record));
}

TEST(MacroLineCodec, ShortLineReadsZerosPastItsEnd)
{
    MacroRecord record = FullMacroRecord(u"Old", kKeys);
    DecodeMacroLine(u"077", record, Same);
    EXPECT_EQ(record.name[0], u'M');
    EXPECT_EQ(record.name[1], u'\0');
    EXPECT_EQ(record.eventCount, 0);
    EXPECT_EQ(record.repeatCount, 0);
    EXPECT_EQ(record.actions[179], 0);
    EXPECT_EQ(record.params[3].y, 0);
    EXPECT_EQ(record.lightBlocks[4].steps[15].reserved, 0);
    // The set that files do not store is left as it was.
    EXPECT_EQ(record.light2Blocks[4].stepCount, FullMacroRecord(u"Old", kKeys).light2Blocks[4].stepCount);

    DecodeMacroLine(u"", record, Up);
    EXPECT_EQ(record.name[0], u'\0');
    EXPECT_EQ(record.codes[0], 1);  // the empty code still goes through the layout
}

TEST(MacroLineCodec, SixteenBitFieldsSplitAndJoin)
{
    for (uint16_t value : {0, 1, 255, 256, 0x1234, 0xFFFF}) {
        MacroRecord record{};
        record.repeatCount = value;
        record.delays[7] = value;
        record.params[2] = {value, static_cast<uint16_t>(~value)};
        const std::u16string line = EncodeMacroLine(record, Same);
        EXPECT_EQ(line.substr(21 * 3, 6), Fields({value & 0xFF, value >> 8}));
        MacroRecord back{};
        DecodeMacroLine(line, back, Same);
        EXPECT_EQ(back.repeatCount, value);
        EXPECT_EQ(back.delays[7], value);
        EXPECT_EQ(back.params[2].x, value);
        EXPECT_EQ(back.params[2].y, static_cast<uint16_t>(~value));
    }
}

TEST(MacroLineCodec, OddFieldsReadAsTheirNumbersCut)
{
    // name unit 0: the bytes of "999" and "001" -> 0x01E7; loopMode "999" keeps its low byte; repeatCount
    // "abc" + "002" -> 0 + 512; eventCount "-01" + "000" -> 65535, clamped to 180.
    std::u16string line = u"999001" + std::u16string(18 * 3, u'0') + u"999abc002-01000";
    MacroRecord record{};
    DecodeMacroLine(line, record, Same);
    EXPECT_EQ(record.name[0], 0x01E7);
    EXPECT_EQ(DecodeMacroLineName(line), u"\u01E7");  // the name lister reads the same bytes
    EXPECT_EQ(record.loopMode, 999 & 0xFF);
    EXPECT_EQ(record.repeatCount, 512);
    EXPECT_EQ(record.eventCount, 180);
}

TEST(MacroLineCodec, DecodedRecordsStayInsideTheirArrays)
{
    MacroRecord record{};
    record.name.fill(u'A');
    record.eventCount = 1000;
    record.lightCount = 9;
    record.lightBlocks[1].stepCount = 99;
    MacroRecord back{};
    DecodeMacroLine(EncodeMacroLine(record, Same), back, Same);
    EXPECT_EQ(back.name[8], u'A');
    EXPECT_EQ(back.name[9], u'\0');
    EXPECT_EQ(back.eventCount, 180);
    EXPECT_EQ(back.lightCount, 5);
    EXPECT_EQ(back.lightBlocks[1].stepCount, 16);
}

TEST(MacroLineCodec, NameOfALine)
{
    MacroRecord record{};
    SetMacroName(record, u"Ninechars");
    EXPECT_EQ(DecodeMacroLineName(EncodeMacroLine(record, Same)), u"Ninechars");
    EXPECT_EQ(DecodeMacroLineName(EncodeMacroLine(MacroRecord{}, Same)), u"");
    EXPECT_EQ(DecodeMacroLineName(u""), u"");
    EXPECT_EQ(DecodeMacroLineName(u"065000066"), u"AB");  // the line ends inside the name
    record.name.fill(u'Z');
    EXPECT_EQ(DecodeMacroLineName(EncodeMacroLine(record, Same)), u"ZZZZZZZZZ");
}
}  // namespace
