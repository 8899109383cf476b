// Entry point of TEV_Kestra.exe: the program on the real HID devices.
#include <windows.h>

#include "app/tev_kestra_app.h"
#include "device/win32_hid_port.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Win32HidPort port;
    ScopedHidPort portScope(port);
    CTEV_KestraApp app;
    return app.Run();
}
