#include "device/device_event_threads.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>

#include "device/consumer_usage.h"
#include "device/macro_step_download.h"
#include "settings/file_write_failure.h"
#include "tests/device/device_threads_fixture.h"
#include "tests/lock_probe.h"

namespace {

using Strings = std::vector<std::string>;

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
    EXPECT_EQ(g_repaintRequests.load(), 1);
    // The last profile and the first.
    mouse.SetActiveProfile(3);
    Report({6, 0x03, 0x00});
    EXPECT_EQ(g_currentProfile, 3u);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"4");
    mouse.SetActiveProfile(0);
    Report({6, 0x03, 0x00});
    EXPECT_EQ(g_currentProfile, 0u);
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"1");
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
    EXPECT_EQ(g_repaintRequests.load(), 2);  // the apply's and the level's
    // The first and the last level.
    Report({6, 0xF6, 0x80});
    EXPECT_EQ(g_dpiLevel, 0u);
    Report({6, 0xF6, 0x85});
    EXPECT_EQ(g_dpiLevel, 5u);
    EXPECT_EQ(IniValue(u"Config1", u"DPI_LEVEL"), u"5");
}

// A config.ini that takes no write: neither device thread tells of it itself (a box there would
// hold the fire key and the reports); its path waits for the window, once however often it fails
// before the window has told of it or while that message is open.
TEST_F(DeviceThreadsTest, ConfigIniThatTakesNoWriteWaitsForTheWindowOnce)
{
    static std::atomic<int> requests{0};
    requests = 0;
    SetDeviceWriteFailed([] { ++requests; });
    g_buttonAssignments[0][5] = 16;  // DPI, event 0xF6
    g_buttonAssignments[0][4] = 18;  // profile, event 0xF5
    Apply();
    ReadOnlyIni readOnly;
    TestFilesSource source([&] { return DeviceLinkFiles{readOnly, Files().macros}; });
    const auto report = [&](const Bytes& bytes) {
        mouse.QueueInputReport(bytes);
        DeviceInputTurn(source);
        ButtonActionTurn(source);
    };
    const std::vector<std::u16string> configIni{readOnly.Path()};

    report({6, 0xF6, 0x83});
    report({6, 0xF6, 0x84});
    EXPECT_EQ(g_dpiLevel, 4u);
    EXPECT_EQ(requests.load(), 1);
    EXPECT_EQ(TakeDeviceWriteFailures(), configIni);
    // The profile button while its message is open.
    mouse.SetActiveProfile(1);
    report({6, 0xF5, 0x80});
    EXPECT_EQ(g_currentProfile, 1u);
    EXPECT_EQ(requests.load(), 1);
    EXPECT_TRUE(TakeDeviceWriteFailures().empty());
    DeviceWriteFailureShown(configIni[0]);
    // Closed: the mouse's own switch is told of again.
    mouse.SetActiveProfile(2);
    report({6, 0x03, 0x00});
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(requests.load(), 2);
    EXPECT_EQ(TakeDeviceWriteFailures(), configIni);
    EXPECT_TRUE(prompts.shown.empty());
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

    // Both ends of the media keys send their usage; the codes one past each end send none.
    for (const auto& [code, summary] : {std::pair<uint32_t, Strings>{21, {}}, {22, {"KEY 0x0223"}},
                                        {31, {"KEY 0x0192"}}, {32, {}}}) {
        g_buttonAssignments[0][3] = code;
        mouse.ClearLog();
        Report({6, 0xF4, 0x80});
        Report({6, 0xF4, 0x00});
        EXPECT_EQ(TrafficSummary(mouse), summary) << code;
    }
}

TEST_F(DeviceThreadsTest, OtherReportsAndEventsAreIgnored)
{
    g_buttonAssignments[0][3] = 24;
    Report({5, 0xF4, 0x80});
    Report({6, 0xF0, 0x80});
    Report({6, 0xFA, 0x80});
    Report({6, 0xFF, 0x80});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(ButtonReportsWaiting(), 0u);
}

