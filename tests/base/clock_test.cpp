#include <gtest/gtest.h>

#include <thread>

#include "base/clock.h"
#include "tests/recording_prompts.h"

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

TEST(UserPromptsTest, RecordingPromptsCaptureAndAnswer)
{
    RecordingPrompts prompts;
    prompts.answer = MessageAnswer::Cancel;
    EXPECT_EQ(ShowMessage(u"Error!"), MessageAnswer::Cancel);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"Error!");
}
