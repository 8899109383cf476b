// The device threads running for real beside an apply: stopping them, a fire release while an
// apply's message is open, and everything at once. Host tree only (see CMakeLists.txt).
#include "device/device_threads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include "tests/device/device_threads_fixture.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// Protocol time passes as the fake clock's does, but every sleep gives the other threads a
// moment, so that the threads' 2 ms turns do not spin.
class BriefClock : public Clock {
public:
    void SleepMs(uint32_t ms) override
    {
        now_ += ms;
        std::this_thread::sleep_for(50us);
    }
    uint64_t NowMs() override { return now_.load(); }

private:
    std::atomic<uint64_t> now_{0};
};

bool WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

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

class DeviceThreadsRunTest : public DeviceThreadsTest {
protected:
    DeviceThreads::FilesSourceFactory Factory()
    {
        return [this] { return std::make_unique<TestFilesSource>(Source()); };
    }
};

TEST_F(DeviceThreadsRunTest, StopEndsBothThreadsAndNoTurnFollows)
{
    g_buttonAssignments[0][2] = 40;  // fire, event 0xF3
    g_buttonAssignments[0][3] = 24;  // media key, event 0xF4
    Apply();
    mouse.ClearLog();
    BriefClock clock;
    ScopedClock clockScope(clock);
    DeviceThreads threads;
    threads.Start(Factory());
    mouse.QueueInputReport({6, 0xF3, 0x80});
    ASSERT_TRUE(WaitUntil([&] { return mouse.FireKeyActive(); }));
    // The input thread is now waiting for the next report.
    threads.Stop();
    EXPECT_FALSE(threads.Running());

    mouse.QueueInputReport({6, 0xF3, 0x00});
    g_buttonEventPending = PendingButtonEvent(0xF4, 0x80);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(mouse.PendingInputReports(), 1u);
    EXPECT_EQ(TrafficSummary(mouse), (Strings{"FIRE 1"}));

    // Started again, the threads read again and take up what waited.
    threads.Start(Factory());
    EXPECT_TRUE(WaitUntil([&] { return !mouse.FireKeyActive() && mouse.ConsumerKeys().size() == 1; }));
    threads.Stop();
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
        EXPECT_TRUE(WaitUntil([&] { return mouse.PendingInputReports() == 0; }));
        threads.Stop();
    });

    EXPECT_EQ(mouse.InterruptedRuns(), 0);
    EXPECT_EQ(mouse.CommitsWithoutStaging(), 0);
    EXPECT_EQ(mouse.ApplyCount(), 1 + kApplies);
    // A press reported before the previous one was taken is no event: some media keys drop out.
    EXPECT_GT(mouse.ConsumerKeys().size(), 0u);
    EXPECT_LE(mouse.ConsumerKeys().size(), static_cast<size_t>(kRounds));
    // The last switch the threads followed is the mouse's profile, in the state and the file.
    EXPECT_EQ(g_currentProfile, static_cast<uint32_t>(mouse.ActiveProfile()));
    EXPECT_EQ(g_curConfig, g_currentProfile + 1);
    EXPECT_EQ(IniValue(u"Init", u"CurConfig"), FormatIniInt(static_cast<int32_t>(g_curConfig)));
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
