#pragma once
// Everything the device link does with HID devices goes through HidPort, so that the real Windows
// HID stack (Win32HidPort) and the simulated mouse are interchangeable. The interface is
// platform-free: handles are opaque values, paths are UTF-16 texts.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// A handle keeps the platform's own bits. 0 means "never opened"; all bits set is what a failed
// open leaves (the platform's invalid-handle value).
using HidHandle = std::uintptr_t;
inline constexpr HidHandle kNoHidHandle = 0;
inline constexpr HidHandle kInvalidHidHandle = ~HidHandle{0};
inline bool IsOpenHidHandle(HidHandle handle) { return handle != kNoHidHandle && handle != kInvalidHidHandle; }

// A window handle, as the device-change registration needs it.
using WindowHandleValue = std::uintptr_t;

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// The fields of the platform's collection capabilities that the program uses.
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;

    bool operator==(const HidCaps&) const = default;
};

// Probe opens ask for neither read nor write access: that is allowed even on collections the
// system keeps for itself (keyboards, mice), so attributes and capabilities can be read.
enum class HidAccess { Probe, Read, Write };

// The present HID device interfaces, as one enumeration saw them; released when destroyed.
class HidInterfaceSet {
public:
    virtual ~HidInterfaceSet() = default;
    // False when memberIndex is past the end of the set or the path cannot be read.
    virtual bool InterfacePath(uint32_t memberIndex, std::u16string& path) = 0;
};

class HidPort {
public:
    virtual ~HidPort() = default;

    virtual std::unique_ptr<HidInterfaceSet> EnumerateInterfaces() = 0;
    // Returns kInvalidHidHandle when the open fails.
    virtual HidHandle Open(const std::u16string& path, HidAccess access) = 0;
    virtual void Close(HidHandle handle) = 0;
    virtual bool GetAttributes(HidHandle handle, HidAttributes& attributes) = 0;
    virtual bool GetCaps(HidHandle handle, HidCaps& caps) = 0;
    // Asks for device-interface arrival and removal notifications of the whole HID class.
    virtual bool RegisterDeviceNotifications(WindowHandleValue window) = 0;

    // The report's length is the collection's feature report length; byte 0 is the report id.
    virtual bool SetFeature(HidHandle handle, std::span<const uint8_t> report) = 0;
    virtual bool GetFeature(HidHandle handle, std::span<uint8_t> report) = 0;
    // Waits until the collection delivers an input report. Closing the handle from another thread
    // ends a waiting read (failed); the handle itself stays valid until the read has returned.
    virtual bool ReadInput(HidHandle handle, std::span<uint8_t> report, std::size_t& bytesRead) = 0;
    // While set, every input read, the waiting ones and any started later, fails at once: how the
    // input thread is stopped. A port whose reads never wait has nothing to cancel.
    virtual void SetInputReadsCancelled(bool /*cancelled*/) {}

    // Bracket paced device traffic; brackets nest. The Windows port raises the system timer
    // resolution in between so that the protocol's millisecond sleeps last what they say.
    virtual void BeginTraffic() {}
    virtual void EndTraffic() {}
};

// The port everything uses. Without one set, a port with no devices answers (every call fails).
HidPort& GetHidPort();
void SetHidPort(HidPort* port);

// Holds the port's traffic bracket for a scope. Every memory run and single report takes one; a
// caller sending many runs in a row (the apply) can hold one around them all.
class ScopedDeviceTraffic {
public:
    ScopedDeviceTraffic() : port_(GetHidPort()) { port_.BeginTraffic(); }
    ~ScopedDeviceTraffic() { port_.EndTraffic(); }
    ScopedDeviceTraffic(const ScopedDeviceTraffic&) = delete;
    ScopedDeviceTraffic& operator=(const ScopedDeviceTraffic&) = delete;

    HidPort& Port() { return port_; }

private:
    HidPort& port_;
};

// Installs a port for one scope and puts the previous one back.
class ScopedHidPort {
public:
    explicit ScopedHidPort(HidPort& port);
    ~ScopedHidPort();
    ScopedHidPort(const ScopedHidPort&) = delete;
    ScopedHidPort& operator=(const ScopedHidPort&) = delete;

private:
    HidPort* previous_;
};
