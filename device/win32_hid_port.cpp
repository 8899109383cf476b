#include "device/win32_hid_port.h"

#include <setupapi.h>
// In this order: hidsdi.h brings the usage types hidpi.h needs. The HID headers declare C
// functions without saying so.
// clang-format off
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <array>
#include <cstddef>
#include <cwchar>
#include <vector>

#include "device/device_discovery.h"
#include "winlib/wide.h"

namespace {

// A 32-bit program gives the detail structure's header size as 6: a DWORD and one WCHAR,
// packed. The 64-bit layout would be 8.
#ifdef _WIN64
constexpr DWORD kDetailHeaderSize = 8;
#else
constexpr DWORD kDetailHeaderSize = 6;
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == kDetailHeaderSize);
#endif
constexpr DWORD kPresentInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;  // 0x12
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;        // 3
static_assert(kPresentInterfaces == 0x12 && kShareReadWrite == 3 && OPEN_EXISTING == 3);
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);
static_assert(sizeof(HIDD_ATTRIBUTES) == 12);

HANDLE AsHandle(HidHandle handle) { return reinterpret_cast<HANDLE>(handle); }

GUID HidClassGuid()
{
    GUID guid{};
    HidD_GetHidGuid(&guid);
    return guid;
}

class Win32InterfaceSet : public HidInterfaceSet {
public:
    Win32InterfaceSet()
        : guid_(HidClassGuid()), set_(SetupDiGetClassDevsW(&guid_, nullptr, nullptr, kPresentInterfaces))
    {
    }
    ~Win32InterfaceSet() override
    {
        if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    }
    Win32InterfaceSet(const Win32InterfaceSet&) = delete;
    Win32InterfaceSet& operator=(const Win32InterfaceSet&) = delete;

    bool InterfacePath(uint32_t memberIndex, std::u16string& path) override
    {
        if (set_ == INVALID_HANDLE_VALUE) return false;
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(set_, nullptr, &guid_, memberIndex, &interfaceData)) return false;

        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(set_, &interfaceData, nullptr, 0, &required, nullptr);
        constexpr std::size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
        if (required < kPathOffset + sizeof(WCHAR)) return false;
        // DWORD elements keep the structure aligned.
        std::vector<DWORD> buffer((required + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = kDetailHeaderSize;
        if (!SetupDiGetDeviceInterfaceDetailW(set_, &interfaceData, detail, required, nullptr, nullptr)) return false;
        const std::size_t maxChars = (required - kPathOffset) / sizeof(WCHAR);
        path = FromWide(detail->DevicePath, wcsnlen(detail->DevicePath, maxChars));
        return !path.empty();
    }

private:
    GUID guid_;
    HDEVINFO set_;
};

DWORD AccessRights(HidAccess access)
{
    switch (access) {
    case HidAccess::Read:
        return GENERIC_READ;
    case HidAccess::Write:
        return GENERIC_WRITE;
    case HidAccess::Probe:
        break;
    }
    return 0;
}

}  // namespace

Win32HidPort::Win32HidPort() : readsCancelled_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

std::unique_ptr<HidInterfaceSet> Win32HidPort::EnumerateInterfaces() { return std::make_unique<Win32InterfaceSet>(); }

HidHandle Win32HidPort::Open(const std::u16string& path, HidAccess access)
{
    const DWORD flags = access == HidAccess::Read ? FILE_FLAG_OVERLAPPED : 0;
    auto open = std::make_shared<OpenFile>();
    open->file.Reset(CreateFileW(AsWide(path), AccessRights(access), kShareReadWrite, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!open->file) return kInvalidHidHandle;
    open->closed.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!open->closed) return kInvalidHidHandle;
    auto value = reinterpret_cast<HidHandle>(open->file.Get());
    std::lock_guard<std::mutex> lock(mutex_);
    handles_[value] = std::move(open);
    return value;
}

void Win32HidPort::Close(HidHandle handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = handles_.find(handle);
    if (found == handles_.end()) return;
    SetEvent(found->second->closed.Get());
    handles_.erase(found);
}

