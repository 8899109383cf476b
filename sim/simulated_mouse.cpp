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

// --- The mouse's own actions

bool SimulatedMouse::QueueMouseReport(uint8_t event, uint8_t state)
{
    if (unplugged_) return false;
    inputQueue_.push_back({kInputReportId, event, state});
    inputArrived_.notify_all();
    return true;
}

namespace {

// The next level whose enable bit is set, looking from `level` in steps of `direction`.
int NextEnabledLevel(int level, uint8_t enableMask, int direction, bool wrap)
{
    constexpr int kLevels = 6;
    for (int step = 1; step < kLevels + (wrap ? 0 : 1); ++step) {
        int candidate = level + direction * step;
        if (wrap) candidate = (candidate % kLevels + kLevels) % kLevels;
        if (candidate < 0 || candidate >= kLevels) break;
        if (enableMask & (1u << candidate)) return candidate;
    }
    return level;
}

}  // namespace

void SimulatedMouse::CarryOutButtonFunction(int button)
{
    const uint8_t code = memory_[DeviceMemoryMap::SlotByteAddress(activeProfile_, button)] & 0x1F;
    const uint8_t enabled = memory_[DeviceMemoryMap::DpiEnableByte] & 0x3F;
    switch (code) {
    case DeviceButtonCode::DpiFunction:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, +1, true);
        break;
    case DeviceButtonCode::DpiUp:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, +1, false);
        break;
    case DeviceButtonCode::DpiDown:
        dpiLevel_ = NextEnabledLevel(dpiLevel_, enabled, -1, false);
        break;
    case DeviceButtonCode::FirstProfileFunction:
        activeProfile_ = (activeProfile_ + 1) & 3;
        break;
    default:
        if (code > DeviceButtonCode::FirstProfileFunction && code <= DeviceButtonCode::FirstProfileFunction + 4) {
            activeProfile_ = code - DeviceButtonCode::FirstProfileFunction - 1;
        }
        break;
    }
}

bool SimulatedMouse::PressButton(int button)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (unplugged_ || button < 0 || button >= kButtons) return false;
    CarryOutButtonFunction(button);
    return QueueMouseReport(static_cast<uint8_t>(DeviceInputEvent::FirstButton + button),
                            static_cast<uint8_t>(kButtonPressedBit | (dpiLevel_ & 0x3F)));
}

bool SimulatedMouse::ReleaseButton(int button)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (button < 0 || button >= kButtons) return false;
    return QueueMouseReport(static_cast<uint8_t>(DeviceInputEvent::FirstButton + button), static_cast<uint8_t>(dpiLevel_ & 0x3F));
}

bool SimulatedMouse::SwitchProfile(int profile)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (unplugged_) return false;
    activeProfile_ = profile & 3;
    return QueueMouseReport(DeviceInputEvent::ProfileSwitched, 0);
}

bool SimulatedMouse::StepMacro(bool up)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return QueueMouseReport(up ? DeviceInputEvent::StepUp : DeviceInputEvent::StepDown, 0);
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

// --- HidPort

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

void SimulatedMouse::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
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

// --- The mouse's side of report 7

void SimulatedMouse::InterruptRun()
{
    ++interruptedRuns_;
    run_ = RunKind::None;
    stagedSet_.fill(false);
}

void SimulatedMouse::HandleCommand(std::span<const uint8_t> report)
{
    auto command = static_cast<DeviceCommand>(report[1]);
    if (command == DeviceCommand::MemoryAccess) {
        HandleMemoryAccess(report);
        return;
    }
    if (run_ != RunKind::None) InterruptRun();
    switch (command) {
    case DeviceCommand::FireKey:
        fireKeyActive_ = report[2] == kFireKeyStart;
        break;
    case DeviceCommand::ConsumerKey:
        consumerKeys_.push_back(static_cast<uint16_t>((report[2] << 8) | report[3]));
        break;
    case DeviceCommand::DriverExit:
        ++exitCount_;
        break;
    default:
        break;
    }
}

void SimulatedMouse::HandleMemoryAccess(std::span<const uint8_t> report)
{
    const auto op = static_cast<MemoryOp>(report[2]);
    const uint8_t index = report[3];
    const auto address = static_cast<uint16_t>(report[4] | (report[5] << 8));
    const uint8_t data = report[6];
    const uint8_t lengthByte = report[7];
    const bool sameRun = address == runAddress_ && lengthByte == runLengthByte_;

    auto openRun = [&](RunKind kind) {
        if (run_ != RunKind::None && (run_ != kind || !sameRun)) InterruptRun();
        if (run_ == RunKind::None) {
            run_ = kind;
            runAddress_ = address;
            runLengthByte_ = lengthByte;
            stagedSet_.fill(false);
        }
    };

    switch (op) {
    case MemoryOp::WriteByte:
        openRun(RunKind::Write);
        if (index <= lengthByte && index < staged_.size()) {
            staged_[index] = data;
            stagedSet_[index] = true;
        }
        break;
    case MemoryOp::CommitRun:
        if (run_ == RunKind::Write && sameRun) {
            for (std::size_t i = 0; i <= lengthByte && i < staged_.size(); ++i) {
                if (stagedSet_[i]) memory_[(address + i) & 0xFFFF] = staged_[i];
            }
        } else {
            if (run_ != RunKind::None) InterruptRun();
            ++commitsWithoutStaging_;
        }
        break;
    case MemoryOp::ReadByte:
        openRun(RunKind::Read);
        if (index <= lengthByte) replyByte_ = memory_[(address + index) & 0xFFFF];
        break;
    case MemoryOp::End:
        run_ = RunKind::None;
        stagedSet_.fill(false);
        break;
    case MemoryOp::ApplyAll:
        if (run_ != RunKind::None) InterruptRun();
        ++applyCount_;
        TakeUpMemory();
        break;
    default:
        if (run_ != RunKind::None) InterruptRun();
        break;
    }
}

void SimulatedMouse::TakeUpMemory()
{
    activeProfile_ = (memory_[DeviceMemoryMap::ProfileByte] >> 5) & 3;
    dpiLevel_ = memory_[DeviceMemoryMap::DpiLevelByte] & 7;
}
