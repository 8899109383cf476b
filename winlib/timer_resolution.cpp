#include "winlib/timer_resolution.h"

#include <mmsystem.h>

namespace {
constexpr UINT kResolutionMs = 1;
}

ScopedTimerResolution::ScopedTimerResolution() : active_(timeBeginPeriod(kResolutionMs) == TIMERR_NOERROR) {}

ScopedTimerResolution::~ScopedTimerResolution()
{
    if (active_) timeEndPeriod(kResolutionMs);
}
