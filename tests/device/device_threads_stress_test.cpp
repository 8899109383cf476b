// Applies beside the running device threads. Host tree only (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "macros/macro_editor_state.h"
#include "tests/device/device_threads_fixture.h"
#include "tests/ui/pages/layout_fixtures.h"
#include "ui/pages/page_painting.h"

namespace {

using namespace std::chrono_literals;

// A thread stuck on a lock cannot be ended: a deadlock fails the whole test program.
void WithinDeadline(const std::function<void()>& work)
{
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    if (done.wait_for(60s) == std::future_status::timeout) {
        std::fprintf(stderr, "deadlock: the device threads and the apply wait for each other\n");
        std::_Exit(1);
    }
    worker.join();
    done.get();
}

// Applies on the user-interface thread beside the running device threads, which meanwhile follow
// button presses, steps and profile switches on the mouse. Every path takes the settings, then
// the macro store, then the report lock; a path taking them in another order deadlocks here.
TEST_F(DeviceThreadsRunTest, ApplyBesideButtonsStepsAndProfileSwitches)
{
    SetGroups({{u"G", {MakeMacro(u"A", {{6, MacroEventCode::Move, 4, 10, 20}}),
                       MakeMacro(u"B", {{6, MacroEventCode::Move, 4, 20, 20}})}}});
    for (int p = 0; p < 2; ++p) {
        g_buttonAssignments[p][0] = 256 + p;  // a macro of its own
        g_buttonAssignments[p][2] = 40;       // fire
        g_buttonAssignments[p][3] = 24;       // media key
        g_buttonAssignments[p][4] = 18;       // profile
        g_buttonAssignments[p][5] = 16;       // DPI
    }
    Apply();
    BriefClock clock;
    ScopedClock clockScope(clock);
    DeviceThreads threads;
    threads.Start(Factory());

    constexpr int kApplies = 12;
    constexpr int kRounds = 60;
    WithinDeadline([&] {
        std::thread mouseSide([&] {
            const std::vector<Bytes> round{{6, 0xF3, 0x80}, {6, 0xF3, 0x00}, {6, 0xF4, 0x80}, {6, 0x01, 0},
                                           {6, 0xF6, 0x82}, {6, 0x03, 0},    {6, 0x02, 0},    {6, 0xF5, 0x80}};
            for (int k = 0; k < kRounds; ++k) {
                mouse.SetActiveProfile(k % 2);
                for (const Bytes& report : round) mouse.QueueInputReport(report);
                std::this_thread::sleep_for(500us);
            }
        });
        for (int k = 0; k < kApplies; ++k) {
            DeviceLinkFiles linkFiles = Files();
            WriteSettingsToDevice(linkFiles);
        }
        mouseSide.join();
        // Every report but the last queued, and the queue taken: the mouse's switches followed.
        EXPECT_TRUE(WaitUntil([&] { return mouse.PendingInputReports() == 0 && ButtonReportsWaiting() == 0; }));
        threads.Stop();
    });

    EXPECT_EQ(mouse.InterruptedRuns(), 0);
    EXPECT_EQ(mouse.CommitsWithoutStaging(), 0);
    EXPECT_EQ(mouse.ApplyCount(), 1 + kApplies);
    // Every media press sends its key, and every round lets the fire button go.
    EXPECT_EQ(mouse.ConsumerKeys().size(), static_cast<size_t>(kRounds));
    EXPECT_FALSE(mouse.FireKeyActive());
    // The last switch the threads followed is the mouse's profile, in the state and the file.
    EXPECT_EQ(g_currentProfile, static_cast<uint32_t>(mouse.ActiveProfile()));
    EXPECT_EQ(g_curConfig, g_currentProfile + 1);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), FormatIniInt(static_cast<int32_t>(g_curConfig)));
    EXPECT_TRUE(prompts.shown.empty());
}

// The fire button pressed and released, then a media key pressed while the button-action thread
// turns: however the media press falls into a turn, it never starts the fire key (no stop would
// follow it). The input thread and the button-action thread run for real.
TEST_F(DeviceThreadsRunTest, MediaPressesBesideTurnsNeverStartTheFireKey)
{
    ApplyFireAndMediaButtons();
    BriefClock clock;
    ScopedClock clockScope(clock);
    DeviceThreads threads;
    threads.Start(Factory());
    constexpr int kRounds = 300;
    int firing = 0;
    WithinDeadline([&] {
        for (int k = 0; k < kRounds; ++k) {
            mouse.QueueInputReport({6, 0xF3, 0x80});
            ASSERT_TRUE(WaitUntil([&] { return mouse.FireKeyActive(); }));
            mouse.QueueInputReport({6, 0xF3, 0x00});
            ASSERT_TRUE(WaitUntil([&] { return !mouse.FireKeyActive() && ButtonReportsWaiting() == 0; }));
            mouse.QueueInputReport({6, 0xF4, 0x80});
            ASSERT_TRUE(WaitUntil([&] { return mouse.ConsumerKeys().size() == static_cast<size_t>(k + 1); }));
            mouse.QueueInputReport({6, 0xF4, 0x00});
            ASSERT_TRUE(WaitUntil([&] { return mouse.PendingInputReports() == 0 && ButtonReportsWaiting() == 0; }));
            if (mouse.FireKeyActive()) ++firing;
        }
        threads.Stop();
    });
    EXPECT_EQ(firing, 0);
}

