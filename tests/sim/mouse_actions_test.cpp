// The program following what the user does on the mouse: the simulated mouse's own actions
// against the apply's configuration memory and the device threads' turns.
#include <gtest/gtest.h>

#include "device/device_event_threads.h"
#include "tests/device/apply_fixture.h"

namespace {

class MouseActionsTest : public ApplyTest {
protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        ClearButtonReports();
        g_stepDirection = 0;
    }
    // The mouse has queued one report: each thread takes one turn.
    void Turns()
    {
        ASSERT_EQ(mouse.PendingInputReports(), 1u);
        TestFilesSource source = Source();
        DeviceInputTurn(source);
        ButtonActionTurn(source);
    }
};

TEST_F(MouseActionsTest, TheProgramFollowsDpiProfileMediaAndStepActionsOnTheMouse)
{
    // Button 5 DPI down, 6 DPI cycle, 7 DPI up, 4 profile 3, 8 a media key; levels 0, 1, 3 on.
    g_buttonAssignments[0] = {1, 2, 3, 4, 20, 16, 6, 15, 24};
    g_dpiSetEnabled = {1, 1, 0, 1, 0, 0};
    g_dpiLevel = 1;
    g_currentProfile = 2;
    Apply();
    // The apply sets the mouse to the profile and DPI level it wrote.
    EXPECT_EQ(mouse.ActiveProfile(), 2);
    EXPECT_EQ(mouse.DpiLevel(), 1);
    ASSERT_TRUE(mouse.SwitchProfile(0));
    Turns();
    ASSERT_EQ(g_currentProfile, 0u);

    struct Step {
        const char* what;
        int button;
        uint32_t dpi;
    };
    for (const Step& step : {Step{"up 1 -> 3", 7, 3}, Step{"cycle wraps to 0", 6, 0}, Step{"down stays", 5, 0},
                             Step{"cycle 0 -> 1", 6, 1}}) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(mouse.PressButton(step.button));
        Turns();
        EXPECT_EQ(g_dpiLevel, step.dpi);
        EXPECT_EQ(IniValue(u"Config1", u"DPI_LEVEL"), FormatIniInt(static_cast<int32_t>(step.dpi)));
        ASSERT_TRUE(mouse.ReleaseButton(step.button));
        Turns();
        EXPECT_EQ(g_dpiLevel, step.dpi);
    }

    mouse.ClearLog();
    ASSERT_TRUE(mouse.PressButton(8));
    Turns();
    ASSERT_TRUE(mouse.ReleaseButton(8));
    Turns();
    EXPECT_EQ(TrafficSummary(mouse), (std::vector<std::string>{"KEY 0x018A"}));

    // A profile button: the mouse switches, the program reads the status and follows. Every
    // status bit around the profile's is set, so only the program's masking gets it right.
    mouse.SetStatusBytes(6, {0xF3, 0xFF});
    ASSERT_TRUE(mouse.PressButton(4));
    Turns();
    EXPECT_EQ(mouse.ActiveProfile(), 2);
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(g_curConfig, 3u);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"3");

    // The profile switch on the mouse itself, with the same bits around it.
    ASSERT_TRUE(mouse.SwitchProfile(1));
    Turns();
    EXPECT_EQ(g_currentProfile, 1u);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"2");

    ASSERT_TRUE(mouse.StepMacro(true));
    Turns();
    EXPECT_EQ(g_stepDirection, 1u);
    ASSERT_TRUE(mouse.StepMacro(false));
    Turns();
    EXPECT_EQ(g_stepDirection, 0u);
}

}  // namespace
