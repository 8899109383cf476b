#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/clock.h"
#include "tests/recording_prompts.h"
#include "tests/threads_run_here.h"

TEST(ClockTest, FakeClockRecordsSleepsAndMovesTimeAcrossThreads)
{
    FakeClock fake;
    ScopedClock installed(fake);
    std::thread other([] { GetClock().SleepMs(7); });
    GetClock().SleepMs(3);
    other.join();
    EXPECT_EQ(fake.NowMs(), 10u);
    EXPECT_EQ(fake.TotalSleptMs(), 10u);
    EXPECT_EQ(fake.Sleeps().size(), 2u);
}

TEST(ClockTest, ScopedClockPutsPreviousClockBack)
{
    Clock* before = &GetClock();
    {
        FakeClock fake;
        ScopedClock installed(fake);
        EXPECT_EQ(&GetClock(), &fake);
    }
    EXPECT_EQ(&GetClock(), before);
}

// A stop always ends a worker's wait, whether it comes before the wait, as it begins or in the
// middle of it; the lost wake-up this guards against showed only within a few hundred rounds.
TEST(ClockTest, AStopAlwaysEndsTheSystemClocksWait)
{
    if (!ThreadsRunHere()) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    SystemClock clock;
    for (int round = 0; round < 2000; ++round) {
        std::jthread waiter([&](std::stop_token stop) { clock.WaitMs(1000, stop); });
        if (round % 2 == 1) std::this_thread::sleep_for(std::chrono::microseconds(round % 7 * 100));
        waiter.request_stop();
        waiter.join();
    }
    // Unstopped, it waits its time out.
    const uint64_t start = clock.NowMs();
    clock.WaitMs(30, std::stop_token{});
    EXPECT_GE(clock.NowMs() - start, 29u);
}

TEST(UserPromptsTest, RecordingPromptsCaptureAndAnswer)
{
    RecordingPrompts prompts;
    prompts.answer = MessageAnswer::Cancel;
    EXPECT_EQ(ShowMessage(u"Error!"), MessageAnswer::Cancel);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"Error!");
}
