#include "device/device_threads.h"

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_event_threads.h"
#include "device/hid_port.h"

void DeviceThreads::Start(FilesSourceFactory makeFiles, ThreadStart onStart)
{
    if (Running()) return;
    makeFiles_ = std::move(makeFiles);
    onStart_ = std::move(onStart);
    stop_ = false;
    input_ = std::thread([this] { DeviceInputThread(); });
    buttonAction_ = std::thread([this] { ButtonActionThread(); });
}

void DeviceThreads::DeviceInputThread() { Run(DeviceThreadKind::Input, DeviceInputTurn); }

void DeviceThreads::ButtonActionThread() { Run(DeviceThreadKind::ButtonAction, ButtonActionTurn); }

void DeviceThreads::Stop()
{
    if (!Running()) return;
    stop_ = true;
    HidPort& port = GetHidPort();
    port.SetInputReadsCancelled(true);
    // A start that failed at the second thread (the system had none left) left only the first.
    if (input_.joinable()) input_.join();
    if (buttonAction_.joinable()) buttonAction_.join();
    port.SetInputReadsCancelled(false);
}

void DeviceThreads::StopAndEndFiring()
{
    if (!Running()) return;
    Stop();
    StopFireKeyLeftRunning();
    ClearButtonReports();
}

void DeviceThreads::Run(DeviceThreadKind kind, void (*turn)(DeviceLinkFilesSource&))
{
    try {
        if (onStart_) onStart_(kind);
    } catch (...) {
    }
    std::unique_ptr<DeviceLinkFilesSource> files;
    while (!stop_) {
        try {
            if (!files) files = makeFiles_();
            turn(*files);
        } catch (...) {
            GetClock().SleepMs(2);
        }
    }
}
