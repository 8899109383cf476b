#include "settings/ini_value.h"

#include <gtest/gtest.h>

#include <limits>

#include "settings/memory_ini.h"

namespace {

TEST(IniValue, ParsesLikeTheRuntimeWtoi)
{
    EXPECT_EQ(ParseIniInt(u""), 0);
    EXPECT_EQ(ParseIniInt(u"0"), 0);
    EXPECT_EQ(ParseIniInt(u"42"), 42);
    EXPECT_EQ(ParseIniInt(u"  \t42"), 42);
    EXPECT_EQ(ParseIniInt(u"+7"), 7);
    EXPECT_EQ(ParseIniInt(u"-7"), -7);
    EXPECT_EQ(ParseIniInt(u"12abc"), 12);
    EXPECT_EQ(ParseIniInt(u"1 2"), 1);
    EXPECT_EQ(ParseIniInt(u"abc"), 0);
    EXPECT_EQ(ParseIniInt(u"- 5"), 0);
    EXPECT_EQ(ParseIniInt(u"--5"), 0);
    EXPECT_EQ(ParseIniInt(u"0x1F"), 0);
    EXPECT_EQ(ParseIniInt(u"007"), 7);
    EXPECT_EQ(ParseIniInt(u"\uFF11"), 0);  // a full-width digit is no digit
    EXPECT_EQ(ParseIniInt(u"2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseIniInt(u"-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseIniInt(u"99999999999999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseIniInt(u"-99999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST(IniValue, FormatsLikePercentD)
{
    EXPECT_EQ(FormatIniInt(0), u"0");
    EXPECT_EQ(FormatIniInt(300), u"300");
    EXPECT_EQ(FormatIniInt(-1), u"-1");
    EXPECT_EQ(FormatIniInt(std::numeric_limits<int32_t>::min()), u"-2147483648");
}

TEST(IniValue, ReadsOnlyWhatFitsInItsBuffer)
{
    MemoryIniFile ini(u"[S]\nA=12345\nB=1234567890123\nC=-1234\nD=  77  \nE=\"42\"\nF=9x\n");
    EXPECT_EQ(ReadIniInt(ini, u"S", u"A", kShortValueChars), 1234);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"A", kLongValueChars), 12345);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"B", kLongValueChars), 123456789);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"C", kShortValueChars), -123);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"D", kShortValueChars), 77);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"E", kShortValueChars), 42);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"F", kShortValueChars), 9);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"missing", kShortValueChars), 0);
    EXPECT_EQ(ReadIniInt(ini, u"none", u"A", kShortValueChars), 0);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"A", 1), 0);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"A", 0), 0);
    EXPECT_EQ(ReadIniInt(ini, u"S", u"B", 1000), 2147483647);  // capped at the widest buffer
}

// A source that ignores the buffer's size rule and fills every place.
class OverfillingSource : public IniSource {
public:
    size_t GetString(const std::u16string&, const std::u16string&, std::span<char16_t> buffer) override
    {
        for (char16_t& c : buffer) c = u'9';
        return 1000;
    }
    bool PutString(const std::u16string&, const std::u16string&, const std::u16string&) override { return false; }
};

TEST(IniValue, ASourceThatFillsTheWholeBufferStillGivesAtMostWidthMinusOneDigits)
{
    OverfillingSource source;
    EXPECT_EQ(ReadIniInt(source, u"S", u"K", kShortValueChars), 9999);
    EXPECT_EQ(ReadIniInt(source, u"S", u"K", kLongValueChars), 999999999);
}

TEST(IniValue, UnsignedValuesSurviveASignedWrite)
{
    MemoryIniFile ini;
    WriteIniInt(ini, u"S", u"K", static_cast<int32_t>(0xFFFFFFF9u));
    EXPECT_EQ(ini.Value(u"S", u"K"), u"-7");
    EXPECT_EQ(static_cast<uint32_t>(ReadIniInt(ini, u"S", u"K", kShortValueChars)), 0xFFFFFFF9u);
}

}  // namespace