// The fire button held while the media and DPI buttons click, then let go, in bursts that the
// threads take in any grouping, beside applies that hold the settings for whole turns: each
// round ends with the fire key stopped and its media press sent.
TEST_F(DeviceThreadsRunTest, FireHeldWhileOtherButtonsClickStopsOnItsRelease)
{
    g_buttonAssignments[0][5] = 16;  // DPI, event 0xF6
    ApplyFireAndMediaButtons();
    BriefClock clock;
    ScopedClock clockScope(clock);
    DeviceThreads threads;
    threads.Start(Factory());
    constexpr int kRounds = 150;
    WithinDeadline([&] {
        std::thread applies([&] {
            for (int k = 0; k < 6; ++k) {
                DeviceLinkFiles linkFiles = Files();
                WriteSettingsToDevice(linkFiles);
            }
        });
        const std::vector<Bytes> round{{6, 0xF3, 0x80}, {6, 0xF4, 0x80}, {6, 0xF6, 0x81},
                                       {6, 0xF4, 0x00}, {6, 0xF3, 0x00}, {6, 0xF6, 0x00}};
        for (int k = 0; k < kRounds; ++k) {
            for (size_t r = 0; r < round.size(); ++r) {
                mouse.QueueInputReport(round[r]);
                if ((k + r) % 3 == 0) std::this_thread::sleep_for(100us);
            }
            // The media press carried out (the fire press before it, at the latest in its turn),
            // then the fire key stopped.
            ASSERT_TRUE(WaitUntil([&] { return mouse.ConsumerKeys().size() == static_cast<size_t>(k + 1) && !mouse.FireKeyActive(); }))
                << k;
        }
        applies.join();
        threads.Stop();
    });
    EXPECT_FALSE(mouse.FireKeyActive());
    EXPECT_EQ(mouse.InterruptedRuns(), 0);
}

// A recording's key filter writes the record being recorded without the macro store, as the
// keyboard hook must never wait, while the input thread steps and downloads another macro of the
// open group. Under ThreadSanitizer, a step touching the recorded record would be reported.
TEST_F(DeviceThreadsRunTest, RecordingBesideStepDownloads)
{
    const MacroRecord moves = MakeMacro(u"M", {{6, MacroEventCode::Move, 4, 0, 20}, {1, 0x04, 0, 0, 20}});
    SetGroups({{u"G", {moves, moves}}});
    g_buttonAssignments[0][0] = 256;  // macro 0 stepped; macro 1 recorded
    Apply();
    {
        std::lock_guard lock(g_macroStoreLock);
        SetOpenMacro(1);
        g_macroRecorder.Start(g_macroTable[1], u"Rec");
    }
    BriefClock clock;
    ScopedClock clockScope(clock);
    DeviceThreads threads;
    threads.Start(Factory());
    constexpr int kSteps = 20;
    WithinDeadline([&] {
        for (int k = 0; k < kSteps; ++k) mouse.QueueInputReport({6, 0x01, 0});
        uint32_t now = 0;
        for (uint32_t vk = 'A'; vk <= 'Z'; ++vk) {
            g_macroRecorder.OnKey(KeyMessage::KeyDown, vk, now += 30, g_macroTable[1]);
            g_macroRecorder.OnKey(KeyMessage::KeyUp, vk, now += 30, g_macroTable[1]);
            std::this_thread::sleep_for(200us);
        }
        // The last report read: its step ends before the threads do.
        EXPECT_TRUE(WaitUntil([&] { return mouse.PendingInputReports() == 0; }));
        threads.Stop();
    });
    {
        std::lock_guard lock(g_macroStoreLock);
        g_macroRecorder.Stop(g_macroTable[1]);
    }
    EXPECT_EQ(g_macroTable[1].eventCount, 52);
    EXPECT_EQ(g_macroTable[0].params[0].y, kSteps);
    EXPECT_EQ(StoredMacro(u"G", 0).params[0].y, kSteps);
    EXPECT_EQ(StoredMacro(u"G", 1).eventCount, 2);  // the recording is saved by its stop, not by a step
}

