#pragma once
// Hands the simulated mouse's plug changes to the registered window as the system does:
// WM_DEVICECHANGE with DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE and a device-interface
// broadcast naming the collection's path. Sent, not posted: the broadcast is a pointer.
#include "sim/simulated_mouse.h"

class Win32DeviceChangeSink : public DeviceChangeSink {
public:
    void DeviceInterfaceChanged(const DeviceChangeNotice& notice) override;
};
