#include "settings/memory_ini.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The literal's bytes, embedded nulls included.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

std::u16string Get(MemoryIniFile& ini, const std::u16string& section, const std::u16string& key)
{
    std::array<char16_t, 64> buffer{};
    const size_t copied = ini.GetString(section, key, buffer);
    return std::u16string(buffer.data(), copied);
}

TEST(MemoryIni, ReadsWithTheProfileFunctionsRules)
{
    MemoryIniFile ini(u"orphan=1\r\n[Config1]\r\n  K0 =  12 \r\nk0=99\r\nQ=\"quoted\"\r\nbare\r\n; note\r\n"
                      u"[ config1 ]\r\nK1=5\r\n[Other]\r\nK0=7");
    EXPECT_EQ(Get(ini, u"CONFIG1", u"k0"), u"12");
    EXPECT_EQ(Get(ini, u"Config1", u"Q"), u"quoted");
    EXPECT_EQ(Get(ini, u"Config1", u"bare"), u"");
    EXPECT_EQ(Get(ini, u"Config1", u"K1"), u"");  // the first of two equal sections wins
    EXPECT_EQ(Get(ini, u"Other", u"K0"), u"7");
    EXPECT_EQ(Get(ini, u"", u"orphan"), u"");
    std::array<char16_t, 3> small{u'x', u'x', u'x'};
    EXPECT_EQ(ini.GetString(u"Config1", u"K0", small), 2u);
    EXPECT_EQ(small[2], u'\0');
    std::array<char16_t, 1> one{u'x'};
    EXPECT_EQ(ini.GetString(u"Config1", u"K0", one), 0u);
    EXPECT_EQ(one[0], u'\0');
}

TEST(MemoryIni, WritesReplaceInPlaceAndAppendNewKeysAndSections)
{
    MemoryIniFile ini(u"[A]\nX=1\nY=2\n");
    ini.PutString(u"a", u"x", u"10");
    ini.PutString(u"A", u"Z", u"3");
    ini.PutString(u"B", u"K", u"-1");
    EXPECT_EQ(ini.Text(), u"[A]\r\nX=10\r\nY=2\r\nZ=3\r\n[B]\r\nK=-1\r\n");
    EXPECT_EQ(ini.Keys(u"A"), (std::vector<std::u16string>{u"X", u"Y", u"Z"}));
    EXPECT_EQ(ini.Sections(), (std::vector<std::u16string>{u"A", u"B"}));
    EXPECT_FALSE(ini.Value(u"B", u"missing").has_value());
}

TEST(MemoryIni, DecodesTheStoredEncodings)
{
    const std::string utf16le = Bytes("\xFF\xFE[\0S\0]\0\n\0K\0=\0" "5\0");
    const std::string utf16be = Bytes("\xFE\xFF\0[\0S\0]\0\n\0K\0=\0" "6");
    const std::string utf8 = Bytes("\xEF\xBB\xBF[S]\nK=7\nN=\xC3\xB1");
    EXPECT_EQ(MemoryIniFile::FromBytes(utf16le).Value(u"S", u"K"), u"5");
    EXPECT_EQ(MemoryIniFile::FromBytes(utf16be).Value(u"S", u"K"), u"6");
    EXPECT_EQ(MemoryIniFile::FromBytes(utf8).Value(u"S", u"K"), u"7");
    EXPECT_EQ(MemoryIniFile::FromBytes(utf8).Value(u"S", u"N"), u"ñ");
    EXPECT_EQ(MemoryIniFile::FromBytes("[S]\nK=8").Value(u"S", u"K"), u"8");
    // Cut-off and odd input is read as far as it goes.
    EXPECT_EQ(MemoryIniFile::FromBytes(Bytes("\xFF\xFE[")).Sections().size(), 0u);
    EXPECT_EQ(MemoryIniFile::FromBytes(Bytes("\xEF\xBB\xBF[S]\nK=\xF0\x9F")).Keys(u"S").size(), 1u);
}

}  // namespace
