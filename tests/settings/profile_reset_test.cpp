#include "settings/profile_reset.h"

#include <gtest/gtest.h>

#include "settings/ini_value.h"
#include "tests/settings/settings_fixture.h"

namespace {

using ProfileReset = SettingsTest;

std::u16string Key(const char16_t* name, size_t i) { return name + FormatIniInt(static_cast<int32_t>(i)); }

TEST_F(ProfileReset, ResetEndsWithTheFixedValuesInMemoryAndInEveryProfileSection)
{
    FillDistinctState();
    MemoryIniFile ini;
    SaveConfigToIni(ini, 1);
    for (int n = 1; n <= 4; ++n) {
        for (size_t i = 0; i < 9; ++i) ini.PutString(ProfileSectionName(true, n), Key(u"K", i), FormatIniInt(n * 10 + static_cast<int>(i)));
    }
    const std::u16string factory = ProfileSectionName(true, 2);
    for (const auto& [key, value] : {std::pair{u"LED_TYPE", u"3"}, {u"FIRE_TIME", u"90"}, {u"CYC_7COL_EN", u"5"},
                                     {u"DPI_SPEED", u"9"}, {u"LED_FEATURE_DIREC", u"3"}, {u"LED_BRIGHT", u"4"},
                                     {u"DPI0_R", u"15"}, {u"DPI0_G", u"0"}, {u"DPI0_B", u"0"}, {u"DPI_LEVEL", u"2"}})
        ini.PutString(factory, key, value);
    g_currentProfile = 1;

    // Without the factory sections of profiles 2 to 4 nothing is loaded or saved.
    MemoryIniFile noFactory;
    SaveConfigToIni(noFactory, 1);
    noFactory.PutString(factory, u"K0", u"20");
    const uint32_t fireTime = g_fireTime;
    EXPECT_FALSE(ResetProfile(noFactory));
    EXPECT_EQ(g_fireTime, fireTime);
    EXPECT_EQ(noFactory.Value(u"Config1", u"FIRE_TIME"), FormatIniInt(fireTime));
    // Nor when only the last of them is missing.
    noFactory.PutString(ProfileSectionName(true, 3), u"K0", u"30");
    EXPECT_FALSE(ResetProfile(noFactory));
    EXPECT_EQ(g_fireTime, fireTime);
    EXPECT_EQ(noFactory.Value(u"Config2", u"K0"), FormatIniInt(static_cast<int32_t>(g_buttonAssignments[1][0])));

    EXPECT_TRUE(ResetProfile(ini));

    EXPECT_EQ(g_buttonAssignments[0], g_defaultButtonAssignments);
    for (uint32_t p = 1; p < 4; ++p) EXPECT_EQ(g_buttonAssignments[p][4], (p + 1) * 10 + 4);
    EXPECT_EQ(g_ledType, 7);
    EXPECT_EQ(g_ledMode, 7);
    EXPECT_EQ(g_fireTime, 50u);
    EXPECT_EQ(g_ledDirection, 1u);
    EXPECT_EQ(g_pointerSpeed, 5);
    EXPECT_EQ(g_cycleColourMask, 127);
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 1, 1, 1, 1, 1, 1}));
    // What the factory section gives and the reset leaves alone.
    EXPECT_EQ(g_ledBrightness, 4u);
    EXPECT_EQ(g_dpiLevel, 2u);
    EXPECT_EQ(g_dpiColourRefs[0], ColorRefFromStored({15, 0, 0}));
    for (int n = 1; n <= 4; ++n) {
        const std::u16string section = ProfileSectionName(false, n);
        EXPECT_EQ(ini.Value(section, u"LED_TYPE"), u"7");
        EXPECT_EQ(ini.Value(section, u"FIRE_TIME"), u"50");
        EXPECT_EQ(ini.Value(section, u"CYC_7COL_EN"), u"127");
        EXPECT_EQ(ini.Value(section, u"WHEEL_STATUS"), u"0");
        EXPECT_EQ(ini.Value(section, u"K0"), n == 1 ? u"1" : FormatIniInt(n * 10));
    }
    EXPECT_EQ(ini.Value(u"Config1", u"K8"), u"258");
}

