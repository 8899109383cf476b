#include "device/win32_system_parameters.h"

#include <windows.h>

bool Win32SystemParameters::GetMouseSpeed(uint32_t& speed)
{
    UINT value = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &value, 0)) return false;
    speed = value;
    return true;
}

bool Win32SystemParameters::SetMouseSpeed(uint32_t speed, uint32_t updateFlags)
{
    // The speed travels in the pointer argument itself.
    return SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(speed)),
                                 updateFlags) != FALSE;
}

bool Win32SystemParameters::GetWheelScrollLines(uint32_t& lines)
{
    UINT value = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &value, 0)) return false;
    lines = value;
    return true;
}

bool Win32SystemParameters::SetWheelScrollLines(uint32_t lines, uint32_t updateFlags)
{
    return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, updateFlags) != FALSE;
}
