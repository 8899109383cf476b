// Feeds arbitrary feature reports to the simulated mouse's command decoder, arbitrary runs to the
// protocol, and arbitrary interface names to the broadcast check.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "sim/simulated_mouse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FakeClock clock;
    static ScopedClock clockScope(clock);
    SimulatedMouse mouse;
    ScopedHidPort port(mouse);
    ResetDeviceLink();
    FindDevice(0);
    const HidHandle write = g_hidWriteHandle.load();

    std::span<const uint8_t> input(data, size);
    while (input.size() >= 3) {
        const uint8_t kind = input[0];
        if (kind % 4 == 0) {
            // A raw report of any length: the decoder must take only what it can.
            const std::size_t length = std::min<std::size_t>(input[1] % 16, input.size() - 2);
            mouse.SetFeature(write, input.subspan(2, length));
            input = input.subspan(2 + length);
        } else if (kind % 4 == 1) {
            const int32_t address = static_cast<int32_t>((input[1] << 8) | input[2]) - 8;
            const std::size_t count = std::min<std::size_t>(kind >> 4, input.size() - 3);
            WriteDeviceMemory(address, input.subspan(3, count));
            input = input.subspan(3 + count);
        } else if (kind % 4 == 2) {
            std::vector<uint8_t> out(kind >> 4);
            ReadDeviceMemory(static_cast<int32_t>((input[1] << 8) | input[2]), out);
            input = input.subspan(3);
        } else {
            const std::size_t length = std::min<std::size_t>(input[1], input.size() - 2) & ~std::size_t{1};
            std::u16string name(length / 2, u'\0');
            for (std::size_t i = 0; i < name.size(); ++i) {
                name[i] = static_cast<char16_t>(input[2 + 2 * i] | (input[3 + 2 * i] << 8));
            }
            IsOurDeviceBroadcast(input[2] % 8, name);
            input = input.subspan(2 + length);
        }
    }
    ReadDeviceStatus();
    ResetDeviceLink();
    return 0;
}
