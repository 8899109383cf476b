#include "settings/profile_store.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "settings/profile_reset.h"
#include "tests/lock_probe.h"
#include "tests/recording_prompts.h"
#include "tests/settings/settings_fixture.h"

namespace {

using ProfileStore = SettingsTest;

MemoryIniFile Golden() { return MemoryIniFile::FromBytes(ReadFixture("full_save.ini")); }

bool IsButtonKey(const std::u16string& key) { return key.size() == 2 && key[0] == u'K'; }
bool IsReactionKey(const std::u16string& key) { return key.rfind(u"LED_REACT_", 0) == 0; }

// Reads of 9 characters: the DPI steps, switches and channels and the user colours.
size_t ExpectedWidth(const std::u16string& key)
{
    const bool dpi = key.rfind(u"DPI_SET", 0) == 0 || (key.rfind(u"DPI", 0) == 0 && key.size() == 6);
    const bool userColour = key.rfind(u"LED_USER", 0) == 0 && key != u"LED_USER_COLER_EN";
    return dpi || userColour ? kLongValueChars : kShortValueChars;
}

// Every profile key of every section holds the section's own number: Config n holds n,
// CfgReset n holds 10 + n.
MemoryIniFile NumberedSections()
{
    const std::vector<std::u16string> keys = Golden().Keys(u"Config1");
    MemoryIniFile ini;
    for (int n = 1; n <= 6; ++n) {
        for (const std::u16string& key : keys) {
            ini.PutString(ProfileSectionName(false, n), key, FormatIniInt(n));
            ini.PutString(ProfileSectionName(true, n), key, FormatIniInt(10 + n));
        }
    }
    return ini;
}

TEST_F(ProfileStore, FullSaveWritesEveryKeyInOrderIntoTheFourProfileSections)
{
    FillDistinctState();
    RecordingIni ini;
    SaveConfigToIni(ini, 2);
    EXPECT_EQ(ini.Text(), Golden().Text());
    EXPECT_EQ(ini.writes.size(), 4u * 103u);
    EXPECT_TRUE(ini.reads.empty());
    EXPECT_EQ(g_configSection, u"Config4");
    EXPECT_EQ(g_curConfigText, u"2");
    EXPECT_EQ(g_ledUserColourEnabled, 1u);
}

TEST_F(ProfileStore, SavedSectionsDifferOnlyInButtonsAndReactions)
{
    FillDistinctState();
    MemoryIniFile ini;
    SaveConfigToIni(ini, 1);
    for (const std::u16string& key : ini.Keys(u"Config1")) {
        for (int n = 2; n <= 4; ++n) {
            if (IsButtonKey(key) || IsReactionKey(key)) {
                continue;
            }
            EXPECT_EQ(ini.Value(u"Config1", key), ini.Value(ProfileSectionName(false, n), key)) << Utf8FromUtf16(key);
        }
    }
}

TEST_F(ProfileStore, LoadingAProfileReadsButtonsOfAllSectionsAndEverythingElseOfItsOwn)
{
    g_currentProfile = 2;
    RecordingIni ini(NumberedSections());
    LoadProfile(ini, 3, false);

    std::vector<std::u16string> ownKeys;
    for (const RecordingIni::Access& read : ini.reads) {
        const std::string key = Utf8FromUtf16(read.key);
        EXPECT_EQ(read.width, ExpectedWidth(read.key)) << key;
        if (IsButtonKey(read.key) || IsReactionKey(read.key)) continue;
        EXPECT_EQ(read.section, u"Config3") << key;
        ownKeys.push_back(read.key);
    }
    std::vector<std::u16string> expected = {u"WHEEL_STATUS", u"DPI_LEVEL"};
    for (int i = 0; i < 6; ++i) {
        const std::u16string n = FormatIniInt(i);
        for (const char16_t* key : {u"DPI_SET", u"DPI_SET_EN"}) expected.push_back(key + n);
        for (const char16_t* channel : {u"_R", u"_G", u"_B"}) expected.push_back(u"DPI" + n + channel);
    }
    expected.push_back(u"LED_TYPE");
    for (int i = 0; i < 10; ++i) expected.push_back(u"LED_TYPE_SW_EN" + FormatIniInt(i));
    for (const char16_t* key : {u"LED_CYCTIME", u"LED_FEATURE_DIREC", u"LED_FEATURE_SYMMETRY", u"LED_BRIGHT"}) expected.push_back(key);
    for (int i = 0; i < 7; ++i) {
        for (const char16_t* channel : {u"_R", u"_G", u"_B"}) expected.push_back(u"LED_USER" + FormatIniInt(i) + channel);
    }
    for (const char16_t* key : {u"CYC_7COL_EN", u"DPI_SPEED", u"WHEEL_SPEED", u"USB_SPEED", u"FIRE_TIME"}) expected.push_back(key);
    EXPECT_EQ(ownKeys, expected);

    for (uint32_t p = 0; p < 4; ++p) {
        for (uint32_t b = 0; b < 9; ++b) {
            EXPECT_EQ(g_buttonAssignments[p][b], p + 1);
            EXPECT_EQ(g_ledReactEnabled[p][b], p + 1);
            EXPECT_EQ(g_ledReactType[p][b], p + 1);
        }
    }
    EXPECT_EQ(g_dpiLevel, 3u);
    EXPECT_EQ(g_fireTime, 3u);
    EXPECT_EQ(g_cycleColourMask, 3);
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(g_configSection, u"Config3");
    EXPECT_EQ(g_curConfigText, u"3");
    EXPECT_TRUE(ini.writes.empty());
}

TEST_F(ProfileStore, TheCurrentReactionRowComesFromTheLoadedSectionAndTheOthersFromTheirOwn)
{
    g_currentProfile = 0;
    MemoryIniFile ini = NumberedSections();
    LoadProfile(ini, 6, false);
    EXPECT_EQ(g_ledReactEnabled[0][4], 6u);
    EXPECT_EQ(g_ledReactType[1][8], 2u);
    EXPECT_EQ(g_ledReactEnabled[3][0], 4u);
    EXPECT_EQ(g_buttonAssignments[0][0], 1u);
    EXPECT_EQ(g_ledBrightness, 6u);
}

TEST_F(ProfileStore, ResetLoadTakesDefaultButtonsForProfileOneAndEverythingElseFromTheFactorySections)
{
    g_currentProfile = 1;
    RecordingIni ini(NumberedSections());
    // The stored rows, as the start-up loaded them.
    LoadProfile(ini, 2, false);
    ini.reads.clear();
    LoadProfile(ini, 2, true);
    EXPECT_EQ(g_buttonAssignments[0], g_defaultButtonAssignments);
    for (uint32_t p = 1; p < 4; ++p) EXPECT_EQ(g_buttonAssignments[p][5], 11 + p);
    EXPECT_EQ(g_ledType, 12);
    EXPECT_EQ(g_ledMode, 12);
    // Only the current profile's reactions return to the factory values.
    for (uint32_t p = 0; p < 4; ++p) {
        EXPECT_EQ(g_ledReactEnabled[p][0], p == 1 ? 12u : p + 1) << p;
        EXPECT_EQ(g_ledReactType[p][8], p == 1 ? 12u : p + 1) << p;
    }
    for (const RecordingIni::Access& read : ini.reads) {
        // Profile 1 takes the default buttons, the others only their buttons from their sections.
        if (read.section != u"CfgReset2") {
            EXPECT_TRUE(IsButtonKey(read.key)) << Utf8FromUtf16(read.section) << ' ' << Utf8FromUtf16(read.key);
            EXPECT_NE(read.section, u"CfgReset1");
        }
        EXPECT_EQ(read.section.rfind(u"CfgReset", 0), 0u) << Utf8FromUtf16(read.section);
    }
    EXPECT_EQ(g_configSection, u"CfgReset2");
    EXPECT_TRUE(ini.writes.empty());
    // A save after the reset keeps the other profiles' stored reactions.
    MemoryIniFile saved;
    SaveConfigToIni(saved, 2);
    EXPECT_EQ(saved.Value(u"Config4", u"LED_REACT_EN3"), u"4");
    EXPECT_EQ(saved.Value(u"Config2", u"LED_REACT_EN3"), u"12");
}

TEST_F(ProfileStore, AFullStateSurvivesSaveAndLoadForEveryProfile)
{
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        ResetSettingsState();
        FillDistinctState();
        const auto distinct = g_buttonAssignments;
        MemoryIniFile ini;
        SaveConfigToIni(ini, n);
        const std::u16string saved = ini.Text();

        ResetSettingsState();
        g_currentProfile = static_cast<uint32_t>(n - 1);
        LoadProfile(ini, n, false);
        EXPECT_EQ(SavedText(), saved);
        EXPECT_EQ(g_buttonAssignments, distinct);
        EXPECT_EQ(g_dpiSetEnabled, (std::array<uint8_t, 6>{0, 1, 0, 1, 0, 1}));
        EXPECT_EQ(g_ledMode, 7);
        EXPECT_EQ(g_dpiBarPos[5], 7u + 66u + 60u);
        EXPECT_EQ(g_dpiColourRefs[2], MakeColorRef(255 - 32, 255 - 48, 255 - 208));
        EXPECT_EQ(g_ledUserColourRefs[6], MakeColorRef(255 - 96, 255 - 192, 255 - 144));
        EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 0, 1, 0, 1, 0, 1}));
        EXPECT_EQ(g_ledTypeSwitchEnabled[9], 0xFFFFFFFFu);
        EXPECT_EQ(g_ledUserColourEnabled, 1u);
    }
}