// Reports that come before the button-action thread takes them (two presses within its 2 ms, or
// while it waits for the settings) are each carried out for their own button, in one turn, in the
// order the mouse sent them.
TEST_F(DeviceThreadsTest, ReportsBeforeATurnAreEachCarriedOutForTheirButton)
{
    ApplyFireAndMediaButtons();
    g_buttonAssignments[0][4] = 25;  // Volume Increment, event 0xF5
    // Two media presses; a fire press after a media click.
    EXPECT_EQ(TurnAfter({{6, 0xF4, 0x80}, {6, 0xF5, 0x80}}), (Strings{"KEY 0x018A", "KEY 0x00E9"}));
    EXPECT_EQ(TurnAfter({{6, 0xF4, 0x00}, {6, 0xF4, 0x80}, {6, 0xF3, 0x80}}), (Strings{"KEY 0x018A", "FIRE 1"}));
    EXPECT_TRUE(mouse.FireKeyActive());
    // The fire button let go and the media key clicked: the stop goes out.
    EXPECT_EQ(TurnAfter({{6, 0xF4, 0x80}, {6, 0xF3, 0x00}, {6, 0xF4, 0x00}}), (Strings{"KEY 0x018A", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    // A fire tap, then a media press: a short burst, and the fire key ends stopped.
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x80}, {6, 0xF3, 0x00}, {6, 0xF4, 0x80}}), (Strings{"FIRE 1", "FIRE 0", "KEY 0x018A"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    // Let go and pressed again: the fire key ends started.
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x80}}), (Strings{"FIRE 1"}));
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x00}, {6, 0xF3, 0x80}}), (Strings{"FIRE 0", "FIRE 1"}));
    EXPECT_TRUE(mouse.FireKeyActive());
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x00}}), (Strings{"FIRE 0"}));

    // More clicks than the queue holds: the presses past its room are left out with their releases,
    // but the release of a press it holds keeps its place, and the mouse's profile switch is
    // followed after what the queue holds.
    std::vector<Bytes> burst{{6, 0xF3, 0x80}};
    for (int k = 0; k < 400; ++k) {
        burst.push_back({6, 0xF4, 0x80});
        burst.push_back({6, 0xF4, 0x00});
    }
    burst.push_back({6, 0x03, 0x00});
    burst.push_back({6, 0xF3, 0x00});
    mouse.SetActiveProfile(1);
    Strings expected{"FIRE 1"};  // the fire press and the first 256 clicks fill the room
    expected.insert(expected.end(), kButtonReportRoom / 2, "KEY 0x018A");
    expected.push_back("FIRE 0");
    EXPECT_EQ(TurnAfter(burst), expected);
    EXPECT_EQ(g_currentProfile, 1u);
    EXPECT_EQ(ButtonReportsWaiting(), 0u);
}

// Reports of one turn are each carried out under the profile in force at their place: a profile
// switch, the profile button's or the mouse's own (event 0x03), comes before the presses after it,
// and each press has one function. Button 2 is the fire key in profile 1 and a media key in
// profile 2, button 3 the other way round; buttons 1 and 4 switch profiles (before and after them
// in slot order).
TEST_F(DeviceThreadsTest, EachReportOfATurnIsCarriedOutUnderTheProfileAtItsPlace)
{
    for (const auto& [profile, fire, media] : {std::tuple{0, 2, 3}, std::tuple{1, 3, 2}}) {
        g_buttonAssignments[profile][fire] = 40;
        g_buttonAssignments[profile][media] = 24 + profile;  // AL Email Reader, Volume Increment
        g_buttonAssignments[profile][1] = 17;
        g_buttonAssignments[profile][4] = 17;
    }
    Apply();
    mouse.ClearLog();
    const Bytes profileButtonDown{6, 0xF5, 0x80};
    const Bytes profileButtonUp{6, 0xF5, 0x00};

    // The profile button, then button 3: profile 2's fire key, not profile 1's media key; its
    // release stops the fire key.
    mouse.SetActiveProfile(1);
    EXPECT_EQ(TurnAfter({profileButtonDown, profileButtonUp, {6, 0xF4, 0x80}}), (Strings{"FIRE 1"}));
    EXPECT_EQ(TurnAfter({{6, 0xF4, 0x00}}), (Strings{"FIRE 0"}));
    // Back to profile 1: button 3 clicked is its media key, no fire start.
    mouse.SetActiveProfile(0);
    EXPECT_EQ(TurnAfter({profileButtonDown, profileButtonUp, {6, 0xF4, 0x80}, {6, 0xF4, 0x00}}), (Strings{"KEY 0x018A"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    // The profile button before button 2 in slot order: button 2 clicked is profile 2's media key
    // alone, not also profile 1's fire key.
    mouse.SetActiveProfile(1);
    EXPECT_EQ(TurnAfter({{6, 0xF2, 0x80}, {6, 0xF2, 0x00}, {6, 0xF3, 0x80}, {6, 0xF3, 0x00}}), (Strings{"KEY 0x00E9"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    // The mouse's own switch between two presses of button 2.
    mouse.SetActiveProfile(0);
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x80}, {6, 0xF3, 0x00}, {6, 0x03, 0x00}, {6, 0xF3, 0x80}}),
              (Strings{"KEY 0x00E9", "FIRE 1"}));
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x00}}), (Strings{"FIRE 0"}));
    EXPECT_EQ(g_currentProfile, 0u);
    // A fire button given a media key on the page since the apply: the mouse still has the fire
    // function, and the press has that one alone.
    g_buttonAssignments[0][2] = 24;
    EXPECT_EQ(TurnAfter({{6, 0xF3, 0x80}, {6, 0xF3, 0x00}}), (Strings{"FIRE 1", "FIRE 0"}));
}

