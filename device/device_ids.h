#pragma once
// The mouse models the program accepts, as (USB vendor id, product id). Change them here only.
#include <array>
#include <cstdint>

struct DeviceId {
    uint32_t vendorId;
    uint32_t productId;
};

inline constexpr std::size_t kDeviceIdCount = 5;

inline constexpr std::array<DeviceId, kDeviceIdCount> kKestraDeviceIds = {{
    {0x3A7E, 0x5101},  // Quorvel, wired
    {0x3A7E, 0x5102},  // Quorvel, wireless receiver
    {0x3A7E, 0x5110},  // Quorvel Pro
    {0x3A7E, 0x5120},  // Quorvel Lite
    {0x3A7F, 0x0007},  // Quorvel, second production run
}};