TEST_F(ProfileStore, SavingAfterLoadingOneProfileKeepsTheOtherProfilesReactions)
{
    MemoryIniFile ini = Golden();
    const std::u16string before = ini.Text();
    g_currentProfile = 0;
    LoadProfile(ini, 1, false);
    SaveConfigToIni(ini, 1);
    EXPECT_EQ(ini.Text(), before);
}

struct ProgramEnd {};

// config.ini whose writes stop short: the program ends (a throw) after `writesLeft` writes, or the
// write of `failingKey` fails as on a read-only file or a full disk.
class EndingIni : public MemoryIniFile {
public:
    using MemoryIniFile::MemoryIniFile;
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        if (key == failingKey) return false;
        if (writesLeft-- == 0) throw ProgramEnd{};
        return MemoryIniFile::PutString(section, key, value);
    }
    std::u16string Path() const override { return u"C:\\skins\\config\\config.ini"; }
    int writesLeft = -1;
    std::u16string failingKey;
};

TEST_F(ProfileStore, ASaveCutShortOrFailingLeavesTheWholeOldFileAndIsToldOnce)
{
    RecordingPrompts prompts;
    EndingIni ini(NumberedSections().Text());
    const std::u16string old = ini.Text();
    FillDistinctState();
    g_fireTime = 77;
    g_buttonAssignments[3][8] = 5;
    // After the first key, inside a section, between two sections, before the very last key.
    for (int written : {1, 50, 103, 411}) {
        ini.writesLeft = written;
        EXPECT_THROW(SaveConfigToIni(ini, 1), ProgramEnd);
        EXPECT_EQ(ini.Text(), old) << written;
    }
    ProfileButtonTable before = g_buttonAssignments;
    g_buttonAssignments[0][1] = 0;
    g_buttonAssignments[2][4] = 0;
    ini.writesLeft = 1;
    EXPECT_THROW(SaveChangedAssignments(ini, before), ProgramEnd);
    EXPECT_EQ(ini.Text(), old);
    EXPECT_TRUE(prompts.shown.empty());

    // One key that cannot be written: nothing changes, and each save tells of it once.
    ini.writesLeft = -1;
    ini.failingKey = u"K4";
    SaveConfigToIni(ini, 1);
    SaveChangedAssignments(ini, before);
    EXPECT_EQ(ini.Text(), old);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text, u"No se puede guardar el archivo:\nC:\\skins\\config\\config.ini");
    EXPECT_EQ(WriteFailureText(ini.Path(), true), u"Cannot save the file:\nC:\\skins\\config\\config.ini");

    ini.failingKey.clear();
    SaveConfigToIni(ini, 1);
    EXPECT_EQ(ini.Value(u"Config4", u"K8"), u"5");
    EXPECT_EQ(ini.Value(u"Config2", u"FIRE_TIME"), u"77");
    EXPECT_EQ(prompts.shown.size(), 2u);

    // The frame button's DPI level too.
    ini.failingKey = u"DPI_LEVEL";
    StoreAndLoadFrameProfile(ini);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[2].text, prompts.shown[1].text);
}

