#pragma once
// The demo's mouse: a simulated mouse installed as the HID port for as long as this object lives,
// with the control channel (sim/control_command.h) when KESTRA_CONTROL_PORT names a port.
#include <memory>

class SimDeviceSetup {
public:
    SimDeviceSetup();
    ~SimDeviceSetup();
    SimDeviceSetup(const SimDeviceSetup&) = delete;
    SimDeviceSetup& operator=(const SimDeviceSetup&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};
