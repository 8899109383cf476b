#include "sim/simulated_mouse.h"

#include <algorithm>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/device_event_threads.h"
#include "device/device_ids.h"
#include "device/device_memory_map.h"

namespace {

std::u16string Hex4(uint16_t value)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
    return text;
}

// Shaped like the paths the system gives HID collections, so case and length look real.
std::u16string CollectionPath(uint16_t vendorId, uint16_t productId, int collection, const std::u16string& instance)
{
    return u"\\\\?\\hid#vid_" + Hex4(vendorId) + u"&pid_" + Hex4(productId) + u"&mi_01&col0" +
           std::u16string(1, static_cast<char16_t>(u'0' + collection)) + u"#" + instance + u"&000" +
           std::u16string(1, static_cast<char16_t>(u'0' + collection - 1)) +
           u"#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

}  // namespace

std::vector<SimulatedCollection> SimulatedMouse::MouseCollections(uint16_t vendorId, uint16_t productId,
                                                                  const std::u16string& instance)
{
    auto collection = [&](int number, uint16_t usagePage, uint16_t usage) {
        SimulatedCollection c;
        c.path = CollectionPath(vendorId, productId, number, instance);
        c.vendorId = vendorId;
        c.productId = productId;
        c.usagePage = usagePage;
        c.usage = usage;
        c.partOfMouse = true;
        return c;
    };
    SimulatedCollection pointer = collection(1, 0x0001, 0x0002);
    pointer.inputReportLength = 7;
    pointer.refusesDataAccess = true;
    SimulatedCollection input = collection(2, kReadUsagePage, kVendorCollectionUsage);
    input.inputReportLength = kDefaultInputLength;
    SimulatedCollection other = collection(3, kReadUsagePage, 2);
    other.inputReportLength = 16;
    SimulatedCollection command = collection(4, kWriteUsagePage, kVendorCollectionUsage);
    command.featureReportLength = kDefaultFeatureLength;
    return {pointer, input, other, command};
}

SimulatedCollection SimulatedMouse::DecoyKeyboard(const std::u16string& path)
{
    SimulatedCollection keyboard;
    keyboard.path = path;
    keyboard.vendorId = 0x4B1D;
    keyboard.productId = 0x0101;
    keyboard.usagePage = 0x0001;
    keyboard.usage = 0x0006;
    keyboard.inputReportLength = 9;
    keyboard.outputReportLength = 2;
    keyboard.refusesDataAccess = true;
    return keyboard;
}

SimulatedMouse::SimulatedMouse() : memory_(kDeviceMemorySize, 0)
{
    interfaces_.push_back(DecoyKeyboard(u"\\\\?\\hid#vid_4b1d&pid_0101#6&2c3d4e5f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}"));
    for (SimulatedCollection& c : MouseCollections(static_cast<uint16_t>(kKestraDeviceIds[0].vendorId),
                                                   static_cast<uint16_t>(kKestraDeviceIds[0].productId), u"7&1a2b3c4d&0")) {
        interfaces_.push_back(std::move(c));
    }
}

SimulatedMouse::SimulatedMouse(std::vector<SimulatedCollection> interfaces)
    : interfaces_(std::move(interfaces)), memory_(kDeviceMemorySize, 0)
{
}

SimulatedMouse::~SimulatedMouse()
{
    std::lock_guard<std::mutex> lock(mutex_);
    unplugged_ = true;
    inputArrived_.notify_all();
}

void SimulatedMouse::SetInterfaces(std::vector<SimulatedCollection> interfaces)
{
    std::lock_guard<std::mutex> lock(mutex_);
    interfaces_ = std::move(interfaces);
    handles_.clear();
    inputArrived_.notify_all();
}

std::vector<SimulatedCollection> SimulatedMouse::Interfaces() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return interfaces_;
}

void SimulatedMouse::SetDeviceChangeSink(DeviceChangeSink* sink)
{
    std::lock_guard<std::recursive_mutex> plug(plugMutex_);
    std::lock_guard<std::mutex> lock(mutex_);
    sink_ = sink;
}

void SimulatedMouse::Unplug()
{
    std::lock_guard<std::recursive_mutex> plug(plugMutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (unplugged_) return;
        unplugged_ = true;
        // A pulled device takes its handles with it: they stay dead after it comes back.
        for (auto it = handles_.begin(); it != handles_.end();) {
            const std::size_t c = it->second.collection;
            it = c < interfaces_.size() && interfaces_[c].partOfMouse ? handles_.erase(it) : std::next(it);
        }
        inputQueue_.clear();
        run_ = RunKind::None;
        stagedSet_.fill(false);
        inputArrived_.notify_all();
    }
    Announce(DeviceChange::RemoveComplete);
}