// A fire stop the mouse refused goes out at the next turn: the mouse would fire on with every
// button up.
TEST_F(DeviceThreadsTest, FireStopTheMouseRefusedGoesOutAtTheNextTurn)
{
    ApplyFireAndMediaButtons();
    Report({6, 0xF3, 0x80});
    mouse.SetSilent(true);
    Report({6, 0xF3, 0x00});
    EXPECT_TRUE(mouse.FireKeyActive());
    mouse.SetSilent(false);
    EXPECT_EQ(TurnAfter({}), (Strings{"FIRE 1", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    EXPECT_TRUE(TurnAfter({}).empty());
}

// A fire button pressed in a profile whose button is the fire key gets its stop when let go,
// though the mouse has switched to a profile where that button is something else meanwhile.
TEST_F(DeviceThreadsTest, FireStopAfterASwitchToAProfileWithoutIt)
{
    ApplyFireAndMediaButtons();  // profile 1 only
    Report({6, 0xF3, 0x80});
    mouse.SetActiveProfile(1);
    Report({6, 0x03, 0x00});
    ASSERT_EQ(g_currentProfile, 1u);
    Report({6, 0xF3, 0x00});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
    // A button that started nothing stops nothing there.
    mouse.ClearLog();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF3, 0x00});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
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

// At each sleep of the protocol's pacing, whether another thread could take the macro store and
// the settings.
class LockProbingClock : public FakeClock {
public:
    void SleepMs(uint32_t ms) override
    {
        FakeClock::SleepMs(ms);
        storeFree.push_back(FreeForAnotherThread(g_macroStoreLock));
        settingsFree.push_back(FreeForAnotherThread(g_settingsMutex));
    }
    std::vector<bool> storeFree;
    std::vector<bool> settingsFree;
};

// The stream of a step takes seconds for a large macro: it goes out without the macro store, which
// the recording's key filter and the macro page's edits need meanwhile, but with the settings
// held, so that no apply writes in the middle of it.
TEST_F(DeviceThreadsTest, StepStreamGoesOutWithoutTheMacroStore)
{
    SetGroups({{u"G", {MoveMacro(10)}}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    mouse.ClearLog();
    LockProbingClock clock;
    {
        ScopedClock scope(clock);
        MacroFilesAccess access = Files().macros;
        AdjustMacroStepAndDownload(access, true);
    }
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"W 0x0240/8", "W 0x0248/8"}));
    ASSERT_FALSE(clock.storeFree.empty());
    EXPECT_EQ(clock.storeFree, std::vector<bool>(clock.storeFree.size(), true));
    EXPECT_EQ(clock.settingsFree, std::vector<bool>(clock.settingsFree.size(), false));
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 11);
    EXPECT_EQ(g_macroTable[0].params[0].y, 11);
}

TEST_F(DeviceThreadsTest, StepWithoutAnApplySendsNothingButSteps)
{
    SetGroups({{u"G", {MoveMacro(5)}}});
    g_buttonAssignments[0][0] = 256;
    Report({6, 0x01, 0});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 6);
}

// A group file that takes no write: the step still goes out, and the user is told once, as of the
// step's other messages, after its locks.
TEST_F(DeviceThreadsTest, StepIntoAGroupFileThatTakesNoWriteIsToldOnce)
{
    SetGroups({{u"G", {MoveMacro(10)}}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    mouse.ClearLog();
    class ReadOnlyFiles : public MemoryProfileFiles {
    public:
        bool Put(const std::u16string&, const std::u16string&, const std::u16string&, const std::u16string&) override
        {
            return false;
        }
    } readOnly;
    readOnly.files = files.files;
    AdjustMacroStepAndDownload({readOnly, Files().macros.layout, folder}, true);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"W 0x0240/8", "W 0x0248/8"}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, WriteFailureText(folder + u"G.dat", true));
}

