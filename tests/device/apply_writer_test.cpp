#include <gtest/gtest.h>

#include "device/macro_stream.h"
#include "tests/device/apply_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// Press A 50 ms, release A 3000 ms, press B: the 16-byte stream 01 00 85 04 2E 04 7F 00 7F 00 81 05.
MacroRecord KeyMacro(const std::u16string& name = u"Keys")
{
    return MakeMacro(name, {{1, 0x04, 0, 0, 50}, {2, 0x04, 0, 0, 3000}, {1, 0x05, 0, 0, 20}});
}

Strings FixedBlocks()
{
    return {"W 0x0001/1", "W 0x0008/8", "W 0x0010/8", "W 0x0018/8", "W 0x0020/8", "W 0x0028/8",
            "W 0x0030/8", "W 0x0038/8", "R 0x0043/1", "W 0x0040/8", "W 0x0048/8", "W 0x0050/8",
            "W 0x0058/8", "W 0x0060/8", "W 0x0068/8", "W 0x0070/8", "W 0x0078/8"};
}

Strings Concat(Strings a, const Strings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ApplyTest, WholeApplyInOrderWithSharedStreamsAndMediaKeys)
{
    SetGroups({{u"G", {KeyMacro()}}});
    g_constMacroTable[1] = MakeMacro(u"C1", {{1, 0x06, 0, 0, 20}, {2, 0x06, 0, 0, 20}});
    g_buttonAssignments[0] = {256, 2, 3, 4, 5, 22, 40, 33, 1};
    g_buttonAssignments[1][0] = 256;  // the same file macro in profile 2: written once
    Apply();

    const Strings expected = Concat(FixedBlocks(), {"W 0x0080/8", "W 0x00A8/8", "W 0x00B8/8", "W 0x00F0/8",
                                                    "W 0x0240/8", "W 0x0248/8", "W 0x0250/8", "APPLY"});
    EXPECT_EQ(TrafficSummary(mouse), expected);
    EXPECT_EQ(mouse.ApplyCount(), 1);
    EXPECT_EQ(mouse.InterruptedRuns(), 0);

    EXPECT_EQ(mouse.MemoryRange(0x80, 8), (Bytes{0x09, 0x05, 0xFF, 0x00, 0x00, 0x40, 0x02, 0x00}));
    EXPECT_EQ(mouse.MemoryRange(0xF0, 8), (Bytes{0x09, 0x05, 0xFF, 0x00, 0x00, 0x40, 0x02, 0x00}));
    // The media key takes no room: it carries the next stream's address, where constant macro 1 goes.
    EXPECT_EQ(mouse.MemoryRange(0xA8, 8), (Bytes{0x09, 0x00, 0xFF, 0x23, 0x02, 0x50, 0x02, 0x00}));
    EXPECT_EQ(mouse.MemoryRange(0xB8, 8), (Bytes{0x09, 0x02, 0xFF, 0x00, 0x00, 0x50, 0x02, 0x00}));
    EXPECT_EQ(mouse.MemoryRange(0x240, 16),
              (Bytes{0x01, 0x00, 0x85, 0x04, 0x2E, 0x04, 0x7F, 0x00, 0x7F, 0x00, 0x81, 0x05, 0, 0, 0, 0}));
    EXPECT_EQ(mouse.MemoryRange(0x250, 8), (Bytes{0x01, 0x00, 0x82, 0x06, 0x01, 0x06, 0, 0}));
    // Slot bytes of profile 1: the file macro, mouse functions, media key, fire key (0), constant macro.
    EXPECT_EQ(mouse.MemoryRange(0x08, 8), (Bytes{0x0D, 2, 3, 4, 5, 0x0F, 0x00, 0x0D}));
    EXPECT_EQ(mouse.MemoryAt(0x10), 0x01);
    EXPECT_EQ(mouse.MemoryAt(0x44), 0x0D);

    EXPECT_EQ(g_slot0MacroAddress, 0x240u);
    EXPECT_EQ(g_slot0MacroSize, 16u);
    EXPECT_EQ(g_fileMacroStreamSize[0], 16);
    EXPECT_EQ(g_buttonFireFlag[0][6], 1u);
    EXPECT_EQ(g_repaintRequests.load(), 1);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"1");
    EXPECT_EQ(IniValue(u"Config4", u"K0"), u"0");
    EXPECT_EQ(IniValue(u"Config2", u"K0"), u"256");
}