TEST_F(ProfileStore, ChangedAssignmentsAloneAreWrittenIntoTheirProfilesSections)
{
    MemoryIniFile ini = NumberedSections();
    LoadProfile(ini, 1, false);
    const ProfileButtonTable before = g_buttonAssignments;
    g_fireTime = 77;  // changed elsewhere, never applied
    g_buttonAssignments[0][8] = 0;
    g_buttonAssignments[3][2] = 0x201;
    SaveChangedAssignments(ini, before);
    EXPECT_EQ(ini.Value(u"Config1", u"K8"), u"0");
    EXPECT_EQ(ini.Value(u"Config4", u"K2"), u"513");
    EXPECT_EQ(ini.Value(u"Config1", u"K7"), u"1");
    EXPECT_EQ(ini.Value(u"Config4", u"K1"), u"4");
    EXPECT_EQ(ini.Value(u"Config1", u"FIRE_TIME"), u"1");
    EXPECT_EQ(ini.Value(u"CfgReset1", u"K8"), u"11");
}

TEST_F(ProfileStore, AMissingFileOrSectionLoadsZeros)
{
    FillDistinctState();
    MemoryIniFile empty;
    LoadProfile(empty, 1, false);
    for (uint32_t p = 0; p < 4; ++p) {
        EXPECT_EQ(g_buttonAssignments[p], (std::array<uint32_t, 9>{}));
        EXPECT_EQ(g_ledReactEnabled[p], (std::array<uint32_t, 9>{}));
        EXPECT_EQ(g_ledReactType[p], (std::array<uint32_t, 9>{}));
    }
    EXPECT_EQ(g_dpiSet, (std::array<uint8_t, 6>{}));
    EXPECT_EQ(g_dpiSetEnabled, (std::array<uint8_t, 6>{}));
    EXPECT_EQ(g_dpiBarPos, (std::array<uint32_t, 6>{66, 78, 90, 102, 114, 126}));
    EXPECT_EQ(g_dpiColourRefs[3], 0x00FFFFFFu);
    EXPECT_EQ(g_ledUserColourRefs[0], 0x00FFFFFFu);
    EXPECT_EQ(g_ledBrightness, 0u);
    EXPECT_EQ(g_ledType, 0);
    EXPECT_EQ(g_cycleColourMask, 0);
    EXPECT_EQ(g_ledTypeSwitchEnabled[9], 0u);
    EXPECT_EQ(g_fireTime, 0u);
    EXPECT_EQ(g_pointerSpeed, 0);
    EXPECT_EQ(g_ledUserColourEnabled, 1u);

    FillDistinctState();
    MemoryIniFile onlyFirst(u"[Config1]\nK3=17\nFIRE_TIME=90\n");
    LoadProfile(onlyFirst, 2, false);
    EXPECT_EQ(g_buttonAssignments[0][3], 17u);
    EXPECT_EQ(g_buttonAssignments[1][3], 0u);
    EXPECT_EQ(g_fireTime, 0u);
    EXPECT_EQ(g_dpiLevel, 0u);
}

