// The device threads running for real beside an apply: stopping them, and a fire release while
// an apply's message is open.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/device/device_threads_fixture.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// Holds each message box open until the test lets it close.
class HeldPrompts : public UserPrompts {
public:
    int ShowMessage(const std::u16string& text, const std::u16string&, uint32_t) override
    {
        std::unique_lock lock(mutex_);
        shown_.push_back(text);
        changed_.notify_all();
        changed_.wait_for(lock, 30s, [&] { return released_; });
        return MessageAnswer::Ok;
    }
    bool WaitShown()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [&] { return !shown_.empty(); });
    }
    void Release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::u16string> shown_;
    bool released_ = false;
};

// The real threads on a brief clock, started with the fire button (event 0xF3) pressed and its
// fire key running.
struct ThreadsWithFireHeld {
    BriefClock clock;
    ScopedClock clockScope{clock};
    DeviceThreads threads;
};

TEST_F(DeviceThreadsRunTest, StopEndsBothThreadsAndNoTurnFollows)
{
    ApplyFireAndMediaButtons();
    ThreadsWithFireHeld run;
    DeviceThreads& threads = run.threads;
    ASSERT_TRUE(StartWithFireHeld(threads));
    // The input thread is now waiting for the next report.
    threads.Stop();
    EXPECT_FALSE(threads.Running());

    mouse.QueueInputReport({6, 0xF3, 0x00});
    TestFilesSource source = Source();
    HandleDeviceInputReport(Bytes{6, 0xF4, 0x80}, source);  // taken by the input thread before it stopped
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(mouse.PendingInputReports(), 1u);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1"}));

    // Started again, the threads read again and take up what waited.
    threads.Start(Factory());
    EXPECT_TRUE(WaitUntil([&] { return !mouse.FireKeyActive() && mouse.ConsumerKeys().size() == 1; }));
    threads.Stop();
}

// An apply holds the settings while the media key is clicked and the fire button let go: the
// button-action thread waits for them with the reports queued, then carries out each for its own
// button, in the order the mouse sent them.
TEST_F(DeviceThreadsRunTest, ReleaseAndAClickWhileATurnWaitsForTheSettings)
{
    ApplyFireAndMediaButtons();
    ThreadsWithFireHeld run;
    DeviceThreads& threads = run.threads;
    ASSERT_TRUE(StartWithFireHeld(threads));
    {
        std::lock_guard settingsLock(g_settingsMutex);
        for (const Bytes& report : {Bytes{6, 0xF4, 0x80}, Bytes{6, 0xF3, 0x00}, Bytes{6, 0xF4, 0x00}})
            mouse.QueueInputReport(report);
        ASSERT_TRUE(WaitUntil([&] { return ButtonReportsWaiting() == 3; }));
    }
    EXPECT_TRUE(WaitUntil([&] { return ButtonReportsWaiting() == 0 && !mouse.FireKeyActive(); }));
    threads.Stop();
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "KEY 0x018A", "FIRE 0"}));
    EXPECT_FALSE(mouse.FireKeyActive());
}

// The threads' end stops the fire key a held button started and forgets that button: after a start
// again, another fire button's release stops the fire key (the media press after it is carried out
// once the release is).
TEST_F(DeviceThreadsRunTest, EndOfTheThreadsForgetsTheFireButtonsHeld)
{
    g_buttonAssignments[0][4] = 40;  // a second fire button, event 0xF5
    ApplyFireAndMediaButtons();
    ThreadsWithFireHeld run;
    DeviceThreads& threads = run.threads;
    ASSERT_TRUE(StartWithFireHeld(threads));
    threads.StopAndEndFiring();
    EXPECT_FALSE(mouse.FireKeyActive());

    threads.Start(Factory());
    for (const Bytes& report : {Bytes{6, 0xF5, 0x80}, Bytes{6, 0xF5, 0x00}, Bytes{6, 0xF4, 0x80}})
        mouse.QueueInputReport(report);
    EXPECT_TRUE(WaitUntil([&] { return mouse.ConsumerKeys().size() == 1; }));
    EXPECT_FALSE(mouse.FireKeyActive());
    threads.Stop();
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1", "FIRE 0", "FIRE 1", "FIRE 0", "KEY 0x018A"}));
}

// The apply's message is shown after it has released the settings: a fire release reported
// while the message is open still goes out.
TEST_F(DeviceThreadsRunTest, FireReleaseWhileAnApplysMessageIsOpen)
{
    g_buttonAssignments[0][2] = 40;
    MacroRecord light = MakeMacro(u"Light", {{7, MacroEventCode::Light, 0, 0, 20}});  // no such light mode
    light.lightBlocks[0].stepCount = 1;
    g_constMacroTable[1] = light;
    g_buttonAssignments[0][0] = 33;
    Apply();
    Report({6, 0xF3, 0x80});
    ASSERT_TRUE(mouse.FireKeyActive());

    HeldPrompts held;
    SetPrompts(&held);
    std::thread apply([&] {
        DeviceLinkFiles linkFiles = Files();
        WriteSettingsToDevice(linkFiles);
    });
    ASSERT_TRUE(held.WaitShown());
    EXPECT_EQ(mouse.ApplyCount(), 2);  // the apply's traffic is over when its message shows
    const bool settingsFree = g_settingsMutex.try_lock();
    if (settingsFree) {
        g_settingsMutex.unlock();
        Report({6, 0xF3, 0x00});
        EXPECT_FALSE(mouse.FireKeyActive());
    }
    EXPECT_TRUE(settingsFree);
    held.Release();
    apply.join();
    SetPrompts(&prompts);
}

}  // namespace
