// The simulated mouse as the system shows it to the program: enumeration, opens, attributes and
// capabilities, device-change registration, and the feature and input reports with their log.
#include "sim/simulated_mouse.h"

#include <algorithm>

#include "base/clock.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/device_event_threads.h"
#include "device/device_ids.h"
#include "device/device_memory_map.h"

namespace {

bool IsCommandCollection(const SimulatedCollection& c)
{
    return c.partOfMouse && c.usagePage == kWriteUsagePage && c.usage == kVendorCollectionUsage;
}

bool IsInputCollection(const SimulatedCollection& c)
{
    return c.partOfMouse && c.usagePage == kReadUsagePage && c.usage == kVendorCollectionUsage;
}

}  // namespace

class SimulatedMouse::InterfaceSet : public HidInterfaceSet {
public:
    InterfaceSet(SimulatedMouse& mouse, std::vector<std::u16string> paths) : mouse_(mouse), paths_(std::move(paths)) {}

    bool InterfacePath(uint32_t memberIndex, std::u16string& path) override
    {
        {
            std::lock_guard<std::mutex> lock(mouse_.mutex_);
            mouse_.highestMemberAsked_ = std::max<int64_t>(mouse_.highestMemberAsked_, memberIndex);
        }
        if (memberIndex >= paths_.size()) return false;
        path = paths_[memberIndex];
        return true;
    }

private:
    SimulatedMouse& mouse_;
    std::vector<std::u16string> paths_;  // as the set saw them when it was taken
};

std::unique_ptr<HidInterfaceSet> SimulatedMouse::EnumerateInterfaces()
{
    std::vector<std::u16string> paths;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const SimulatedCollection& c : interfaces_) {
            if (!(unplugged_ && c.partOfMouse)) paths.push_back(c.path);
        }
    }
    return std::make_unique<InterfaceSet>(*this, std::move(paths));
}

HidHandle SimulatedMouse::Open(const std::u16string& path, HidAccess access)
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++openCount_;
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        const SimulatedCollection& c = interfaces_[i];
        if (c.path != path) continue;
        if ((unplugged_ && c.partOfMouse) || c.refusesAnyOpen) return kInvalidHidHandle;
        if (c.refusesDataAccess && access != HidAccess::Probe) return kInvalidHidHandle;
        HidHandle handle = nextHandle_;
        nextHandle_ += 4;
        handles_[handle] = OpenHandle{i, access};
        return handle;
    }
    return kInvalidHidHandle;
}

void SimulatedMouse::Close(HidHandle handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(handle);
    inputArrived_.notify_all();
}

const SimulatedCollection* SimulatedMouse::CollectionOf(HidHandle handle, HidAccess* access) const
{
    auto found = handles_.find(handle);
    if (found == handles_.end() || found->second.collection >= interfaces_.size()) return nullptr;
    const SimulatedCollection& c = interfaces_[found->second.collection];
    if (unplugged_ && c.partOfMouse) return nullptr;
    if (access) *access = found->second.access;
    return &c;
}

bool SimulatedMouse::GetAttributes(HidHandle handle, HidAttributes& attributes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const SimulatedCollection* c = CollectionOf(handle, nullptr);
    if (!c) return false;
    attributes = HidAttributes{c->vendorId, c->productId, 0x0100};
    return true;
}

bool SimulatedMouse::GetCaps(HidHandle handle, HidCaps& caps)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const SimulatedCollection* c = CollectionOf(handle, nullptr);
    if (!c) return false;
    caps = HidCaps{c->usage, c->usagePage, c->inputReportLength, c->outputReportLength, c->featureReportLength};
    return true;
}

bool SimulatedMouse::RegisterDeviceNotifications(WindowHandleValue window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++registrationCalls_;
    if (std::find(registrations_.begin(), registrations_.end(), window) == registrations_.end()) registrations_.push_back(window);
    return true;
}

void SimulatedMouse::Record(ReportDirection direction, std::span<const uint8_t> bytes, const std::u16string& path)
{
    log_.push_back(LoggedReport{GetClock().NowMs(), direction, std::vector<uint8_t>(bytes.begin(), bytes.end()), path});
}

void SimulatedMouse::Refuse(ReportDirection direction, std::span<const uint8_t> bytes)
{
    refused_.push_back(LoggedReport{GetClock().NowMs(), direction, std::vector<uint8_t>(bytes.begin(), bytes.end()), {}});
}

bool SimulatedMouse::SetFeature(HidHandle handle, std::span<const uint8_t> report)
{
    std::lock_guard<std::mutex> lock(mutex_);
    HidAccess access = HidAccess::Probe;
    const SimulatedCollection* c = CollectionOf(handle, &access);
    // As the system does: the report must be exactly the collection's feature length.
    if (!c || silent_ || access != HidAccess::Write || c->featureReportLength == 0 ||
        report.size() != c->featureReportLength) {
        Refuse(ReportDirection::SetFeature, report);
        return false;
    }
    Record(ReportDirection::SetFeature, report, c->path);
    if (IsCommandCollection(*c) && report.size() >= kDeviceCommandLength && report[0] == kDeviceReportId) {
        HandleCommand(report);
    }
    return true;
}

bool SimulatedMouse::GetFeature(HidHandle handle, std::span<uint8_t> report)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const SimulatedCollection* c = CollectionOf(handle, nullptr);
    if (!c || silent_ || c->featureReportLength == 0 || report.size() != c->featureReportLength || !IsCommandCollection(*c) ||
        report.size() < kDeviceCommandLength || report[0] != kDeviceReportId) {
        Refuse(ReportDirection::GetFeature, report);
        return false;
    }
    // A status request in the middle of a write run is another thread's report landing inside it.
    if (run_ == RunKind::Write) InterruptRun();
    report[0] = kDeviceReportId;
    report[1] = replyByte_;
    for (std::size_t i = 2; i < report.size(); ++i) report[i] = i < statusBytes_.size() ? statusBytes_[i] : 0;
    report[6] = static_cast<uint8_t>((statusBytes_[6] & ~0x0Cu) | (activeProfile_ << 2));
    report[7] = static_cast<uint8_t>((statusBytes_[7] & 0xF0u) | optionNibble_);
    Record(ReportDirection::GetFeature, report, c->path);
    return true;
}

bool SimulatedMouse::ReadInput(HidHandle handle, std::span<uint8_t> report, std::size_t& bytesRead)
{
    std::unique_lock<std::mutex> lock(mutex_);
    bytesRead = 0;
    HidAccess access = HidAccess::Probe;
    const SimulatedCollection* c = CollectionOf(handle, &access);
    if (!c || access != HidAccess::Read || c->inputReportLength == 0 || report.size() < c->inputReportLength ||
        !IsInputCollection(*c)) {
        Refuse(ReportDirection::InputRead, report);
        return false;
    }
    inputArrived_.wait(lock, [&] {
        return !inputQueue_.empty() || unplugged_ || readsCancelled_ || handles_.count(handle) == 0;
    });
    c = CollectionOf(handle, nullptr);
    if (!c || inputQueue_.empty() || readsCancelled_) return false;
    std::vector<uint8_t> next = std::move(inputQueue_.front());
    inputQueue_.pop_front();
    std::size_t length = c->inputReportLength;
    next.resize(length, 0);
    std::copy(next.begin(), next.end(), report.begin());
    bytesRead = length;
    Record(ReportDirection::InputRead, next, c->path);
    return true;
}

void SimulatedMouse::SetInputReadsCancelled(bool cancelled)
{
    std::lock_guard<std::mutex> lock(mutex_);
    readsCancelled_ = cancelled;
    inputArrived_.notify_all();
}