TEST_F(ProfileStore, ValuesAreCutToTheirBufferConvertedLikeWtoiAndKeptToTheirWidth)
{
    MemoryIniFile ini(u"[Config1]\n"
                      u"K0=-1\nK1=12x\nK2=abc\nK3=+5\nK4=- 5\nK5=99999\nK6=  8\n"
                      u"FIRE_TIME=12345\nDPI0_R=1234567890123\nDPI_SET_EN3=7\nLED_USER_COLER_EN=0\n"
                      u"LED_TYPE=300\nDPI_SET0=-1\nDPI_SET1=256\nDPI_SPEED=-1\nWHEEL_SPEED=1000\nUSB_SPEED=-255\n"
                      u"CYC_7COL_EN=255\nLED_CYCTIME=-3\nDPI_LEVEL=-100\nLED_USER0_G=16\nDPI_SET2=1234567890\n");
    LoadProfile(ini, 1, false);
    EXPECT_EQ(g_buttonAssignments[0],
              (std::array<uint32_t, 9>{0xFFFFFFFF, 12, 0, 5, 0, 9999, 8, 0, 0}));
    EXPECT_EQ(g_fireTime, 1234u);
    EXPECT_EQ(g_dpiColours[0][0], 123456789u);
    EXPECT_EQ(g_dpiSetEnabled[3], 1);
    EXPECT_EQ(g_ledUserColourEnabled, 1u);
    EXPECT_EQ(g_ledType, 44);
    EXPECT_EQ(g_ledMode, 44);
    EXPECT_EQ(g_dpiSet[0], 255);
    EXPECT_EQ(g_dpiBarPos[0], 255u + 66u);
    EXPECT_EQ(g_dpiSet[1], 0);
    EXPECT_EQ(g_dpiSet[2], static_cast<uint8_t>(123456789));
    EXPECT_EQ(g_pointerSpeed, 255);
    EXPECT_EQ(g_wheelSpeed, 232);
    EXPECT_EQ(g_usbSpeed, 1);
    EXPECT_EQ(g_cycleColourMask, 255);
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(g_ledCycleTime, 253);
    EXPECT_EQ(g_dpiLevel, static_cast<uint32_t>(-100));
    EXPECT_EQ(g_ledUserColourRefs[0], MakeColorRef(255, 255, 255));  // channel 16 keeps to the byte

    MemoryIniFile saved;
    SaveConfigToIni(saved, 1);
    EXPECT_EQ(saved.Value(u"Config2", u"DPI_SET_EN3"), u"1");
    EXPECT_EQ(saved.Value(u"Config3", u"LED_USER_COLER_EN"), u"1");
    EXPECT_EQ(saved.Value(u"Config1", u"K0"), u"-1");
    EXPECT_EQ(saved.Value(u"Config1", u"FIRE_TIME"), u"1234");
    EXPECT_EQ(saved.Value(u"Config4", u"DPI_LEVEL"), u"-100");
    EXPECT_EQ(saved.Value(u"Config4", u"DPI_SET0"), u"255");
    EXPECT_EQ(saved.Value(u"Config4", u"LED_TYPE"), u"44");
    EXPECT_EQ(saved.Value(u"Config4", u"LED_CYC_TIME"), u"253");
}

