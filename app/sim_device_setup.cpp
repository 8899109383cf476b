#include "app/sim_device_setup.h"

#include "app/win32_control_server.h"
#include "app/win32_device_change_sink.h"
#include "device/hid_port.h"
#include "device/simulated_mouse.h"

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