bool Win32HidPort::GetAttributes(HidHandle handle, HidAttributes& attributes)
{
    HIDD_ATTRIBUTES system{};
    system.Size = sizeof(system);
    if (!HidD_GetAttributes(AsHandle(handle), &system)) return false;
    attributes = HidAttributes{system.VendorID, system.ProductID, system.VersionNumber};
    return true;
}

bool Win32HidPort::GetCaps(HidHandle handle, HidCaps& caps)
{
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(AsHandle(handle), &preparsed)) return false;
    HIDP_CAPS system{};
    const bool ok = HidP_GetCaps(preparsed, &system) == HIDP_STATUS_SUCCESS;
    HidD_FreePreparsedData(preparsed);
    if (!ok) return false;
    caps = HidCaps{system.Usage, system.UsagePage, system.InputReportByteLength, system.OutputReportByteLength,
                   system.FeatureReportByteLength};
    return true;
}

void Win32HidPort::NotificationDeleter::operator()(void* notification) const
{
    UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(notification));
}

bool Win32HidPort::RegisterDeviceNotifications(WindowHandleValue window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (notifications_.count(window) != 0) return true;
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = HidClassGuid();
    HDEVNOTIFY notification =
        RegisterDeviceNotificationW(reinterpret_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!notification) return false;
    notifications_[window] = NotificationOwner(notification);
    return true;
}

bool Win32HidPort::SetFeature(HidHandle handle, std::span<const uint8_t> report)
{
    // The call takes a writable buffer though it only reads it.
    std::vector<uint8_t> copy(report.begin(), report.end());
    return HidD_SetFeature(AsHandle(handle), copy.data(), static_cast<ULONG>(copy.size())) != FALSE;
}

bool Win32HidPort::GetFeature(HidHandle handle, std::span<uint8_t> report)
{
    return HidD_GetFeature(AsHandle(handle), report.data(), static_cast<ULONG>(report.size())) != FALSE;
}

bool Win32HidPort::ReadInput(HidHandle handle, std::span<uint8_t> report, std::size_t& bytesRead)
{
    bytesRead = 0;
    std::shared_ptr<OpenFile> open;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = handles_.find(handle);
        if (found != handles_.end()) open = found->second;
    }
    if (!open || WaitForSingleObject(readsCancelled_.Get(), 0) == WAIT_OBJECT_0) return false;
    UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return false;
    const HANDLE file = open->file.Get();
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.Get();
    if (!ReadFile(file, report.data(), static_cast<DWORD>(report.size()), nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    const std::array<HANDLE, 3> waits{done.Get(), readsCancelled_.Get(), open->closed.Get()};
    if (WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, INFINITE) != WAIT_OBJECT_0)
        CancelIoEx(file, &overlapped);
    // The read owns the buffer and the OVERLAPPED until it has completed, cancelled or not.
    DWORD read = 0;
    const bool ok = GetOverlappedResult(file, &overlapped, &read, TRUE) != FALSE;
    bytesRead = ok ? read : 0;
    return ok;
}

void Win32HidPort::SetInputReadsCancelled(bool cancelled)
{
    if (cancelled) SetEvent(readsCancelled_.Get());
    else ResetEvent(readsCancelled_.Get());
}

void Win32HidPort::BeginTraffic()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (trafficDepth_++ == 0) fineTimer_.emplace();
}

void Win32HidPort::EndTraffic()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (trafficDepth_ > 0 && --trafficDepth_ == 0) fineTimer_.reset();
}

bool IsOurDeviceBroadcast(const DEV_BROADCAST_HDR* header)
{
    if (!header || header->dbch_size < sizeof(DEV_BROADCAST_HDR)) return false;
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return IsOurDeviceBroadcast(header->dbch_devicetype, u"");
    constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (header->dbch_size < kNameOffset) return false;
    const auto* deviceInterface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    const std::size_t maxChars = (header->dbch_size - kNameOffset) / sizeof(wchar_t);
    return IsOurDeviceBroadcast(header->dbch_devicetype, FromWide(deviceInterface->dbcc_name, wcsnlen(deviceInterface->dbcc_name, maxChars)));
}