void SimulatedMouse::PlugIn()
{
    std::lock_guard<std::recursive_mutex> plug(plugMutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!unplugged_) return;
        unplugged_ = false;
    }
    Announce(DeviceChange::Arrival);
}

bool SimulatedMouse::IsPluggedIn() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return !unplugged_;
}

std::vector<DeviceChangeNotice> SimulatedMouse::Notifications() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_;
}

// Called with plugMutex_ held and mutex_ free, so the sink may call back into the mouse.
void SimulatedMouse::Announce(DeviceChange change)
{
    std::vector<DeviceChangeNotice> notices;
    DeviceChangeSink* sink = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const SimulatedCollection& c : interfaces_) {
            if (!c.partOfMouse) continue;
            for (WindowHandleValue window : registrations_) notices.push_back(DeviceChangeNotice{window, change, c.path});
        }
        notices_.insert(notices_.end(), notices.begin(), notices.end());
        sink = sink_;
    }
    if (!sink) return;
    for (const DeviceChangeNotice& notice : notices) sink->DeviceInterfaceChanged(notice);
}

uint8_t SimulatedMouse::MemoryAt(uint16_t address) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return memory_[address];
}

std::vector<uint8_t> SimulatedMouse::MemoryRange(uint16_t address, std::size_t count) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < count; ++i) bytes.push_back(memory_[(address + i) & 0xFFFF]);
    return bytes;
}

void SimulatedMouse::SetMemory(uint16_t address, const std::vector<uint8_t>& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t i = 0; i < bytes.size(); ++i) memory_[(address + i) & 0xFFFF] = bytes[i];
}

void SimulatedMouse::SetActiveProfile(int profile)
{
    std::lock_guard<std::mutex> lock(mutex_);
    activeProfile_ = profile & 3;
}

int SimulatedMouse::ActiveProfile() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activeProfile_;
}

void SimulatedMouse::SetDpiLevel(int level)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dpiLevel_ = level & 0x3F;
}

int SimulatedMouse::DpiLevel() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dpiLevel_;
}

void SimulatedMouse::SetOptionNibble(uint8_t nibble)
{
    std::lock_guard<std::mutex> lock(mutex_);
    optionNibble_ = nibble & 0x0F;
}

void SimulatedMouse::SetStatusBytes(std::size_t first, const std::vector<uint8_t>& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t index = first + i;
        const uint8_t value = bytes[i];
        if (index == 0 || index >= statusBytes_.size()) continue;
        if (index == 1) replyByte_ = value;
        if (index == 6) activeProfile_ = (value >> 2) & 3;
        if (index == 7) optionNibble_ = value & 0x0F;
        statusBytes_[index] = value;
    }
}

bool SimulatedMouse::QueueInputReport(const std::vector<uint8_t>& report)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (unplugged_) return false;
    inputQueue_.push_back(report);
    inputArrived_.notify_all();
    return true;
}

std::size_t SimulatedMouse::PendingInputReports() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return inputQueue_.size();
}

std::vector<LoggedReport> SimulatedMouse::Log() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

std::vector<std::vector<uint8_t>> SimulatedMouse::SentReports() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::vector<uint8_t>> sent;
    for (const LoggedReport& entry : log_) {
        if (entry.direction == ReportDirection::SetFeature) sent.push_back(entry.bytes);
    }
    return sent;
}

std::vector<LoggedReport> SimulatedMouse::RefusedCalls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return refused_;
}

void SimulatedMouse::ClearLog()
{
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
    refused_.clear();
}

int SimulatedMouse::ApplyCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return applyCount_;
}

int SimulatedMouse::ExitCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return exitCount_;
}

bool SimulatedMouse::FireKeyActive() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return fireKeyActive_;
}

std::vector<uint16_t> SimulatedMouse::ConsumerKeys() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return consumerKeys_;
}

int SimulatedMouse::InterruptedRuns() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return interruptedRuns_;
}

int SimulatedMouse::CommitsWithoutStaging() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return commitsWithoutStaging_;
}

int64_t SimulatedMouse::HighestMemberAsked() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return highestMemberAsked_;
}

int SimulatedMouse::OpenCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return openCount_;
}

std::size_t SimulatedMouse::OpenHandleCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return handles_.size();
}

std::vector<WindowHandleValue> SimulatedMouse::Registrations() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return registrations_;
}

int SimulatedMouse::RegistrationCalls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return registrationCalls_;
}

void SimulatedMouse::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}
