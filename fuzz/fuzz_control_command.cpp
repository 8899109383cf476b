// The demo's control channel as a peer's bytes reach it: split into lines, each line carried out
// on a simulated mouse (no window around it).
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/control_command.h"

namespace {
class NoWindow : public ControlHost {
public:
    bool PostPowerBroadcast() override { return false; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SimulatedMouse mouse;
    NoWindow host;
    ControlSession session(mouse, host);
    ControlLineReader reader;
    const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    for (const ControlLine& line : reader.Feed(bytes)) {
        if (!line.tooLong) session.Run(line.text);
    }
    return 0;
}
