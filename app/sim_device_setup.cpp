#include "app/sim_device_setup.h"

#include "device/hid_port.h"
#include "device/simulated_mouse.h"

struct SimDeviceSetup::State {
    SimulatedMouse mouse;
    ScopedHidPort port{mouse};
};

SimDeviceSetup::SimDeviceSetup() : state_(std::make_unique<State>()) {}

SimDeviceSetup::~SimDeviceSetup() = default;
