#pragma once
// Raises the system timer to 1 ms resolution for its lifetime, so that Sleep(2) sleeps about
// 2 ms instead of a whole scheduler tick (about 15.6 ms).
#include <windows.h>

class ScopedTimerResolution {
public:
    ScopedTimerResolution();
    ~ScopedTimerResolution();
    ScopedTimerResolution(const ScopedTimerResolution&) = delete;
    ScopedTimerResolution& operator=(const ScopedTimerResolution&) = delete;

    bool Active() const { return active_; }

private:
    bool active_ = false;
};
