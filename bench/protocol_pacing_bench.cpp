// Writes memory runs to the simulated mouse through the real clock and prints how long they took
// against the sum of the sleeps the protocol asks for. On Windows it measures twice: with the
// default timer resolution and with the 1 ms resolution the Windows port holds during traffic.
//
//   protocol_pacing_bench [runs]      (default 40 eight-byte writes and 10 three-byte reads)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "sim/simulated_mouse.h"

#ifdef _WIN32
#include "winlib/timer_resolution.h"
#endif

namespace {

// The simulated mouse, bracketing traffic as the Windows port does when asked to (the protocol
// opens one bracket at a time, under its lock).
class PacedMouse : public SimulatedMouse {
public:
    explicit PacedMouse(bool fineTimer) : fineTimer_(fineTimer) {}
    void BeginTraffic() override
    {
#ifdef _WIN32
        if (fineTimer_) resolution_.emplace();
#endif
    }
    void EndTraffic() override
    {
#ifdef _WIN32
        resolution_.reset();
#endif
    }

private:
    [[maybe_unused]] bool fineTimer_;
#ifdef _WIN32
    std::optional<ScopedTimerResolution> resolution_;
#endif
};

void Measure(const char* label, bool fineTimer, int writes, int reads)
{
    PacedMouse mouse(fineTimer);
    ScopedHidPort port(mouse);
    ResetDeviceLink();
    FindDevice(0);

    const uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t back[3];
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < writes; ++k) WriteDeviceMemory(0x240 + 8 * k, block);
    for (int k = 0; k < reads; ++k) ReadDeviceMemory(0x43, back);
    const auto wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    // 10 + 5 ms per write run; 2 ms per staged zero, 5, 2 ms per byte read, 5 per read.
    const double mandated = writes * 15.0 + reads * (4.0 * 3 + 10.0);
    const int sleeps = writes * 2 + reads * (3 + 1 + 3 + 1);
    std::printf("%-34s %5d writes %4d reads  wall %9.1f ms  mandated %8.1f ms  ratio %5.2f  excess per sleep %6.2f ms\n",
                label, writes, reads, wall, mandated, wall / mandated, (wall - mandated) / sleeps);
    std::fflush(stdout);
    ResetDeviceLink();
}

}  // namespace

int main(int argc, char** argv)
{
    const int writes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const int reads = std::max(1, writes / 4);
    SetClock(nullptr);  // the system clock: real sleeps
#ifdef _WIN32
    Measure("default timer resolution", false, writes, reads);
    Measure("1 ms timer during traffic", true, writes, reads);
#else
    Measure("system clock", false, writes, reads);
#endif
    return 0;
}
