#include "device/hid_port.h"

#include <atomic>

namespace {

class NoHidPort : public HidPort {
    class EmptySet : public HidInterfaceSet {
    public:
        bool InterfacePath(uint32_t, std::u16string&) override { return false; }
    };

public:
    std::unique_ptr<HidInterfaceSet> EnumerateInterfaces() override { return std::make_unique<EmptySet>(); }
    HidHandle Open(const std::u16string&, HidAccess) override { return kInvalidHidHandle; }
    void Close(HidHandle) override {}
    bool GetAttributes(HidHandle, HidAttributes&) override { return false; }
    bool GetCaps(HidHandle, HidCaps&) override { return false; }
    bool RegisterDeviceNotifications(WindowHandleValue) override { return false; }
    bool SetFeature(HidHandle, std::span<const uint8_t>) override { return false; }
    bool GetFeature(HidHandle, std::span<uint8_t>) override { return false; }
    bool ReadInput(HidHandle, std::span<uint8_t>, std::size_t& bytesRead) override
    {
        bytesRead = 0;
        return false;
    }
};

NoHidPort g_noHidPort;
std::atomic<HidPort*> g_hidPort{nullptr};

}  // namespace

HidPort& GetHidPort()
{
    HidPort* port = g_hidPort.load();
    return port ? *port : g_noHidPort;
}

void SetHidPort(HidPort* port) { g_hidPort.store(port); }

ScopedHidPort::ScopedHidPort(HidPort& port) : previous_(g_hidPort.load()) { SetHidPort(&port); }
ScopedHidPort::~ScopedHidPort() { SetHidPort(previous_); }