// Holds the settings in the first button-action turn until the test lets go, so that the paints
// meanwhile find them taken and show the copy of the paint before.
std::atomic<bool> g_settingsHeld{false};
std::atomic<bool> g_letGo{false};

void HoldSettingsInFirstTurn()
{
    if (g_settingsHeld.exchange(true)) return;
    while (!g_letGo) std::this_thread::sleep_for(50us);
}

// Main-page paints whose nine tags (eight buttons' names and the profile's) are not all one
// profile's.
int MixedMainPages(const SkinTables& tables, int paints)
{
    int mixed = 0;
    for (int k = 0; k < paints; ++k) {
        const PaintPlan plan = PlanPage(tables, kPageMain);
        std::vector<std::u16string> tags;
        for (const PaintOp& op : plan) {
            if (op.kind == PaintOp::Kind::Text && !op.text.empty() && op.text[0] == u'#') tags.push_back(op.text);
        }
        if (tags.size() != kMouseButtonCount || std::count(tags.begin(), tags.end(), tags[0]) != static_cast<long>(tags.size())) ++mixed;
    }
    return mixed;
}

// The window plans its pages while the mouse switches profiles and steps its DPI level, which the
// device threads follow by loading the profile and saving the level. Each paint shows one profile:
// its name and its buttons' names carry the same tag (the DPI button, the same in every profile,
// aside). Under ThreadSanitizer, a paint reading what a device thread writes is reported.
// A paint that finds the settings taken shows the copy of the paint before, so the window paints
// once before the threads start: otherwise the paints that find them taken before this test's
// first copy (while the first switch is followed) show a copy left by an earlier test, whose tags
// do not match. The first button-action turn holds the settings, so such paints come every run.
TEST_F(DeviceThreadsRunTest, PagesPaintBesideProfileSwitchesAndDpiSteps)
{
    constexpr size_t kDpiButton = 5;  // event 0xF6
    for (uint32_t p = 0; p < kProfileCount; ++p) {
        const std::u16string tag = u"#" + std::u16string(1, static_cast<char16_t>(u'1' + p));
        g_profileNames[p] = tag;
        g_functionNames[p + 1] = tag;
        g_buttonAssignments[p].fill(p + 1);
        g_buttonAssignments[p][kDpiButton] = 16;
    }
    g_functionNames[16] = u"DPI";
    Apply();  // the fire, DPI and profile flags, and the four profiles into config.ini
    ASSERT_EQ(IniValue(u"Config3", u"K0"), u"3");
    LayoutTableSet layout;
    const SkinTables tables = layout.View();

    EXPECT_EQ(MixedMainPages(tables, 1), 0);

    BriefClock clock;
    ScopedClock clockScope(clock);
    g_settingsHeld = false;
    g_letGo = false;
    SetButtonActionReadHook(HoldSettingsInFirstTurn);
    DeviceThreads threads;
    threads.Start(Factory());
    constexpr int kRounds = 200;
    int mixed = 0;
    int paints = 0;
    WithinDeadline([&] {
        ASSERT_TRUE(WaitUntil([] { return g_settingsHeld.load(); }));
        mixed += MixedMainPages(tables, 8);
        g_letGo = true;
        std::atomic<bool> mouseDone{false};
        std::thread mouseSide([&] {
            for (int k = 0; k < kRounds; ++k) {
                mouse.SetActiveProfile(k % 4);
                mouse.QueueInputReport({6, 0x03, 0});
                mouse.QueueInputReport({6, 0xF6, static_cast<uint8_t>(0x80 | (k % 6))});
                mouse.QueueInputReport({6, 0xF6, 0x00});
                std::this_thread::sleep_for(200us);
            }
            mouseDone = true;
        });
        while (!mouseDone || mouse.PendingInputReports() != 0) {
            for (uint8_t page = 0; page < kSkinPageCount; ++page) {
                ++paints;
                if (page == kPageMain) {
                    mixed += MixedMainPages(tables, 1);
                } else {
                    PlanPage(tables, page);
                }
            }
        }
        mouseSide.join();
        // Every report but the last queued, and the queue taken: the mouse's switches followed.
        EXPECT_TRUE(WaitUntil([&] { return mouse.PendingInputReports() == 0 && ButtonReportsWaiting() == 0; }));
        threads.Stop();
    });
    g_letGo = true;
    SetButtonActionReadHook(nullptr);
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(paints, 0);
    EXPECT_EQ(g_currentProfile, static_cast<uint32_t>(mouse.ActiveProfile()));
}

}  // namespace
