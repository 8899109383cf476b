#pragma once
// A simulated mouse installed as the HID port, found by discovery, with a fake clock: every test
// of device traffic starts from here and leaves the device link clean behind it.
#include <cstdint>
#include <vector>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "sim/simulated_mouse.h"

class SimulatedDevice {
public:
    explicit SimulatedDevice(SimulatedMouse& mouse, bool discover = true) : clockScope_(clock), portScope_(mouse)
    {
        ResetDeviceLink();
        g_featureBuffer.fill(0);
        if (discover) FindDevice(kWindow);
        mouse.ClearLog();
    }
    ~SimulatedDevice()
    {
        ResetDeviceLink();
        g_featureBuffer.fill(0);
    }
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    static constexpr WindowHandleValue kWindow = 0x5150;
    FakeClock clock;

private:
    ScopedClock clockScope_;
    ScopedHidPort portScope_;
};

// The mouse with its command collection's feature length set.
inline std::vector<SimulatedCollection> MouseWithFeatureLength(uint16_t featureLength)
{
    std::vector<SimulatedCollection> collections =
        SimulatedMouse::MouseCollections(static_cast<uint16_t>(kKestraDeviceIds[0].vendorId),
                                         static_cast<uint16_t>(kKestraDeviceIds[0].productId), u"7&1a2b3c4d&0");
    for (SimulatedCollection& c : collections) {
        if (c.usagePage == kWriteUsagePage) c.featureReportLength = featureLength;
    }
    return collections;
}

using Bytes = std::vector<uint8_t>;
