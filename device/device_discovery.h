#pragma once
// Finding the mouse among the present HID interfaces and opening its two vendor collections:
// 0xFF00/1 delivers the input report, 0xFF01/1 takes every feature report.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/device_ids.h"
#include "device/hid_port.h"

inline constexpr uint16_t kReadUsagePage = 0xFF00;
inline constexpr uint16_t kWriteUsagePage = 0xFF01;
inline constexpr uint16_t kVendorCollectionUsage = 1;
// Discovery looks at no more interfaces than this.
inline constexpr uint32_t kDiscoveryAttempts = 100;
// Device-change broadcast type of a device interface.
inline constexpr uint32_t kBroadcastDeviceInterface = 5;

// Accepted mice, compared in table order.
extern std::array<DeviceId, kDeviceIdCount> g_deviceIds;
// 1 once an interface of an accepted mouse was found. Written by the user-interface thread.
extern uint8_t g_deviceConnected;
// Path of the last interface of the mouse that discovery examined. User-interface thread only.
extern std::u16string g_devicePath;
// Read by the device threads while discovery may write them, hence atomic. The capabilities of a
// collection are stored before its handle, so a thread that sees the handle sees its capabilities.
extern std::atomic<HidHandle> g_hidReadHandle;
extern std::atomic<HidHandle> g_hidWriteHandle;
// Written with g_hidReadHandle, before it (release order), under the read collection's lock; the
// input thread takes both through CurrentReadCollection.
extern HidCaps g_readCaps;

// The read collection as the input thread uses it: the handle and the input report length of
// that same collection (0 when the handle is not open).
struct ReadCollection {
    HidHandle handle = kNoHidHandle;
    uint16_t inputReportLength = 0;
};
ReadCollection CurrentReadCollection();
// Guarded by g_deviceReportMutex (command_protocol.h), like every report on the write handle.
extern HidCaps g_writeCaps;

// Looks for the mouse; registers `window` for device-change notifications. Returns the connected
// flag and leaves it in g_deviceConnected.
uint8_t FindDevice(WindowHandleValue window);

// True for a device-interface broadcast whose interface name is g_devicePath in any letter case.
bool IsOurDeviceBroadcast(uint32_t deviceType, std::u16string_view interfaceName);

// Drops what discovery found (handles closed through the port, flag and path cleared). For the
// end of a program run and for tests that run discovery again from a clean start. A read waiting
// on the read collection ends (failed); the port closes the handle once that read has returned.
void ResetDeviceLink();
