#include "base/clock.h"

#include <algorithm>
#include <chrono>
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
    // Short sleeps that look at the request between them, and no stop callback: on Windows the
    // threads library's wait for a stop callback still running on the requesting thread, which a
    // callback's removal makes (the library's stop-token condition wait among them), was seen never
    // to return.
    using namespace std::chrono;
    constexpr milliseconds kSlice{5};
    const steady_clock::time_point end = steady_clock::now() + milliseconds(ms);
    for (steady_clock::time_point now = steady_clock::now(); now < end && !stop.stop_requested();
         now = steady_clock::now()) {
        std::this_thread::sleep_for(std::min<steady_clock::duration>(end - now, kSlice));
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
