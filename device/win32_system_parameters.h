#pragma once
// The pointer speed and wheel scroll lines of the running Windows session.
#include "device/system_parameters.h"

class Win32SystemParameters : public SystemParameters {
public:
    bool GetMouseSpeed(uint32_t& speed) override;
    bool SetMouseSpeed(uint32_t speed, uint32_t updateFlags) override;
    bool GetWheelScrollLines(uint32_t& lines) override;
    bool SetWheelScrollLines(uint32_t lines, uint32_t updateFlags) override;
};