TEST_F(DeviceThreadsTest, StatusWithoutAnswerSkipsTheProfileSwitch)
{
    ini.PutString(u"Config2", u"FIRE_TIME", u"90");
    mouse.SetActiveProfile(1);
    mouse.Unplug();
    const uint32_t fireTime = g_fireTime;
    EXPECT_TRUE(TurnAfter({{6, 0x03, 0x00}}).empty());
    EXPECT_EQ(g_curConfig, 1u);
    EXPECT_EQ(g_currentProfile, 0u);
    EXPECT_EQ(g_fireTime, fireTime);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), u"<missing>");
    EXPECT_EQ(g_repaintRequests.load(), 0);
}

TEST_F(DeviceThreadsTest, InputTurnWithoutAnOpenHandleReadsNothing)
{
    mouse.QueueInputReport({6, 0x03, 0x00});
    for (HidHandle handle : {kNoHidHandle, kInvalidHidHandle}) {
        ResetDeviceLink();
        g_hidReadHandle = handle;
        device->clock.ClearSleeps();
        TestFilesSource source = Source();
        DeviceInputTurn(source);
        EXPECT_EQ(mouse.PendingInputReports(), 1u);
        EXPECT_EQ(device->clock.Sleeps(), (std::vector<uint32_t>{2}));
        EXPECT_EQ(source.calls, 0);
        EXPECT_TRUE(mouse.Log().empty());
    }
}

TEST(ConsumerUsageTable, EveryMediaKeyIndex)
{
    const std::vector<uint16_t> expected{0x0223, 0x0183, 0x018A, 0x00E9, 0x00EA, 0x00B6,
                                         0x00B5, 0x00E2, 0x00CD, 0x0192, 0x00B7};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(MediaKeyToConsumerUsage(static_cast<uint8_t>(i)), expected[i]) << i;
    for (int i : {11, 12, 128, 255}) EXPECT_EQ(MediaKeyToConsumerUsage(static_cast<uint8_t>(i)), 0) << i;
}

// Profile 1's first button plays A, profile 2's plays B. After a switch on the mouse, a step
// steps B but must not send it over A's stream, the only one the last apply placed for slot 0.
TEST_F(DeviceThreadsTest, StepSendsOnlyToTheStreamItsApplyPlaced)
{
    SetGroups({{u"G", {MoveMacro(10), MoveMacro(20)}}});
    g_buttonAssignments[0][0] = 256;
    g_buttonAssignments[1][0] = 257;
    Apply();
    const Bytes streamA = mouse.MemoryRange(0x240, 16);
    ASSERT_EQ(streamA[6], 10);

    mouse.SetActiveProfile(1);
    Report({6, 0x03, 0});
    ASSERT_EQ(g_currentProfile, 1u);
    ASSERT_EQ(g_buttonAssignments[1][0], 257u);
    mouse.ClearLog();
    Report({6, 0x01, 0});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(mouse.MemoryRange(0x240, 16), streamA);
    EXPECT_EQ(StoredMacro(u"G", 1).params[0].y, 21);

    // Back on the profile the apply was for: the step goes out again.
    mouse.SetActiveProfile(0);
    Report({6, 0x03, 0});
    mouse.ClearLog();
    Report({6, 0x01, 0});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"W 0x0240/8", "W 0x0248/8"}));
    EXPECT_EQ(mouse.MemoryAt(0x240 + 6), 11);

    // Another macro on the first button since the apply: stepped and saved, not sent.
    g_buttonAssignments[0][0] = 257;
    mouse.ClearLog();
    Report({6, 0x01, 0});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(StoredMacro(u"G", 1).params[0].y, 22);
}

