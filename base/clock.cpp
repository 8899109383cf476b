#include "base/clock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <numeric>
#include <thread>

namespace {
SystemClock g_systemClock;
std::atomic<Clock*> g_clock{nullptr};
}  // namespace

Clock& GetClock()
{
    Clock* clock = g_clock.load();
    return clock ? *clock : g_systemClock;
}

void SetClock(Clock* clock) { g_clock.store(clock); }

void WaitForStop(uint32_t ms, std::stop_token stop)
{
    // The stop request's wake-up has been seen lost on Windows (a waiter left in the threads
    // library's condition wait after the request), so the wait goes in short slices, each of
    // which looks at the request itself: a stop ends it within a slice at the latest.
    using namespace std::chrono;
    constexpr milliseconds kSlice{20};
    const steady_clock::time_point end = steady_clock::now() + milliseconds(ms);
    std::mutex mutex;
    std::condition_variable_any stopped;
    std::unique_lock lock(mutex);
    for (steady_clock::time_point now = steady_clock::now(); now < end && !stop.stop_requested();
         now = steady_clock::now()) {
        stopped.wait_for(lock, stop, std::min<steady_clock::duration>(end - now, kSlice), [] { return false; });
    }
}

void SystemClock::SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint64_t SystemClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void FakeClock::SleepMs(uint32_t ms)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sleeps_.push_back(ms);
    }
    now_ += ms;
}

std::vector<uint32_t> FakeClock::Sleeps() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return sleeps_;
}

uint64_t FakeClock::TotalSleptMs() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::accumulate(sleeps_.begin(), sleeps_.end(), uint64_t{0});
}

void FakeClock::ClearSleeps()
{
    std::lock_guard<std::mutex> lock(mutex_);
    sleeps_.clear();
}

ScopedClock::ScopedClock(Clock& clock) : previous_(&GetClock()) { SetClock(&clock); }
ScopedClock::~ScopedClock() { SetClock(previous_); }
