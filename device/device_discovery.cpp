#include "device/device_discovery.h"

#include <mutex>

#include "device/command_protocol.h"

std::array<DeviceId, kDeviceIdCount> g_deviceIds = kKestraDeviceIds;
uint8_t g_deviceConnected = 0;
std::u16string g_devicePath;
std::atomic<HidHandle> g_hidReadHandle{kNoHidHandle};
std::atomic<HidHandle> g_hidWriteHandle{kNoHidHandle};
HidCaps g_readCaps;
HidCaps g_writeCaps;

namespace {

// Guards g_readCaps, so that a reset or a new discovery never changes it under the input thread's
// copy.
std::mutex g_readCollectionMutex;

bool IsAcceptedDevice(const HidAttributes& attributes)
{
    for (const DeviceId& id : g_deviceIds) {
        if (id.vendorId == attributes.vendorId && id.productId == attributes.productId) return true;
    }
    return false;
}

// A collection whose handle is already open keeps it: a device thread may be waiting on it, and
// opening again would only leak the first handle. A failed open is tried again.
void OpenReadCollection(HidPort& port, const std::u16string& path, const HidCaps& caps)
{
    if (IsOpenHidHandle(g_hidReadHandle.load())) return;
    const HidHandle handle = port.Open(path, HidAccess::Read);
    std::lock_guard<std::mutex> lock(g_readCollectionMutex);
    g_readCaps = caps;
    g_hidReadHandle.store(handle, std::memory_order_release);
}

void OpenWriteCollection(HidPort& port, const std::u16string& path, const HidCaps& caps)
{
    if (IsOpenHidHandle(g_hidWriteHandle.load())) return;
    HidHandle handle = port.Open(path, HidAccess::Write);
    std::lock_guard<std::mutex> lock(g_deviceReportMutex);
    g_writeCaps = caps;
    g_hidWriteHandle.store(handle);
}

}  // namespace

uint8_t FindDevice(WindowHandleValue window)
{
    HidPort& port = GetHidPort();
    std::unique_ptr<HidInterfaceSet> interfaces = port.EnumerateInterfaces();
    g_deviceConnected = 0;
    bool registered = false;

    // Every member index costs one attempt, present or not.
    for (uint32_t member = 0; member < kDiscoveryAttempts; ++member) {
        std::u16string path;
        if (!interfaces || !interfaces->InterfacePath(member, path)) continue;

        HidHandle probe = port.Open(path, HidAccess::Probe);
        if (!IsOpenHidHandle(probe)) continue;
        HidAttributes attributes;
        if (!port.GetAttributes(probe, attributes) || !IsAcceptedDevice(attributes)) {
            port.Close(probe);
            continue;
        }

        g_deviceConnected = 1;
        g_devicePath = path;
        // One registration covers the whole HID class; more would repeat every notification.
        if (!registered) registered = port.RegisterDeviceNotifications(window);

        HidCaps caps;
        bool haveCaps = port.GetCaps(probe, caps);
        port.Close(probe);
        if (haveCaps && caps.usage == kVendorCollectionUsage) {
            if (caps.usagePage == kReadUsagePage) OpenReadCollection(port, path, caps);
            else if (caps.usagePage == kWriteUsagePage) OpenWriteCollection(port, path, caps);
        }

        if (g_hidReadHandle.load() != kNoHidHandle && g_hidWriteHandle.load() != kNoHidHandle) break;
    }
    return g_deviceConnected;
}

namespace {

char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

}  // namespace

ReadCollection CurrentReadCollection()
{
    std::lock_guard<std::mutex> lock(g_readCollectionMutex);
    const HidHandle handle = g_hidReadHandle.load(std::memory_order_acquire);
    return {handle, IsOpenHidHandle(handle) ? g_readCaps.inputReportByteLength : uint16_t{0}};
}

bool IsOurDeviceBroadcast(uint32_t deviceType, std::u16string_view interfaceName)
{
    if (deviceType != kBroadcastDeviceInterface || g_devicePath.empty()) return false;
    return EqualIgnoringCase(interfaceName, g_devicePath);
}

void ResetDeviceLink()
{
    HidPort& port = GetHidPort();
    HidHandle read = kNoHidHandle;
    {
        std::lock_guard<std::mutex> lock(g_readCollectionMutex);
        read = g_hidReadHandle.exchange(kNoHidHandle);
        g_readCaps = HidCaps{};
    }
    if (IsOpenHidHandle(read)) port.Close(read);
    {
        std::lock_guard<std::mutex> lock(g_deviceReportMutex);
        HidHandle write = g_hidWriteHandle.exchange(kNoHidHandle);
        if (IsOpenHidHandle(write)) port.Close(write);
        g_writeCaps = HidCaps{};
        ForgetFireKeyLocked();
    }
    g_deviceConnected = 0;
    g_devicePath.clear();
}
