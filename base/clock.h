#pragma once
// The time source of the device protocol and the program's threads. Tests put a FakeClock in
// its place so pacing is checked exactly and nothing waits.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <vector>

class Clock {
public:
    virtual ~Clock() = default;
    virtual void SleepMs(uint32_t ms) = 0;
    // A worker's wait: SleepMs, but over once `stop` is requested. A clock whose sleeps do not
    // wait (the fake ones) just sleeps.
    virtual void WaitMs(uint32_t ms, std::stop_token stop) { if (!stop.stop_requested()) SleepMs(ms); }
    // Milliseconds on a monotonic scale.
    virtual uint64_t NowMs() = 0;
};

// The clock everything uses. SetClock(nullptr) restores the system clock.
Clock& GetClock();
void SetClock(Clock* clock);

// Waits ms of real time, or until `stop` is requested (seen within a few milliseconds).
void WaitForStop(uint32_t ms, std::stop_token stop);

class SystemClock : public Clock {
public:
    void SleepMs(uint32_t ms) override;
    void WaitMs(uint32_t ms, std::stop_token stop) override { WaitForStop(ms, std::move(stop)); }
    uint64_t NowMs() override;
};

// Time moves only when someone sleeps; every sleep is recorded. Safe to share between threads.
class FakeClock : public Clock {
public:
    void SleepMs(uint32_t ms) override;
    uint64_t NowMs() override { return now_.load(); }
    void Advance(uint64_t ms) { now_ += ms; }
    std::vector<uint32_t> Sleeps() const;
    uint64_t TotalSleptMs() const;
    void ClearSleeps();

private:
    std::atomic<uint64_t> now_{0};
    mutable std::mutex mutex_;  // guards sleeps_
    std::vector<uint32_t> sleeps_;
};

// Installs a clock for one scope and puts the previous one back.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};
