#include "device/device_event_threads.h"

#include <gtest/gtest.h>

#include "device/macro_step_download.h"
#include "tests/device/apply_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class DeviceThreadsTest : public ApplyTest {
protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        ResetPending();
    }
    void TearDown() override
    {
        ResetPending();
        ApplyTest::TearDown();
    }
    static void ResetPending()
    {
        g_firePressPending = 0;
        g_fireReleasePending = 0;
        g_buttonEventPending = 0;
        g_lastButtonEvent = 0;
        g_stepDirection = 0;
    }

    // The mouse reports; each thread takes one turn.
    void Report(const Bytes& report)
    {
        mouse.QueueInputReport(report);
        TestFilesSource source = Source();
        DeviceInputTurn(source);
        ButtonActionTurn(source);
    }
};

MacroRecord MoveMacro(uint16_t y)
{
    return MakeMacro(u"Moves", {{6, MacroEventCode::Move, 4, y, 20}, {1, 0x04, 0, 0, 20}});
}

TEST_F(DeviceThreadsTest, FireButtonFollowsTheLastApply)
{
    g_buttonAssignments[0][2] = 40;
    Report({6, 0xF3, 0x80});
    EXPECT_TRUE(TrafficSummary(mouse).empty());  // no apply yet: no fire flags
    Apply();
    mouse.ClearLog();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF3, 0x00});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "FIRE 0"}));

    g_buttonAssignments[0][2] = 3;
    Apply();
    mouse.ClearLog();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF3, 0x00});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
}

TEST_F(DeviceThreadsTest, ProfileSwitchedOnTheMouse)
{
    ini.PutString(u"Config3", u"FIRE_TIME", u"90");
    ini.PutString(u"Config3", u"K0", u"5");
    mouse.SetActiveProfile(2);  // status byte 6 = 0x08
    Report({6, 0x03, 0x00});
    EXPECT_EQ(g_curConfig, 3u);
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"3");
    EXPECT_EQ(g_fireTime, 90u);
    EXPECT_EQ(g_buttonAssignments[2][0], 5u);
    EXPECT_EQ(g_repaintRequests, 1);
}

TEST_F(DeviceThreadsTest, ProfileButtonSwitchesLikeTheMouse)
{
    g_buttonAssignments[0][4] = 18;
    Apply();
    mouse.SetActiveProfile(1);
    Report({6, 0xF5, 0x80});
    EXPECT_EQ(g_curConfig, 2u);
    EXPECT_EQ(g_currentProfile, 1u);
}

TEST_F(DeviceThreadsTest, DpiButtonTakesTheLevelFromItsReport)
{
    g_buttonAssignments[0][5] = 16;
    Apply();
    Report({6, 0xF6, 0x83});
    EXPECT_EQ(g_dpiLevel, 3u);
    EXPECT_EQ(IniValue(u"Config1", u"DPI_LEVEL"), u"3");
    EXPECT_EQ(g_repaintRequests, 2);  // the apply's and the level's
}

TEST_F(DeviceThreadsTest, MediaKeyOncePerPress)
{
    g_buttonAssignments[0][3] = 24;  // AL Email Reader, without any apply
    Report({6, 0xF4, 0x80});
    Report({6, 0xF4, 0x00});
    Report({6, 0xF4, 0x80});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"KEY 0x018A", "KEY 0x018A"}));
    const auto sent = mouse.SentReports();
    EXPECT_EQ(sent[0], (Bytes{0x07, 0x17, 0x01, 0x8A, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(DeviceThreadsTest, OtherReportsAndEventsAreIgnored)
{
    g_buttonAssignments[0][3] = 24;
    Report({5, 0xF4, 0x80});
    Report({6, 0xF0, 0x80});
    Report({6, 0xFA, 0x80});
    Report({6, 0xFF, 0x80});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(g_firePressPending, 0u);
    EXPECT_EQ(g_buttonEventPending, 0u);
}

TEST_F(DeviceThreadsTest, SecondPressBeforeTheFirstIsTakenIsNotAnEvent)
{
    g_buttonAssignments[0][3] = 24;
    g_buttonAssignments[0][4] = 25;
    TestFilesSource source = Source();
    mouse.QueueInputReport({6, 0xF4, 0x80});
    mouse.QueueInputReport({6, 0xF5, 0x80});
    DeviceInputTurn(source);
    DeviceInputTurn(source);
    ButtonActionTurn(source);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"KEY 0x018A"}));
    EXPECT_EQ(g_firePressPending, 1u);
}

