#include "sim/win32_device_change_sink.h"

#include <windows.h>
#include <dbt.h>

#include <cstddef>
#include <vector>

namespace {
// The HID device-interface class.
constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
// A window that does not answer within this time is left behind rather than the mouse.
constexpr UINT kAnswerTimeoutMs = 10'000;
}  // namespace

void Win32DeviceChangeSink::DeviceInterfaceChanged(const DeviceChangeNotice& notice)
{
    constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const std::size_t size = kNameOffset + (notice.interfacePath.size() + 1) * sizeof(wchar_t);
    std::vector<std::byte> buffer(size);
    auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    broadcast->dbcc_size = static_cast<DWORD>(size);
    broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    broadcast->dbcc_classguid = kHidInterfaceClass;
    wchar_t* name = broadcast->dbcc_name;
    for (char16_t c : notice.interfacePath) *name++ = static_cast<wchar_t>(c);
    *name = L'\0';

    const WPARAM event = notice.change == DeviceChange::Arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(reinterpret_cast<HWND>(notice.window), WM_DEVICECHANGE, event,
                        reinterpret_cast<LPARAM>(broadcast), SMTO_NORMAL, kAnswerTimeoutMs, &result);
}