TEST_F(ProfileStore, KeysThatAreOnlyWrittenHaveNoEffectOnLoading)
{
    MemoryIniFile ini(u"[Config1]\nLED_CYC_TIME=5\nLED_CYCTIME=2\nLED_FEATURE_SCOLOR=9\n");
    LoadProfile(ini, 1, false);
    EXPECT_EQ(g_ledCycleTime, 2);
    EXPECT_EQ(g_ledFeatureSColor, 0u);
}

TEST_F(ProfileStore, SaveDpiLevelChangesThatOneKeyOnly)
{
    MemoryIniFile ini = Golden();
    MemoryIniFile expected = Golden();
    expected.PutString(u"Config2", u"DPI_LEVEL", u"5");
    g_dpiLevel = 5;
    SaveDpiLevel(ini, 2);
    EXPECT_EQ(ini.Text(), expected.Text());
    EXPECT_EQ(g_configSection, u"Config2");

    SaveDpiLevel(ini, 6);
    EXPECT_EQ(ini.Keys(u"Config6"), (std::vector<std::u16string>{u"DPI_LEVEL"}));
    EXPECT_EQ(g_curConfigText, u"6");
}

TEST_F(ProfileStore, InitSectionKeepsTheProfileInRangeAndTheLanguageToTwoValues)
{
    const std::vector<std::pair<std::u16string, uint32_t>> curConfigs = {
        {u"1", 1}, {u"3", 3}, {u"4", 4}, {u"  2", 2}, {u"4x", 4}, {u"0", 1}, {u"5", 1},
        {u"-1", 1}, {u"40", 1}, {u"abc", 1}, {u"", 1}, {u"99999", 1},
        {u"00003", 1}};  // read through five characters: "0000"
    for (const auto& [text, expected] : curConfigs) {
        MemoryIniFile ini(u"[Init]\nCurConfig=" + text + u"\n");
        LoadInitSection(ini);
        EXPECT_EQ(g_curConfig, expected) << Utf8FromUtf16(text);
        EXPECT_EQ(g_currentProfile, expected - 1);
    }
    const std::vector<std::pair<std::u16string, uint32_t>> languages = {{u"1", 1}, {u"0", 0}, {u"2", 0}, {u"-1", 0}, {u"x", 0}, {u"01", 1}};
    for (const auto& [text, expected] : languages) {
        MemoryIniFile ini(u"[Init]\nVER_SEL=" + text + u"\n");
        LoadInitSection(ini);
        EXPECT_EQ(g_languageEnglish, expected) << Utf8FromUtf16(text);
    }
    MemoryIniFile missing;
    g_languageEnglish = 1;
    LoadInitSection(missing);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_languageEnglish, 0u);

    MemoryIniFile written;
    WriteCurConfig(written, 3);
    WriteVerSel(written, 1);
    EXPECT_EQ(written.Text(), u"[Init]\r\nCurConfig=3\r\nVER_SEL=1\r\n");
    EXPECT_EQ(g_verSelText, u"1");
}