TEST_F(DeviceThreadsTest, StepsRepeatTheLastDirection)
{
    SetGroups({{u"G", {MoveMacro(10)}}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    mouse.ClearLog();
    Report({6, 0x01, 0});
    Report({6, 0x55, 0});
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 12);
    EXPECT_EQ(g_macroTable[0].params[0].y, 12);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"W 0x0240/8", "W 0x0248/8", "W 0x0240/8", "W 0x0248/8"}));
    EXPECT_EQ(mouse.MemoryRange(0x240, 12), (Bytes{1, 0, 2, 0xF6, 4, 0, 12, 0, 0x82, 0x04, 0, 0}));
    EXPECT_EQ(mouse.ApplyCount(), 1);  // the download takes no ApplyAll

    Report({6, 0x02, 0});
    Report({6, 0x00, 0});
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 10);
    EXPECT_EQ(g_stepDirection, 0u);
}

TEST_F(DeviceThreadsTest, StepOfAnotherGroupsMacroLeavesTheOpenGroupAlone)
{
    SetGroups({{u"Open", {MoveMacro(1), MoveMacro(2)}}, {u"Other", {MoveMacro(20)}}});
    g_buttonAssignments[0][0] = 0x200;
    Apply();
    const MacroRecord openBefore = g_macroTable[0];
    MacroFilesAccess access = Files().macros;
    AdjustMacroStepAndDownload(access, true);
    EXPECT_EQ(StoredMacro(u"Other", 0).params[0].y, 21);
    EXPECT_EQ(g_macroCount, 2);
    EXPECT_EQ(g_macroTable[0].params[0].y, openBefore.params[0].y);
    EXPECT_EQ(StoredMacro(u"Open", 0).params[0].y, 1);
    EXPECT_EQ(files.Get(folder + u"Other.dat", kMacrosSection, kMacroNumKey, 3), u"1");
}

TEST_F(DeviceThreadsTest, StepDownloadNeverPassesTheAppliedSize)
{
    SetGroups({{u"G", {MoveMacro(5)}}});
    g_buttonAssignments[0][0] = 256;
    g_buttonAssignments[0][1] = 33;  // the stream right behind it
    g_constMacroTable[1] = MakeMacro(u"C", {{1, 0x09, 0, 0, 20}});
    Apply();
    ASSERT_EQ(g_slot0MacroSize, 16u);
    const Bytes behind = mouse.MemoryRange(0x250, 8);

    // The macro grows in its file after the apply.
    std::vector<MacroEvent> events(40, MacroEvent{6, MacroEventCode::Move, 1, 1, 20});
    g_macroTable[0] = MakeMacro(u"Grown", events);
    SaveMacroToFile(files, {MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn}, folder + u"G.dat", 0);
    mouse.ClearLog();
    MacroFilesAccess access = Files().macros;
    AdjustMacroStepAndDownload(access, true);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"W 0x0240/8", "W 0x0248/8"}));
    EXPECT_EQ(mouse.MemoryRange(0x250, 8), behind);
}

TEST_F(DeviceThreadsTest, StepWithoutAnApplySendsNothingButSteps)
{
    SetGroups({{u"G", {MoveMacro(5)}}});
    g_buttonAssignments[0][0] = 256;
    Report({6, 0x01, 0});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 6);
}

}  // namespace
