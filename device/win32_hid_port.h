#pragma once
// The HID port over the Windows HID class and setup interfaces.
#include <windows.h>
#include <dbt.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "device/hid_port.h"
#include "winlib/timer_resolution.h"
#include "winlib/unique_handle.h"

// The read collection is opened for overlapped use so that a waiting read can be ended: by
// SetInputReadsCancelled (program end) or by closing its handle (the device link reset), which
// cancels the read and closes the handle only once the read has returned.
class Win32HidPort : public HidPort {
public:
    Win32HidPort();
    ~Win32HidPort() override = default;
    Win32HidPort(const Win32HidPort&) = delete;
    Win32HidPort& operator=(const Win32HidPort&) = delete;

    std::unique_ptr<HidInterfaceSet> EnumerateInterfaces() override;
    HidHandle Open(const std::u16string& path, HidAccess access) override;
    void Close(HidHandle handle) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    bool GetCaps(HidHandle handle, HidCaps& caps) override;
    bool RegisterDeviceNotifications(WindowHandleValue window) override;
    bool SetFeature(HidHandle handle, std::span<const uint8_t> report) override;
    bool GetFeature(HidHandle handle, std::span<uint8_t> report) override;
    bool ReadInput(HidHandle handle, std::span<uint8_t> report, std::size_t& bytesRead) override;
    void SetInputReadsCancelled(bool cancelled) override;
    void BeginTraffic() override;
    void EndTraffic() override;

private:
    struct NotificationDeleter {
        void operator()(void* notification) const;
    };
    using NotificationOwner = std::unique_ptr<void, NotificationDeleter>;

    // An open handle, shared with the reads waiting on it; closed when the last one lets go.
    struct OpenFile {
        UniqueHandle file;
        UniqueHandle closed;  // manual-reset event, set when the port closes the handle
    };

    std::mutex mutex_;  // guards handles_, notifications_, trafficDepth_ and fineTimer_
    // Every handle this port opened, closed when the port is closed or destroyed.
    std::map<HidHandle, std::shared_ptr<OpenFile>> handles_;
    UniqueHandle readsCancelled_;  // manual-reset event
    // One registration per window: more would repeat every notification.
    std::map<WindowHandleValue, NotificationOwner> notifications_;
    // Held while any traffic bracket is open.
    int trafficDepth_ = 0;
    std::optional<ScopedTimerResolution> fineTimer_;
};

// The device-change broadcast header form of IsOurDeviceBroadcast, for WM_DEVICECHANGE.
bool IsOurDeviceBroadcast(const DEV_BROADCAST_HDR* header);
