#include "settings/settings_state.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourChannels, StoredValuesAreInvertedAndNeverDisplayAsBlack)
{
    EXPECT_EQ(StoredChannelToDisplay(0), 255);
    EXPECT_EQ(StoredChannelToDisplay(15), 15);
    EXPECT_EQ(StoredChannelToDisplay(1), 239);
    EXPECT_EQ(DisplayChannelToStored(0), 15u);
    EXPECT_EQ(DisplayChannelToStored(255), 0u);
    EXPECT_EQ(DisplayChannelToStored(128), 7u);
    for (uint32_t v = 0; v < 16; ++v) EXPECT_EQ(DisplayChannelToStored(StoredChannelToDisplay(v)), v);
    // A hand-edited channel above 15 keeps to the byte.
    EXPECT_EQ(StoredChannelToDisplay(16), 255);
    EXPECT_EQ(StoredChannelToDisplay(0xFFFFFFFF), 15);
}

TEST(ColourChannels, ColorRefHoldsRedInTheLowByte)
{
    EXPECT_EQ(MakeColorRef(0x11, 0x22, 0x33), 0x00332211u);
    EXPECT_EQ(ColorRefFromStored({0, 15, 8}), 0x007F0FFFu);
    EXPECT_EQ(StoredFromColorRef(0x00FF0000u), (std::array<uint32_t, 3>{15, 15, 0}));
}

TEST(ButtonAssignmentCode, EveryCodeHasOneKind)
{
    EXPECT_EQ(AssignmentKindOf(0), AssignmentKind::None);
    EXPECT_EQ(AssignmentKindOf(1), AssignmentKind::MouseFunction);
    EXPECT_EQ(AssignmentKindOf(6), AssignmentKind::MouseFunction);
    for (ButtonAssignmentCode code : {7u, 10u, 45u, 69u, 149u, 255u}) EXPECT_EQ(AssignmentKindOf(code), AssignmentKind::Unassigned);
    EXPECT_EQ(AssignmentKindOf(11), AssignmentKind::FurtherFunction);
    EXPECT_EQ(AssignmentKindOf(16), AssignmentKind::FurtherFunction);
    EXPECT_EQ(AssignmentKindOf(17), AssignmentKind::ProfileFunction);
    EXPECT_EQ(AssignmentKindOf(21), AssignmentKind::ProfileFunction);
    EXPECT_EQ(AssignmentKindOf(22), AssignmentKind::MediaKey);
    EXPECT_EQ(AssignmentKindOf(31), AssignmentKind::MediaKey);
    EXPECT_EQ(AssignmentKindOf(32), AssignmentKind::ConstantMacro);
    EXPECT_EQ(AssignmentKindOf(39), AssignmentKind::ConstantMacro);
    EXPECT_EQ(AssignmentKindOf(40), AssignmentKind::FireKey);
    EXPECT_EQ(AssignmentKindOf(44), AssignmentKind::ConstantMacro);
    EXPECT_EQ(ConstantMacroRecord(44), 12u);
    EXPECT_EQ(AssignmentKindOf(70), AssignmentKind::KeyboardKey);
    EXPECT_EQ(AssignmentKindOf(148), AssignmentKind::KeyboardKey);
    EXPECT_EQ(KeyIndexOfCode(148), 78);
    EXPECT_EQ(KeyboardKeyCode(0), 70u);
    EXPECT_EQ(AssignmentKindOf(256), AssignmentKind::FileMacro);
    EXPECT_EQ(AssignmentKindOf(0xFFFFFFFF), AssignmentKind::FileMacro);
    EXPECT_TRUE(IsDpiFunction(6) && IsDpiFunction(15) && IsDpiFunction(16));
    EXPECT_FALSE(IsDpiFunction(5) || IsDpiFunction(14) || IsDpiFunction(17));
}

TEST(ButtonAssignmentCode, FileMacrosCarryGroupAndMacro)
{
    EXPECT_EQ(FileMacroGroup(258), 0);
    EXPECT_EQ(FileMacroIndex(258), 2);
    EXPECT_EQ(FileMacroGroup(0x0A0B), 9);
    EXPECT_EQ(FileMacroIndex(0x0A0B), 11);
    EXPECT_EQ(MakeFileMacroCode(9, 11), 0x0A0Bu);
    EXPECT_EQ(MakeFileMacroCode(0, 2), 258u);
    EXPECT_TRUE(IsValidFileMacro(0x0A0B));
    EXPECT_FALSE(IsValidFileMacro(0x0A0C));   // macro 12 of 0..11
    EXPECT_FALSE(IsValidFileMacro(0x0B00));   // group 10 of 0..9
    EXPECT_FALSE(IsValidFileMacro(0x10000));  // group bits zero
    EXPECT_EQ(FileMacroGroup(0x10000), -1);
    EXPECT_FALSE(IsValidFileMacro(40));
}

TEST(SettingsState, StartValuesAndMaskSplitting)
{
    g_fireTime = 7;
    g_ledType = 3;
    g_configIniPath = u"x";
    ResetSettingsState();
    EXPECT_EQ(g_fireTime, 50u);
    EXPECT_EQ(g_ledType, 0);
    EXPECT_TRUE(g_configIniPath.empty());
    EXPECT_EQ(g_defaultButtonAssignments, (std::array<ButtonAssignmentCode, 9>{1, 2, 3, 4, 5, 16, 13, 15, 258}));

    g_cycleColourMask = 0xA5;  // bit 7 is not a colour
    SplitCycleColourMask();
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 0, 1, 0, 0, 1, 0}));
    g_cycleColourEnabled[6] = 5;
    RebuildCycleColourMask();
    EXPECT_EQ(g_cycleColourMask, 0x65);

    g_dpiColours[5] = {0, 0, 15};
    g_ledUserColours[6] = {15, 0, 0};
    RecomputeColourRefs();
    EXPECT_EQ(g_dpiColourRefs[5], 0x000FFFFFu);
    EXPECT_EQ(g_ledUserColourRefs[6], 0x00FFFF0Fu);
    EXPECT_EQ(g_dpiColourRefs[0], 0x00FFFFFFu);
    ResetSettingsState();
}

}  // namespace
