#include "device/command_protocol.h"

#include <algorithm>

#include "base/clock.h"
#include "device/device_discovery.h"
#include "device/hid_port.h"

std::mutex g_deviceReportMutex;
std::array<uint8_t, kFeatureBufferSize> g_featureBuffer{};

namespace {

// The write handle the last fire start went to, until a stop goes there: the mouse fires
// meanwhile. Guarded by g_deviceReportMutex.
HidHandle g_firingHandle = kNoHidHandle;

// Pacing of the memory runs, in milliseconds.
constexpr uint32_t kBeforeCommitMs = 10;
constexpr uint32_t kBeforeEndMs = 5;
constexpr uint32_t kPerStagedZeroMs = 2;
constexpr uint32_t kBeforeReplyMs = 2;
constexpr uint32_t kBeforeApplyEndMs = 10;

// One paced sequence on the write collection: holds the report lock and lets the port tune the
// system for millisecond sleeps for as long as the sequence lasts.
class TrafficScope {
public:
    TrafficScope() : lock_(g_deviceReportMutex) {}
    HidPort& Port() { return traffic_.Port(); }

private:
    std::lock_guard<std::mutex> lock_;
    ScopedDeviceTraffic traffic_;
};

// The collection's feature length. A length that cannot hold a whole command, or that the
// buffer cannot hold (the system would refuse a shorter report anyway), sends nothing.
std::size_t FeatureLength()
{
    const std::size_t length = g_writeCaps.featureReportByteLength;
    return length <= g_featureBuffer.size() ? length : 0;
}

bool SendLocked(HidPort& port, const DeviceCommandReport& report)
{
    std::copy(report.bytes.begin(), report.bytes.end(), g_featureBuffer.begin());
    HidHandle handle = g_hidWriteHandle.load();
    std::size_t length = FeatureLength();
    if (!IsOpenHidHandle(handle) || length < kDeviceCommandLength) return false;
    return port.SetFeature(handle, std::span<const uint8_t>(g_featureBuffer).first(length));
}

bool GetReplyLocked(HidPort& port)
{
    g_featureBuffer[0] = kDeviceReportId;
    HidHandle handle = g_hidWriteHandle.load();
    std::size_t length = FeatureLength();
    if (!IsOpenHidHandle(handle) || length < kDeviceCommandLength) return false;
    return port.GetFeature(handle, std::span<uint8_t>(g_featureBuffer).first(length));
}

bool IsValidRun(int32_t address, std::size_t count)
{
    return address >= 0 && count >= 1 && count <= static_cast<std::size_t>(kMaxRunLength) &&
           static_cast<int64_t>(address) + static_cast<int64_t>(count) <= kDeviceMemorySize;
}

DeviceCommandReport MemoryReport(MemoryOp op, std::size_t index, int32_t address, uint8_t data, std::size_t count)
{
    return DeviceCommandReport::Memory(op, static_cast<uint8_t>(index), static_cast<uint16_t>(address), data,
                                       static_cast<uint8_t>(count - 1));
}

DeviceCommandReport EndReport(int32_t address) { return DeviceCommandReport::Memory(MemoryOp::End, 0, static_cast<uint16_t>(address), 0, 0); }

bool SendZeroWriteRunLocked(HidPort& port, int32_t address, std::size_t count)
{
    bool ok = true;
    for (std::size_t i = 0; i < count; ++i) {
        ok &= SendLocked(port, MemoryReport(MemoryOp::WriteByte, i, address, 0, count));
        GetClock().SleepMs(kPerStagedZeroMs);
    }
    GetClock().SleepMs(kBeforeEndMs);
    ok &= SendLocked(port, EndReport(address));
    return ok;
}

bool SendSingleReport(const DeviceCommandReport& report)
{
    TrafficScope traffic;
    return SendLocked(traffic.Port(), report);
}

}  // namespace

DeviceCommandReport DeviceCommandReport::Memory(MemoryOp op, uint8_t index, uint16_t address, uint8_t data, uint8_t lengthByte)
{
    return {{kDeviceReportId, static_cast<uint8_t>(DeviceCommand::MemoryAccess), static_cast<uint8_t>(op), index,
             static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8), data, lengthByte}};
}

DeviceCommandReport DeviceCommandReport::FireKey(bool start)
{
    return {{kDeviceReportId, static_cast<uint8_t>(DeviceCommand::FireKey), start ? kFireKeyStart : kFireKeyStop, 0, 0, 0, 0, 0}};
}

