// The profile store on real files through the platform's profile-string functions.
#include "settings/config_ini_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/clock.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "settings/section_cached_ini.h"
#include "tests/recording_prompts.h"
#include "tests/settings/settings_fixture.h"
#include "tests/temp_folder.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

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

struct ProgramEnd {};

// config.ini written as before, key by key in place; or ended (a throw) after `writesLeft` writes.
class InPlaceIni : public ConfigIniFile {
public:
    using ConfigIniFile::ConfigIniFile;
    bool Rewrite(const std::function<bool()>& writes) override { return writes(); }
};
class EndingIni : public ConfigIniFile {
public:
    using ConfigIniFile::ConfigIniFile;
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        if (key == failingKey) return false;
        if (writesLeft-- == 0) throw ProgramEnd{};
        return ConfigIniFile::PutString(section, key, value);
    }
    int writesLeft = -1;
    std::u16string failingKey;
};

// Another program's handle on a file, as backup, sync and scanning tools hold one: reads and
// writes shared, deletion not. Let go at the clock's `releaseAt`th sleep (0: never); sleeps pass at once.
class HolderClock : public FakeClock {
public:
    void SleepMs(uint32_t ms) override
    {
        FakeClock::SleepMs(ms);
        if (Sleeps().size() == releaseAt) held.Reset();
    }
    void Hold(const std::u16string& path)
    {
        held.Reset(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ClearSleeps();
    }
    UniqueHandle held;
    size_t releaseAt = 0;
};

TEST_F(IniFile, ASaveReplacesTheFileWholeWithTheBytesOfTheKeyByKeyWrites)
{
    TempFolder folder;
    const std::u16string path = folder.File("config.ini");
    std::string start = "; the user's note\r\n" + ReadFixture("full_save.ini") + "\r\n[Other]\r\n x = y \r\n";
    start.replace(start.find("FIRE_TIME=300"), 13, " FIRE_TIME = 9 ");
    folder.Write("config.ini", start);
    folder.Write("inplace.ini", start);
    FillDistinctState();
    InPlaceIni inPlace(folder.File("inplace.ini"));
    SaveConfigToIni(inPlace, 1);
    SaveConfigToIni(path, 1);
    const std::string saved = folder.Read("config.ini");
    EXPECT_EQ(saved, folder.Read("inplace.ini"));

    // Ended inside the third section: the whole file as it was.
    g_fireTime = 77;
    EndingIni ending(path);
    ending.writesLeft = 250;
    EXPECT_THROW(SaveConfigToIni(ending, 1), ProgramEnd);
    EXPECT_EQ(folder.Read("config.ini"), saved);

    // A write into the copy that fails, a file another program holds without sharing it, or one
    // held without delete sharing for good (the move tried again for about a second): nothing
    // taken, the user told once by its name, no copy left behind.
    RecordingPrompts prompts;
    HolderClock clock;
    const ScopedClock clockScope(clock);
    const std::vector<uint32_t> aSecondOfTries(19, 50);
    ending.writesLeft = -1;
    ending.failingKey = u"LED_BRIGHT";
    SaveConfigToIni(ending, 1);
    ending.failingKey.clear();
    {
        const UniqueHandle locked(CreateFileW(AsWide(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        SaveConfigToIni(path, 1);
        EXPECT_FALSE(WriteCurConfig(path, 3));
    }
    clock.Hold(path);
    ASSERT_TRUE(clock.held);
    SaveConfigToIni(path, 1);
    EXPECT_EQ(clock.Sleeps(), aSecondOfTries);
    clock.held.Reset();
    EXPECT_EQ(folder.Read("config.ini"), saved);
    ASSERT_EQ(prompts.shown.size(), 3u);
    for (const RecordingPrompts::Shown& shown : prompts.shown) EXPECT_EQ(shown.text, WriteFailureText(path, false));
    EXPECT_FALSE(std::filesystem::exists(folder / "config.ini.tmp"));

    // Held for a moment: the save waits for it and goes through.
    clock.Hold(path);
    clock.releaseAt = 3;
    SaveConfigToIni(path, 1);
    EXPECT_EQ(clock.Sleeps(), std::vector<uint32_t>(3, 50));
    EXPECT_EQ(Parsed(folder.Read("config.ini")).Value(u"Config4", u"FIRE_TIME"), u"77");
    EXPECT_EQ(prompts.shown.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(folder / "config.ini.tmp"));
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

std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

// Profile loads answer keys from sections read whole; every answer must be the one the profile
// reader itself gives, to the last character written into the buffer.
TEST_F(IniFile, SectionsReadWholeAnswerEveryKeyAsTheProfileReaderDoes)
{
    using namespace std::string_literals;
    struct Case {
        std::optional<std::string> bytes;  // none: no file
        std::vector<std::u16string> sections;
        std::vector<std::u16string> keys;
    };
    // More than the first read's 16K characters: read again with a larger buffer.
    std::string big = "[Config1]\r\n";
    for (int i = 0; i < 1500; ++i) big += "KEY" + std::to_string(1000 + i) + "=" + std::to_string(i * 7) + "\r\n";
    const std::vector<Case> cases = {
        {ReadFixture("full_save.ini"), {u"Config2"}, {u"K8", u"fire_time", u"DPI5_B", u"LED_REACT_TYPE8"}},
        {"[Config1]\r\n  K0 = 12 \r\nk0=99\r\nDPI_LEVEL\t=\t3\t\r\n K1 \r\nK1=5\r\n=4\r\nK2=a=b\r\n;K3=1\r\nK3=2\r\n"
         "# K4=5\r\nK5=\r\n[config1]\r\nK6=6\r\n",
         {u"config1"},
         {u"DPI_LEVEL", u"k2", u"K3", u"# K4", u"K5", u"K6"}},
        {"[Config1]\r\nQ1=\"12\"\r\nQ2='abc'\r\nQ3=\"open\r\nQ4=\"\"\r\nQ5=\"\r\nQ6='x\"\r\nQ7=\"a\"b\"\r\n"
         "Q8= \"  spaced  \" \r\nQ9=''\r\nQ10='1234567'\r\n",
         {},
         {u"Q1", u"Q2", u"Q3", u"Q4", u"Q5", u"Q6", u"Q7", u"Q8", u"Q9", u"Q10"}},
        {"K0=1\r\n[ Config1 ]\rK0=2\rK1=3\n\n[Init]\r\nK0=4\x1a\r\n\tK1\v=\f5\r\n[Config1]\r\nK2=6\r\n", {u"", u"Init"}, {u"K2"}},
        {"[Config1]\r\nK0=1234567890123456789012\r\nK1=12\0 34\r\nK\0X=5\r\n"s, {}, {u"K"}},
        {Utf16File(u"[Config1]\r\n\u212A0=7\r\nK0=8\r\n\u00C9=9\r\nK1=\u00E9\r\n[Init]\r\nK0=1\r\n"),
         {u"Init"},
         {u"\u00E9", u"\u00C9", u"\u212A0"}},
        {big, {}, {u"KEY1000", u"key2499", u"KEY2500"}},
        {"", {}, {}},
        {std::nullopt, {}, {}},
    };
    TempFolder folder;
    const std::u16string path = folder.File("config.ini");
    for (const Case& c : cases) {
        std::filesystem::remove(folder / "config.ini");
        if (c.bytes) folder.Write("config.ini", *c.bytes);
        ConfigIniFile file(path);
        SectionCachedIni cached(file);
        std::vector<std::u16string> sections = {u"Config1", u"CONFIG1", u" Config1\t", u"Missing"};
        sections.insert(sections.end(), c.sections.begin(), c.sections.end());
        std::vector<std::u16string> keys = {u"K0", u"k0", u" K0\t", u"K1", u"missing", u";K3"};
        keys.insert(keys.end(), c.keys.begin(), c.keys.end());
        for (const std::u16string& section : sections) {
            for (const std::u16string& key : keys) {
                std::array<char16_t, 40> whole{};
                const size_t length = file.GetString(section, key, whole);
                for (size_t size : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{10}, length, length + 1, length + 2, length + 3}) {
                    if (size == 0) continue;
                    // One place before each buffer: the reader writes there when it strips the
                    // quotes of "" into a single character.
                    std::array<char16_t, 48> expected;
                    std::array<char16_t, 48> got;
                    expected.fill(u'#');
                    got.fill(u'#');
                    const size_t expectedLength = file.GetString(section, key, std::span<char16_t>(expected.data() + 1, size));
                    const size_t gotLength = cached.GetString(section, key, std::span<char16_t>(got.data() + 1, size));
                    const std::string where = Utf8FromUtf16(u"[" + section + u"] " + key) + " in " + std::to_string(size);
                    EXPECT_EQ(gotLength, expectedLength) << where;
                    EXPECT_TRUE(std::equal(got.begin() + 1, got.end(), expected.begin() + 1)) << where;
                }
            }
        }
    }

    // A write goes to the file, and the next read sees it.
    ConfigIniFile file(path);
    SectionCachedIni cached(file);
    EXPECT_EQ(ReadIniInt(cached, u"Config1", u"K0", kShortValueChars), 0);
    EXPECT_TRUE(cached.PutString(u"Config1", u"K0", u"55"));
    EXPECT_EQ(ReadIniInt(cached, u"Config1", u"K0", kShortValueChars), 55);
    EXPECT_EQ(ReadIniInt(file, u"Config1", u"K0", kShortValueChars), 55);
}

}  // namespace