TEST_F(DeviceThreadsTest, StepAfterAnApplyStoppedAtItsLightDataSendsNothing)
{
    SetGroups({{u"G", {MoveMacro(10)}}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    // Constant macros whose light data run past the end of the memory stop the next apply.
    std::vector<MacroEvent> events(179, MacroEvent{0, 0, 0, 0, 10000});
    events.push_back({13, MacroEventCode::Light, 0, 0, 0});
    MacroRecord big = MakeMacro(u"Big", events);
    big.lightBlocks[0].stepCount = 1;
    for (int m = 1; m < 8; ++m) {
        g_constMacroTable[m] = big;
        g_buttonAssignments[0][m] = 32 + m;
    }
    Apply();
    ASSERT_EQ(mouse.ApplyCount(), 1);
    mouse.ClearLog();
    Report({6, 0x01, 0});
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 11);
}

// The report is read first; the files are made after it, for the language in force then.
TEST_F(DeviceThreadsTest, StepAfterALanguageSwitchUsesTheNewLanguagesFiles)
{
    SetGroups({{u"G", {MoveMacro(10)}}});
    g_buttonAssignments[0][0] = 256;
    Apply();
    const std::u16string english = folder;
    folder = u"C:\\kestra\\skins\\INI_CN\\macro\\";
    SetGroups({{u"G", {MoveMacro(20)}}});

    bool reportReadFirst = false;
    TestFilesSource source([&] {
        reportReadFirst = mouse.PendingInputReports() == 0;
        DeviceLinkFiles linkFiles = Files();
        linkFiles.macros.macroFolder = g_languageEnglish != 0 ? english : folder;
        return linkFiles;
    });
    mouse.QueueInputReport({6, 0x01, 0});
    g_languageEnglish = 0;  // switched while the input thread waits for the mouse
    DeviceInputTurn(source);
    EXPECT_TRUE(reportReadFirst);
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 21);
    folder = english;
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, 10);
}

// A press reported while the button-action thread is busy with the previous one (here: while it
// requests the repaint after a DPI level) is carried out in the next turn, as itself.
TEST_F(DeviceThreadsTest, PressDuringATurnRunsInTheNextTurn)
{
    g_buttonAssignments[0][5] = 16;  // DPI, event 0xF6
    g_buttonAssignments[0][3] = 24;  // media key, event 0xF4
    Apply();
    mouse.ClearLog();
    static std::function<void()> duringTurn;
    TestFilesSource source = Source();
    duringTurn = [&] { HandleDeviceInputReport(Bytes{6, 0xF4, 0x80}, source); };
    SetMainWindowRepaint([] {
        if (duringTurn) std::exchange(duringTurn, nullptr)();
    });
    mouse.QueueInputReport({6, 0xF6, 0x83});
    DeviceInputTurn(source);
    ButtonActionTurn(source);
    EXPECT_EQ(g_dpiLevel, 3u);
    EXPECT_NE(ButtonReportsWaiting(), 0u);
    EXPECT_TRUE(TrafficSummary(mouse).empty());
    g_dpiLevel = 0;
    ButtonActionTurn(source);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"KEY 0x018A"}));
    EXPECT_EQ(g_dpiLevel, 0u);  // the DPI event is not carried out twice
    EXPECT_EQ(ButtonReportsWaiting(), 0u);
}

// The fire button held while another button is clicked: its release still stops the fire key.
TEST_F(DeviceThreadsTest, FireReleaseAfterAnotherButtonsPress)
{
    ApplyFireAndMediaButtons();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF4, 0x80});
    Report({6, 0xF4, 0x00});
    Report({6, 0xF3, 0x00});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "KEY 0x018A", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
}

// Two fire buttons held: the mouse's one fire key stops with the last of them let go.
TEST_F(DeviceThreadsTest, FireStopsWithTheLastFireButtonLetGo)
{
    g_buttonAssignments[0][4] = 40;
    ApplyFireAndMediaButtons();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF5, 0x80});
    Report({6, 0xF3, 0x00});
    EXPECT_TRUE(mouse.FireKeyActive());
    Report({6, 0xF5, 0x00});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "FIRE 1", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
}

// The fire button is pressed and released (its stop has gone out). A media key's press arrives
// while the button-action turn is between reading the fire key's state and acting on it: the turn
// acts on what it read, so the fire button's old event never meets the media key's press flag and
// no fire start goes out (one would never be followed by a stop).
TEST_F(DeviceThreadsTest, MediaPressDuringATurnStartsNoFire)
{
    ApplyFireAndMediaButtons();
    Report({6, 0xF3, 0x80});
    Report({6, 0xF3, 0x00});
    static TestFilesSource* source = nullptr;
    TestFilesSource own = Source();
    source = &own;
    SetButtonActionReadHook([] {
        SetButtonActionReadHook(nullptr);
        HandleDeviceInputReport(Bytes{6, 0xF4, 0x80}, *source);
    });
    ButtonActionTurn(own);
    SetButtonActionReadHook(nullptr);
    Report({6, 0xF4, 0x00});
    Report({6, 0xF4, 0x80});
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "FIRE 0", "KEY 0x018A", "KEY 0x018A"}));
    EXPECT_FALSE(mouse.FireKeyActive());
}

}  // namespace