DeviceCommandReport DeviceCommandReport::ConsumerKey(uint16_t usage)
{
    return {{kDeviceReportId, static_cast<uint8_t>(DeviceCommand::ConsumerKey), static_cast<uint8_t>(usage >> 8),
             static_cast<uint8_t>(usage & 0xFF), 0, 0, 0, 0}};
}

DeviceCommandReport DeviceCommandReport::DriverExit()
{
    return {{kDeviceReportId, static_cast<uint8_t>(DeviceCommand::DriverExit), 0, 0, 0, 0, 0, 0}};
}

bool WriteDeviceMemory(int32_t address, std::span<const uint8_t> data)
{
    if (!IsValidRun(address, data.size())) return false;
    TrafficScope traffic;
    HidPort& port = traffic.Port();
    bool ok = true;
    for (std::size_t i = 0; i < data.size(); ++i) {
        ok &= SendLocked(port, MemoryReport(MemoryOp::WriteByte, i, address, data[i], data.size()));
    }
    GetClock().SleepMs(kBeforeCommitMs);
    ok &= SendLocked(port, MemoryReport(MemoryOp::CommitRun, 0, address, 0, data.size()));
    GetClock().SleepMs(kBeforeEndMs);
    ok &= SendLocked(port, EndReport(address));
    return ok;
}

bool SendZeroWriteRun(int32_t address, int32_t count)
{
    if (count < 0 || !IsValidRun(address, static_cast<std::size_t>(count))) return false;
    TrafficScope traffic;
    return SendZeroWriteRunLocked(traffic.Port(), address, static_cast<std::size_t>(count));
}

bool ReadDeviceMemory(int32_t address, std::span<uint8_t> out)
{
    if (!IsValidRun(address, out.size())) return false;
    TrafficScope traffic;
    HidPort& port = traffic.Port();
    bool ok = SendZeroWriteRunLocked(port, address, out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        ok &= SendLocked(port, MemoryReport(MemoryOp::ReadByte, i, address, 0, out.size()));
        GetClock().SleepMs(kBeforeReplyMs);
        // Without a reply byte 1 still holds the request's command byte; that is no memory value.
        bool answered = GetReplyLocked(port);
        out[i] = answered ? g_featureBuffer[1] : 0;
        ok &= answered;
    }
    GetClock().SleepMs(kBeforeEndMs);
    ok &= SendLocked(port, EndReport(0));
    return ok;
}

bool SendFireKey(bool start)
{
    TrafficScope traffic;
    const HidHandle handle = g_hidWriteHandle.load();
    const bool sent = SendLocked(traffic.Port(), DeviceCommandReport::FireKey(start));
    if (sent) g_firingHandle = start ? handle : kNoHidHandle;
    return sent;
}

bool StopFireKeyLeftRunning()
{
    TrafficScope traffic;
    // A mouse found again since the start has a new handle and is not firing.
    if (!IsOpenHidHandle(g_firingHandle) || g_firingHandle != g_hidWriteHandle.load()) return false;
    const bool sent = SendLocked(traffic.Port(), DeviceCommandReport::FireKey(false));
    if (sent) g_firingHandle = kNoHidHandle;
    return sent;
}

void ForgetFireKeyLocked() { g_firingHandle = kNoHidHandle; }

bool SendConsumerKey(uint16_t usage) { return SendSingleReport(DeviceCommandReport::ConsumerKey(usage)); }

bool SendDriverExit()
{
    TrafficScope traffic;
    if (!IsOpenHidHandle(g_hidWriteHandle.load())) return false;
    return SendLocked(traffic.Port(), DeviceCommandReport::DriverExit());
}

bool SendApplyAll()
{
    TrafficScope traffic;
    HidPort& port = traffic.Port();
    bool ok = SendLocked(port, DeviceCommandReport::Memory(MemoryOp::ApplyAll, 0, 0, 0, 0));
    GetClock().SleepMs(kBeforeApplyEndMs);
    ok &= SendLocked(port, EndReport(0));
    return ok;
}

std::optional<DeviceStatusReport> ReadDeviceStatus()
{
    TrafficScope traffic;
    if (!GetReplyLocked(traffic.Port())) return std::nullopt;
    DeviceStatusReport status;
    std::copy_n(g_featureBuffer.begin(), status.bytes.size(), status.bytes.begin());
    return status;
}