TEST_F(ProfileReset, FrameProfileStoresTheDpiLevelAndKeepsTheCurrentButtonLightRow)
{
    FillDistinctState();
    MemoryIniFile ini;
    SaveConfigToIni(ini, 1);
    const std::u16string six = ProfileSectionName(false, kFrameProfileSection);
    // Section 6 as shipped: every program-wide key (the reaction rows are not among them).
    for (const std::u16string& key : ini.Keys(u"Config1")) {
        if (key.rfind(u"LED_REACT", 0) != 0) ini.PutString(six, key, *ini.Value(u"Config1", key));
    }
    ini.PutString(six, u"LED_TYPE", u"4");
    ini.PutString(six, u"FIRE_TIME", u"120");
    // No reaction row in section 6: read alone it would be all zeros.
    g_currentProfile = 1;
    const auto enabled = g_ledReactEnabled;
    const auto types = g_ledReactType;
    g_dpiLevel = 4;

    StoreAndLoadFrameProfile(ini);

    EXPECT_EQ(ini.Value(six, u"DPI_LEVEL"), u"4");
    EXPECT_EQ(g_dpiLevel, 4u);
    EXPECT_EQ(g_ledType, 4);
    EXPECT_EQ(g_fireTime, 120u);
    EXPECT_EQ(g_ledReactEnabled, enabled);
    EXPECT_EQ(g_ledReactType, types);
    EXPECT_EQ(g_buttonAssignments[3][0], 40u);
    // The next save writes the current profile's own row back.
    SaveConfigToIni(ini, 2);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(ini.Value(u"Config2", Key(u"LED_REACT_EN", i)), FormatIniInt(static_cast<int32_t>(enabled[1][i])));
        EXPECT_EQ(ini.Value(u"Config2", Key(u"LED_REACT_TYPE", i)), FormatIniInt(static_cast<int32_t>(types[1][i])));
    }
}

TEST_F(ProfileReset, FrameProfileShortOfAProgramWideKeyServesFromTheCurrentProfile)
{
    FillDistinctState();
    g_curConfig = 2;
    g_currentProfile = 1;
    MemoryIniFile ini;
    SaveConfigToIni(ini, 1);
    const std::u16string six = ProfileSectionName(false, kFrameProfileSection);
    // Missing, a key short of the full set, and the full set: only the last is section 6's.
    for (const std::u16string& key : ini.Keys(u"Config2")) {
        if (key.rfind(u"LED_REACT", 0) != 0 && key != u"FIRE_TIME") ini.PutString(six, key, u"0");
    }
    EXPECT_FALSE(HoldsProgramWideSettings(ini, six));
    EXPECT_TRUE(HoldsProgramWideSettings(ini, u"Config2"));
    const auto dpiSet = g_dpiSet;
    const uint32_t fireTime = g_fireTime;
    const uint32_t pointerSpeed = g_pointerSpeed;
    g_dpiLevel = 5;

    StoreAndLoadFrameProfile(ini);

    EXPECT_EQ(ini.Value(u"Config2", u"DPI_LEVEL"), u"5");
    EXPECT_EQ(ini.Value(six, u"DPI_LEVEL"), u"0");
    EXPECT_EQ(g_dpiLevel, 5u);
    EXPECT_EQ(g_dpiSet, dpiSet);
    EXPECT_EQ(g_fireTime, fireTime);
    EXPECT_EQ(g_pointerSpeed, pointerSpeed);
    EXPECT_NE(g_fireTime, 0u);

    ini.PutString(six, u"FIRE_TIME", u"0");
    EXPECT_TRUE(HoldsProgramWideSettings(ini, six));
    StoreAndLoadFrameProfile(ini);
    EXPECT_EQ(g_fireTime, 0u);
    EXPECT_EQ(g_pointerSpeed, 0u);
}

}  // namespace
