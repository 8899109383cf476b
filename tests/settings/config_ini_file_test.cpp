// The profile store on real files through the platform's profile-string functions.
#include "settings/config_ini_file.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/ini_value.h"
#include "tests/settings/settings_fixture.h"
#include "tests/temp_folder.h"

namespace {

using IniFile = SettingsTest;

MemoryIniFile Parsed(const std::string& bytes) { return MemoryIniFile::FromBytes(bytes); }

TEST_F(IniFile, AFullSaveWritesTheExpectedKeysInOrderAndLoadsBack)
{
    TempFolder folder;
    const std::u16string path = folder.File("config.ini");
    FillDistinctState();
    SaveConfigToIni(path, 1);
    EXPECT_EQ(Parsed(folder.Read("config.ini")).Text(), Parsed(ReadFixture("full_save.ini")).Text());

    const std::u16string saved = SavedText();
    for (int n = 1; n <= 4; ++n) {
        ResetSettingsState();
        g_currentProfile = static_cast<uint32_t>(n - 1);
        LoadProfile(path, n, false);
        EXPECT_EQ(SavedText(), saved) << n;
    }
}

TEST_F(IniFile, ValuesLongerThanTheirBufferAreCutByTheProfileReader)
{
    TempFolder folder;
    folder.Write("config.ini", "[Config1]\r\nFIRE_TIME=12345\r\nDPI0_R=1234567890123\r\nLED_TYPE=300\r\nK0=-1\r\n"
                               "K1=  12x  \r\nDPI_SET0=-1\r\nDPI_SET_EN3=7\r\n");
    ConfigIniFile ini(folder.File("config.ini"));
    std::array<char16_t, kShortValueChars> buffer{};
    EXPECT_EQ(ini.GetString(u"Config1", u"FIRE_TIME", buffer), 4u);
    EXPECT_EQ(std::u16string(buffer.data()), u"1234");
    EXPECT_EQ(ini.GetString(u"Config1", u"missing", buffer), 0u);
    EXPECT_EQ(buffer[0], u'\0');

    LoadProfile(folder.File("config.ini"), 1, false);
    EXPECT_EQ(g_fireTime, 1234u);
    EXPECT_EQ(g_dpiColours[0][0], 123456789u);
    EXPECT_EQ(g_ledType, 44);
    EXPECT_EQ(g_ledMode, 44);
    EXPECT_EQ(g_buttonAssignments[0][0], 0xFFFFFFFFu);
    EXPECT_EQ(g_buttonAssignments[0][1], 12u);
    EXPECT_EQ(g_dpiSet[0], 255);
    EXPECT_EQ(g_dpiSetEnabled[3], 1);
}

TEST_F(IniFile, SaveDpiLevelAndInitKeysTouchOnlyTheirOwnKey)
{
    TempFolder folder;
    folder.Write("config.ini", ReadFixture("full_save.ini"));
    const std::u16string path = folder.File("config.ini");
    g_dpiLevel = 5;
    SaveDpiLevel(path, 2);
    WriteCurConfig(path, 3);
    WriteVerSel(path, 1);
    MemoryIniFile expected = Parsed(ReadFixture("full_save.ini"));
    expected.PutString(u"Config2", u"DPI_LEVEL", u"5");
    expected.PutString(u"Init", u"CurConfig", u"3");
    expected.PutString(u"Init", u"VER_SEL", u"1");
    EXPECT_EQ(Parsed(folder.Read("config.ini")).Text(), expected.Text());

    LoadInitSection(path);
    EXPECT_EQ(g_curConfig, 3u);
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(g_languageEnglish, 1u);
}

TEST_F(IniFile, AMissingFileLoadsZerosAndASaveCreatesIt)
{
    TempFolder folder;
    FillDistinctState();
    const std::u16string path = folder.File("config.ini");
    LoadInitSection(path);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_languageEnglish, 0u);
    LoadProfile(path, 1, false);
    EXPECT_EQ(g_fireTime, 0u);
    EXPECT_EQ(g_buttonAssignments[3][8], 0u);
    EXPECT_EQ(g_ledUserColourEnabled, 1u);

    g_fireTime = 77;
    SaveConfigToIni(path, 1);
    EXPECT_EQ(Parsed(folder.Read("config.ini")).Value(u"Config4", u"FIRE_TIME"), u"77");

    // No folder: nothing is written, nothing breaks.
    const std::u16string nowhere = folder.File("absent/config.ini");
    SaveConfigToIni(nowhere, 1);
    LoadProfile(nowhere, 1, false);
    EXPECT_EQ(g_fireTime, 0u);
}

TEST_F(IniFile, GarbageHugeAndUtf16FilesLoadIntoASoundState)
{
    TempFolder folder;
    const std::u16string path = folder.File("config.ini");
    const auto loadAndCheck = [&](const std::string& bytes) {
        folder.Write("config.ini", bytes);
        LoadInitSection(path);
        EXPECT_GE(g_curConfig, 1u);
        EXPECT_LE(g_curConfig, 4u);
        EXPECT_LE(g_languageEnglish, 1u);
        LoadProfile(path, static_cast<int>(g_curConfig), false);
        EXPECT_EQ(g_ledMode, g_ledType);
    };

    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 251);
    loadAndCheck(garbage);

    std::string huge = "[Init]\r\nCurConfig=99999999999999999999\r\nVER_SEL=99999999999\r\n[Config1]\r\n";
    for (const std::u16string& key : Parsed(ReadFixture("full_save.ini")).Keys(u"Config1")) {
        huge += Utf8FromUtf16(key) + "=99999999999999999999\r\n";
    }
    loadAndCheck(huge);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_languageEnglish, 0u);
    EXPECT_EQ(g_fireTime, 9999u);
    EXPECT_EQ(g_dpiColours[0][0], 999999999u);

    // A file saved as UTF-16 with its byte-order mark reads like the plain one.
    std::string utf16 = "\xFF\xFE";
    for (char c : ReadFixture("full_save.ini")) utf16 += std::string{c, '\0'};
    loadAndCheck(utf16);
    EXPECT_EQ(g_fireTime, 300u);
    EXPECT_EQ(g_ledTypeSwitchEnabled[9], 0xFFFFFFFFu);
    loadAndCheck(utf16.substr(2));
}

}  // namespace