// Loads whatever the bytes hold, saves, and checks the state is one a save reproduces.
void ExpectSoundLoad(const std::string& bytes)
{
    MemoryIniFile ini = MemoryIniFile::FromBytes(bytes);
    LoadInitSection(ini);
    ASSERT_GE(g_curConfig, 1u);
    ASSERT_LE(g_curConfig, 4u);
    ASSERT_EQ(g_currentProfile, g_curConfig - 1);
    ASSERT_LE(g_languageEnglish, 1u);
    LoadProfile(ini, static_cast<int>(g_curConfig), false);
    EXPECT_EQ(g_ledMode, g_ledType);
    for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(g_dpiBarPos[i], DpiBarPosition(i, g_dpiSet[i]));
    const std::u16string once = SavedText();
    MemoryIniFile again(once);
    LoadProfile(again, static_cast<int>(g_curConfig), false);
    EXPECT_EQ(SavedText(), once);
}

TEST_F(ProfileStore, BadFilesLoadWithoutHarmIntoAStateASaveReproduces)
{
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    ExpectSoundLoad(garbage);

    std::string huge = "[Init]\nCurConfig=99999999999999999999\nVER_SEL=-99999999999\n";
    for (int n = 1; n <= 4; ++n) {
        huge += "[Config" + std::to_string(n) + "]\n";
        for (const std::u16string& key : Golden().Keys(u"Config1")) huge += Utf8FromUtf16(key) + "=99999999999999999999\n";
    }
    ExpectSoundLoad(huge);
    EXPECT_EQ(g_buttonAssignments[3][8], 9999u);
    EXPECT_EQ(g_dpiColours[5][2], 999999999u);
    EXPECT_EQ(g_dpiSet[0], static_cast<uint8_t>(999999999));

    // UTF-16 with its byte-order mark reads as the same file; without it nothing matches.
    const std::string golden = ReadFixture("full_save.ini");
    std::string utf16 = "\xFF\xFE";
    for (char c : golden) utf16 += std::string{c, '\0'};
    ExpectSoundLoad(utf16);
    EXPECT_EQ(g_fireTime, 300u);
    ExpectSoundLoad(utf16.substr(2));
    EXPECT_EQ(g_fireTime, 0u);

    ExpectSoundLoad("");
    ExpectSoundLoad("[Config1\nK0=\n=5\n[]\n\n[Init]CurConfig=2\n");
}