TEST_F(ApplyTest, ProfileByteAndMarkerByteReadBack)
{
    g_currentProfile = 3;
    g_curConfig = 4;
    mouse.SetMemory(0x43, {0x10});
    Apply();
    EXPECT_EQ(mouse.MemoryAt(0x01), 0x62);
    EXPECT_EQ(mouse.MemoryAt(0x43), 0xFF);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"4");

    mouse.SetMemory(0x43, {0xEF});
    g_currentProfile = 0;
    Apply();
    EXPECT_EQ(mouse.MemoryAt(0x01), 0x02);
    EXPECT_EQ(mouse.MemoryAt(0x43), 0xEE);
    EXPECT_EQ(TrafficSummary(mouse), Concat(FixedBlocks(), {"APPLY"}));
}

TEST_F(ApplyTest, LedByteRemembersTheEffectBeforeMute)
{
    g_ledMode = g_ledType = 9;
    g_ledCycleTime = 2;
    Apply();
    EXPECT_EQ(mouse.MemoryAt(0x1C), 0x87);
    g_ledMode = g_ledType = 4;
    Apply();
    EXPECT_EQ(mouse.MemoryAt(0x1C), 0xC2);
    g_ledMode = g_ledType = 9;
    Apply();
    EXPECT_EQ(mouse.MemoryAt(0x1C), 0xC7);
}

TEST_F(ApplyTest, SettingsReachTheFixedBlocks)
{
    g_dpiSet = {0, 2, 4, 7, 9, 11};
    g_dpiSetEnabled = {1, 1, 0, 0, 1, 1};
    g_fireTime = 300;
    g_cycleColourEnabled = {1, 1, 1, 1, 1, 1, 1};
    g_ledUserColourEnabled = 1;
    g_deviceOptionNibble = 0x05;
    g_ledDirection = 1;
    g_ledReactEnabled[0][0] = 1;
    g_ledReactType[0][0] = 2;
    g_buttonAssignments[0][0] = 1;
    Apply();
    EXPECT_EQ(mouse.MemoryRange(0x15, 3), (Bytes{0x13, 0x59, 0xDF}));
    EXPECT_EQ(mouse.MemoryAt(0x19), 0x33);
    EXPECT_EQ(mouse.MemoryRange(0x1A, 2), (Bytes{0x25, 0x00}));
    EXPECT_EQ(mouse.MemoryAt(0x1D), 0xFF);
    EXPECT_EQ(mouse.MemoryAt(0x3A), 0x15);
    EXPECT_EQ(mouse.MemoryAt(0x08), 1 + 32 * 5);
    EXPECT_EQ(g_cycleColourMask, 0x7F);
    EXPECT_EQ(IniValue(u"Config3", u"CYC_7COL_EN"), u"127");
}

TEST_F(ApplyTest, AssignmentOfAMissingMacroIsErasedAndSavedAsZero)
{
    const MacroRecord m = KeyMacro();
    SetGroups({{u"A", {m}}, {u"B", {m}}, {u"C", {m, m, m, m, m}}});
    g_buttonAssignments[1][4] = 0x305;  // macro 5 of group 3, which has 5 macros
    Apply();
    EXPECT_EQ(g_buttonAssignments[1][4], 0u);
    EXPECT_EQ(IniValue(u"Config2", u"K4"), u"0");
    EXPECT_EQ(mouse.MemoryAt(0x48), 0x00);

    SetGroups({{u"A", {m}}, {u"B", {m}}, {u"C", {m, m, m, m, m, m}}});
    g_buttonAssignments[1][4] = 0x305;
    Apply();
    EXPECT_EQ(g_buttonAssignments[1][4], 0x305u);
    EXPECT_EQ(IniValue(u"Config2", u"K4"), u"773");
    EXPECT_EQ(mouse.MemoryAt(0x48), 0x0D);
}

// A config.ini that takes no write (read-only, a full disk): the apply still reaches the mouse, and
// the user is told once, although it saves the profiles twice.
TEST_F(ApplyTest, ConfigIniThatTakesNoWriteIsToldOfOnce)
{
    ReadOnlyIni readOnly;
    DeviceLinkFiles linkFiles{readOnly, Files().macros};
    WriteSettingsToDevice(linkFiles);
    EXPECT_EQ(mouse.ApplyCount(), 1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"Cannot save the file:\nC:\\kestra\\skins\\config\\config.ini");
}

