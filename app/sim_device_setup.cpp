#include "app/sim_device_setup.h"

#include "device/hid_port.h"
#include "sim/simulated_mouse.h"
#include "sim/win32_control_server.h"
#include "sim/win32_device_change_sink.h"

struct SimDeviceSetup::State {
    SimulatedMouse mouse;
    Win32DeviceChangeSink sink;
    ScopedHidPort port{mouse};
    // Started last and stopped first: it drives the mouse.
    std::unique_ptr<Win32ControlServer> control;
};

SimDeviceSetup::SimDeviceSetup() : state_(std::make_unique<State>())
{
    state_->mouse.SetDeviceChangeSink(&state_->sink);
    state_->control = Win32ControlServer::StartFromEnvironment(state_->mouse);
}

SimDeviceSetup::~SimDeviceSetup() = default;