// Every load and save holds the settings lock for its whole length: another thread cannot take
// it at any access the operation makes.
class LockProbeIni : public MemoryIniFile {
public:
    using MemoryIniFile::MemoryIniFile;
    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        Probe();
        return MemoryIniFile::GetString(section, key, buffer);
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        Probe();
        return MemoryIniFile::PutString(section, key, value);
    }
    int accesses = 0;
    int freeAtAccess = 0;

private:
    void Probe()
    {
        if (accesses++ % 25 != 0) return;
        if (FreeForAnotherThread(g_settingsMutex)) ++freeAtAccess;
    }
};

TEST_F(ProfileStore, LoadsAndSavesHoldTheSettingsLockThroughout)
{
    LockProbeIni ini;
    SaveConfigToIni(ini, 1);
    LoadProfile(ini, 2, false);
    LoadProfile(ini, 2, true);
    SaveDpiLevel(ini, 3);
    LoadInitSection(ini);
    WriteCurConfig(ini, 2);
    EXPECT_GT(ini.accesses, 700);
    EXPECT_EQ(ini.freeAtAccess, 0);
}

// Notes which thread made each access; the test's own mutex guards only the log.
class ThreadLogIni : public MemoryIniFile {
public:
    using MemoryIniFile::MemoryIniFile;
    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        Note();
        return MemoryIniFile::GetString(section, key, buffer);
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        Note();
        return MemoryIniFile::PutString(section, key, value);
    }
    // Lengths of the runs of consecutive accesses by one thread.
    std::vector<size_t> Runs() const
    {
        std::vector<size_t> runs;
        for (size_t i = 0; i < log_.size(); ++i) {
            if (i == 0 || log_[i] != log_[i - 1]) runs.push_back(0);
            ++runs.back();
        }
        return runs;
    }

private:
    void Note()
    {
        std::scoped_lock lock(logMutex_);
        log_.push_back(std::this_thread::get_id());
    }
    std::mutex logMutex_;
    std::vector<std::thread::id> log_;
};

TEST_F(ProfileStore, ConcurrentLoadsAndSavesNeverInterleave)
{
    FillDistinctState();
    RecordingIni counter;
    SaveConfigToIni(counter, 1);
    LoadProfile(counter, 1, false);
    const size_t writesPerSave = counter.writes.size();
    const size_t readsPerLoad = counter.reads.size();

    ThreadLogIni ini;
    std::thread saver([&] {
        for (int i = 0; i < 40; ++i) SaveConfigToIni(ini, 1);
    });
    for (int i = 0; i < 40; ++i) LoadProfile(ini, 1 + i % 4, false);
    saver.join();
    // Every run of one thread's accesses is made of whole calls.
    for (size_t run : ini.Runs()) EXPECT_TRUE(run % writesPerSave == 0 || run % readsPerLoad == 0) << run;
}

}  // namespace