TEST_F(ApplyTest, PlayMode2MacroGetsItsOwnCode)
{
    SetGroups({{u"G", {MakeMacro(u"M", {{1, 0x04, 0, 0, 20}}, 2)}}});
    g_buttonAssignments[0][0] = 256;
    g_constMacroTable[0].loopMode = 2;
    g_buttonAssignments[0][1] = 70 + 30;  // key Q plays constant macro 0
    Apply();
    EXPECT_EQ(mouse.MemoryRange(0x08, 2), (Bytes{0x0E, 0x0E}));
    const Bytes first = mouse.MemoryRange(0x80, 8);
    EXPECT_EQ(first[1], 0x80 | 0x01);  // R and one entry
    const Bytes key = mouse.MemoryRange(0x88, 8);
    EXPECT_EQ(key[2], 0x14);  // usage of Q
    EXPECT_EQ(key[5] | (key[6] << 8), 0x248);
}

TEST_F(ApplyTest, ConstantMacroIsWrittenForEachSlot)
{
    g_constMacroTable[1] = MakeMacro(u"C1", {{1, 0x06, 0, 0, 20}});
    g_buttonAssignments[0][1] = 33;
    g_buttonAssignments[0][2] = 33;
    Apply();
    EXPECT_EQ(TrafficSummary(mouse),
              Concat(FixedBlocks(), {"W 0x0088/8", "W 0x0090/8", "W 0x0240/8", "W 0x0240/8", "APPLY"}));
}

TEST_F(ApplyTest, EmptyFileMacroHasThreeEntriesAndOnlyItsRepeatCount)
{
    SetGroups({{u"G", {MakeMacro(u"E", {}, 0, 7)}}});
    g_buttonAssignments[2][3] = 256;
    Apply();
    const uint16_t descriptor = 0x80 + 8 * (2 * 14 + 3);
    EXPECT_EQ(mouse.MemoryRange(descriptor, 8), (Bytes{0x09, 0x03, 0xFF, 0x00, 0x00, 0x40, 0x02, 0x00}));
    EXPECT_EQ(mouse.MemoryRange(0x240, 8), (Bytes{7, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ApplyTest, LightDataBeyondTheMemoryStopsTheApply)
{
    // 2880-byte streams with their light data at the end: the sixth would end beyond 0x4000.
    std::vector<MacroEvent> events(179, MacroEvent{0, 0, 0, 0, 10000});
    events.push_back({13, MacroEventCode::Light, 0, 0, 0});
    MacroRecord big = MakeMacro(u"Big", events);
    big.lightBlocks[0].stepCount = 1;
    ASSERT_EQ(ComputeStreamLayout(big, MacroSource::Constant).size, 0xB40u);
    for (int m = 0; m < 7; ++m) {
        g_constMacroTable[m] = big;
        g_buttonAssignments[0][m] = 32 + m;
    }
    g_pointerSpeed = 3;
    Apply();

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"LED Error!");
    EXPECT_EQ(mouse.ApplyCount(), 0);
    EXPECT_TRUE(system.sets.empty());
    EXPECT_EQ(g_repaintRequests.load(), 0);
    const Strings traffic = TrafficSummary(mouse);
    EXPECT_EQ(traffic.back(), "W 0x3A78/8");  // the last run of the fifth stream
    EXPECT_EQ(mouse.MemoryAt(0x2F40 + 0xB38), 0x00);  // n - 1 of its one-step block
    EXPECT_EQ(mouse.MemoryRange(0x80 + 8 * 5, 8)[5] | (mouse.MemoryRange(0x80 + 8 * 5, 8)[6] << 8), 0x3A80);
}

TEST_F(ApplyTest, WindowsPointerSpeedAndWheelLines)
{
    g_pointerSpeed = 9;
    g_wheelSpeed = 2;
    Apply();
    ASSERT_EQ(system.sets.size(), 2u);
    EXPECT_FALSE(system.sets[0].wheel);
    EXPECT_EQ(system.sets[0].value, 18u);
    EXPECT_EQ(system.sets[0].updateFlags, 3u);
    EXPECT_TRUE(system.sets[1].wheel);
    EXPECT_EQ(system.sets[1].value, 3u);
    EXPECT_EQ(system.sets[1].updateFlags, 1u);

    system.sets.clear();
    system.readable = false;
    Apply();
    EXPECT_TRUE(system.sets.empty());
}

// The open macro as the editor holds it (a recording under way) stays out of its file and the mouse.
TEST_F(ApplyTest, MacrosGoAsTheirFilesHoldThem)
{
    SetGroups({{u"G", {KeyMacro(u"Old")}}});
    g_macroTable[0] = MakeMacro(u"New", {{1, 0x07, 0, 0, 20}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    EXPECT_EQ(StoredMacro(u"G", 0).codes[0], 0x04);
    EXPECT_EQ(mouse.MemoryRange(0x240, 4), (Bytes{0x01, 0x00, 0x85, 0x04}));
}

}  // namespace
