#pragma once
// The device threads' tests start from a fresh apply fixture with nothing pending between the
// threads.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "device/device_event_threads.h"
#include "device/device_threads.h"
#include "tests/device/apply_fixture.h"

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
        ClearButtonReports();
        g_stepDirection = 0;
    }

    // Button 2 the fire key (event 0xF3), button 3 a media key (event 0xF4), applied; the log
    // starts after the apply.
    void ApplyFireAndMediaButtons()
    {
        g_buttonAssignments[0][2] = 40;
        g_buttonAssignments[0][3] = 24;
        Apply();
        mouse.ClearLog();
    }

    // Reports the input thread has taken before one button-action turn; what went out in that turn.
    std::vector<std::string> TurnAfter(const std::vector<Bytes>& reports)
    {
        TestFilesSource source = Source();
        for (const Bytes& report : reports) HandleDeviceInputReport(report, source);
        ButtonActionTurn(source);
        std::vector<std::string> traffic = TrafficSummary(mouse);
        mouse.ClearLog();
        return traffic;
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

// Protocol time passes as the fake clock's does, but every sleep gives the other threads a
// moment, so that the threads' 2 ms turns do not spin.
class BriefClock : public Clock {
public:
    void SleepMs(uint32_t ms) override
    {
        now_ += ms;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    uint64_t NowMs() override { return now_.load(); }

private:
    std::atomic<uint64_t> now_{0};
};

inline bool WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The real threads, started on the fixture's files.
class DeviceThreadsRunTest : public DeviceThreadsTest {
protected:
    DeviceThreads::FilesSourceFactory Factory()
    {
        return [this] { return std::make_unique<TestFilesSource>(Source()); };
    }
    // Starts the threads and presses the fire button (event 0xF3); whether its fire key came.
    bool StartWithFireHeld(DeviceThreads& threads)
    {
        threads.Start(Factory());
        mouse.QueueInputReport({6, 0xF3, 0x80});
        return WaitUntil([&] { return mouse.FireKeyActive(); });
    }
};

