#pragma once
// A model of the mouse (and of the other HID devices around it) behind the HidPort interface, for
// tests and for the demo build. It is platform-free and thread-safe.
//
// What the model does, which is what the program expects of the mouse:
// - Interfaces: a list of HID collections in enumeration order, each with a path, vendor and
//   product id, usage page and usage, and report lengths. Collections flagged as the mouse's own
//   answer report 7 on their 0xFF01/1 collection and deliver input reports on 0xFF00/1.
//   A collection can refuse read and write opens (as the system's own keyboards and mice do) or
//   every open.
// - Configuration memory: 64 KiB, all zero at power-on.
// - Report 7, written with set-feature on the write collection (reports with other ids, and
//   reports to other collections, are logged and otherwise ignored):
//     18 03 i lo hi d n  stage byte d at index i of the run (address, length n + 1); a report for
//                        another address or length starts a new staging
//     18 09 0 lo hi 0 n  commit: the staged bytes of that run go into memory at address + i
//     18 00 ...          end: the run is closed; staged bytes not committed are dropped
//     18 05 i lo hi 0 n  read request: the next status reply carries the byte at address + i
//     18 10 ...          apply: the mouse takes up its memory (counted)
//     11 02 / 11 00      fire key start / stop
//     17 uh ul           consumer key usage (kept in order)
//     20                 the program exits (counted)
//   A run lasts from its first staged byte or read request to its end. Any other report that
//   arrives in between (another command, another run address) interrupts it: the staging is
//   dropped and the interruption counted.
//   An apply (18 10) makes the mouse take up its memory: the active profile becomes bits 5..6 of
//   address 0x01 and the DPI level bits 0..2 of address 0x18.
// - Status reply (get-feature of report 7): byte 1 the last byte read, byte 6 bits 2..3 the active
//   profile, byte 7 bits 0..3 the option nibble; every other bit of bytes 2.. as a test set it
//   with SetStatusBytes (zero by default), so the program's masking is put to the test.
// - Input reports: a queue for the 0xFF00/1 collection; a read waits until a report is queued,
//   the handle is closed, the mouse is unplugged or reads are cancelled. Report 6: 06 event
//   state (below).
// - Log: every set-feature, get-feature and input read, with the clock's time and the bytes; the
//   calls the system refuses (bad handle, no access, a length other than the collection's) are
//   kept apart in RefusedCalls, so a test sees what the program passed even then.
//
// Plugging (Unplug, PlugIn; any number of times, each a no-op when already in that state):
// - Unplug: the mouse's collections leave the enumeration, every handle open on them becomes
//   stale for good (a waiting read returns failed; later calls fail), queued input reports and
//   a run in progress are lost. The memory, the active profile and the DPI level stay.
// - PlugIn: the collections are present again; the program must open them anew (discovery).
// - Each change is announced as the system does to windows registered for device-interface
//   notifications of the HID class: for every collection of the mouse, in enumeration order,
//   one notice to every registered window, in registration order. A window registers through
//   the port's RegisterDeviceNotifications; as with the Windows port, a window registered twice
//   is notified once. Notices go to the DeviceChangeSink (see there) and are kept in
//   Notifications().
//
// The mouse's own actions (what its user does on it), each queueing the input report the mouse
// sends. Button k (0..8) is device slot k + 1, event 0xF1 + k:
// - PressButton(k): first the mouse carries out the function its memory gives slot k + 1 in the
//   active profile (the slot byte's bits 0..4): 0x06 steps the DPI level to the next enabled level
//   (enable mask at 0x19), wrapping; 0x0B to the next enabled level above, 0x0C below (no wrap);
//   0x16 switches to the next profile (wrapping), 0x17..0x1A to profile 1..4. Any other code
//   changes nothing in the mouse. Then it reports 06 (F1 + k) (80 | DPI level).
// - ReleaseButton(k): 06 (F1 + k) (DPI level).
// - SwitchProfile(p): the profile switch on the mouse itself: p (0..3) becomes active, then 06 03 00.
// - StepMacro(up): 06 01 00 for a step up, 06 02 00 for a step down.
// They return false, and do nothing, while the mouse is unplugged or for a button outside 0..8.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid_port.h"

struct SimulatedCollection {
    std::u16string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
    bool partOfMouse = false;
    bool refusesDataAccess = false;  // probe opens work, read and write opens fail
    bool refusesAnyOpen = false;
};

enum class ReportDirection { SetFeature, GetFeature, InputRead };

// The two device-change events the mouse announces: wParam DBT_DEVICEARRIVAL (0x8000) and
// DBT_DEVICEREMOVECOMPLETE (0x8004) of WM_DEVICECHANGE.
enum class DeviceChange { Arrival, RemoveComplete };

struct DeviceChangeNotice {
    WindowHandleValue window = 0;
    DeviceChange change = DeviceChange::Arrival;
    std::u16string interfacePath;

    bool operator==(const DeviceChangeNotice&) const = default;
};

// Receives the device-change notices of the simulated mouse. The Win32 side implements it by
// handing WM_DEVICECHANGE to `window` with wParam DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE
// and lParam a DEV_BROADCAST_DEVICEINTERFACE_W (dbcc_devicetype DBT_DEVTYP_DEVICEINTERFACE, the
// HID class GUID, dbcc_name the interface path, dbcc_size covering the name and its zero).
//
// Called on the thread that called Unplug or PlugIn, without the mouse's lock held, so the sink
// may call any method of the mouse; Unplug and PlugIn on another thread wait until the delivery
// has ended, so the sink must not block on a thread that may be plugging the mouse (the demo's
// control channel and the window are different threads: post, do not send). The broadcast is
// passed by pointer and the system may refuse to post WM_DEVICECHANGE with a pointer in it; a
// sink that posts a private message instead, which the window turns into its device-change
// handling, must keep the path (or the whole broadcast) alive until the window has handled it.
class DeviceChangeSink {
public:
    virtual ~DeviceChangeSink() = default;
    virtual void DeviceInterfaceChanged(const DeviceChangeNotice& notice) = 0;
};

struct LoggedReport {
    uint64_t timeMs = 0;
    ReportDirection direction = ReportDirection::SetFeature;
    std::vector<uint8_t> bytes;
    std::u16string path;
};

class SimulatedMouse : public HidPort {
public:
    static constexpr uint16_t kDefaultFeatureLength = 8;
    static constexpr uint16_t kDefaultInputLength = 8;

    // The mouse's own collections, in this order: its pointer collection (0x0001/0x0002, kept by
    // the system), the input collection 0xFF00/1, a second vendor collection 0xFF00/2 and the
    // command collection 0xFF01/1.
    static std::vector<SimulatedCollection> MouseCollections(uint16_t vendorId, uint16_t productId,
                                                             const std::u16string& pathStem);
    // A keyboard of another maker, to sit beside the mouse.
    static SimulatedCollection DecoyKeyboard(const std::u16string& path);

    // The first accepted model, behind a keyboard of another maker.
    SimulatedMouse();
    explicit SimulatedMouse(std::vector<SimulatedCollection> interfaces);
    ~SimulatedMouse() override;

    static constexpr uint8_t kInputReportId = 6;
    static constexpr int kButtons = 9;

    // --- Control and inspection (tests and the demo's control channel)
    // Replaces the present devices; every open handle becomes stale.
    void SetInterfaces(std::vector<SimulatedCollection> interfaces);
    std::vector<SimulatedCollection> Interfaces() const;

    // Plugging (see above). The sink may be null: notices are still kept in Notifications().
    void SetDeviceChangeSink(DeviceChangeSink* sink);
    void Unplug();
    void PlugIn();
    bool IsPluggedIn() const;
    // A silent mouse stays plugged in but refuses every feature report, as a mouse whose
    // firmware has hung does; input reports still arrive.
    void SetSilent(bool silent);
    std::vector<DeviceChangeNotice> Notifications() const;

    // The mouse's own actions (see above).
    bool PressButton(int button);
    bool ReleaseButton(int button);
    bool SwitchProfile(int profile);
    bool StepMacro(bool up);

    uint8_t MemoryAt(uint16_t address) const;
    std::vector<uint8_t> MemoryRange(uint16_t address, std::size_t count) const;
    void SetMemory(uint16_t address, const std::vector<uint8_t>& bytes);
    void SetActiveProfile(int profile);  // 0..3
    int ActiveProfile() const;
    void SetDpiLevel(int level);  // 0..5
    int DpiLevel() const;
    void SetOptionNibble(uint8_t nibble);
    // Sets status reply bytes from index `first` on, verbatim (byte 0, the report id, is never
    // set). Bits 2..3 of byte 6 set the active profile and bits 0..3 of byte 7 the option nibble,
    // as the mouse keeps them; byte 1 is the byte a read request answers until the next one.
    void SetStatusBytes(std::size_t first, const std::vector<uint8_t>& bytes);

    // False, and nothing queued, while the mouse is unplugged.
    bool QueueInputReport(const std::vector<uint8_t>& report);
    std::size_t PendingInputReports() const;

    std::vector<LoggedReport> Log() const;
    // Calls the system refused, with the bytes passed (get-feature and input read: the buffer as
    // passed in); ClearLog empties it too.
    std::vector<LoggedReport> RefusedCalls() const;
    // The bytes of every set-feature report, in order.
    std::vector<std::vector<uint8_t>> SentReports() const;
    void ClearLog();

    int ApplyCount() const;
    int ExitCount() const;
    bool FireKeyActive() const;
    std::vector<uint16_t> ConsumerKeys() const;
    int InterruptedRuns() const;
    int CommitsWithoutStaging() const;

    // Calls of the discovery side, for tests that count what discovery touched.
    // -1 before any member was asked for.
    int64_t HighestMemberAsked() const;
    int OpenCount() const;
    std::size_t OpenHandleCount() const;
    // The windows registered for notifications, one entry a window, and the number of calls.
    std::vector<WindowHandleValue> Registrations() const;
    int RegistrationCalls() const;

    // --- HidPort
    std::unique_ptr<HidInterfaceSet> EnumerateInterfaces() override;
    HidHandle Open(const std::u16string& path, HidAccess access) override;
    void Close(HidHandle handle) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    bool GetCaps(HidHandle handle, HidCaps& caps) override;
    bool RegisterDeviceNotifications(WindowHandleValue window) override;
    bool SetFeature(HidHandle handle, std::span<const uint8_t> report) override;
    bool GetFeature(HidHandle handle, std::span<uint8_t> report) override;
    bool ReadInput(HidHandle handle, std::span<uint8_t> report, std::size_t& bytesRead) override;
    void SetInputReadsCancelled(bool cancelled) override;

private:
    class InterfaceSet;
    struct OpenHandle {
        std::size_t collection;
        HidAccess access;
    };
    enum class RunKind { None, Write, Read };

    const SimulatedCollection* CollectionOf(HidHandle handle, HidAccess* access) const;
    void Record(ReportDirection direction, std::span<const uint8_t> bytes, const std::u16string& path);
    void HandleCommand(std::span<const uint8_t> report);
    void HandleMemoryAccess(std::span<const uint8_t> report);
    void InterruptRun();
    void Refuse(ReportDirection direction, std::span<const uint8_t> bytes);
    void TakeUpMemory();
    void CarryOutButtonFunction(int button);
    bool QueueMouseReport(uint8_t event, uint8_t state);
    void Announce(DeviceChange change);

    // Held across a plug change and its notices, so notices arrive in the order of the changes.
    std::recursive_mutex plugMutex_;
    mutable std::mutex mutex_;  // guards every member below
    std::condition_variable inputArrived_;
    std::vector<SimulatedCollection> interfaces_;
    std::map<HidHandle, OpenHandle> handles_;
    HidHandle nextHandle_ = 0x100;
    bool unplugged_ = false;
    bool silent_ = false;
    bool readsCancelled_ = false;

    std::vector<uint8_t> memory_;
    RunKind run_ = RunKind::None;
    uint16_t runAddress_ = 0;
    uint8_t runLengthByte_ = 0;
    std::array<uint8_t, 8> staged_{};
    std::array<bool, 8> stagedSet_{};
    uint8_t replyByte_ = 0;
    int activeProfile_ = 0;
    int dpiLevel_ = 0;
    uint8_t optionNibble_ = 0;
    std::array<uint8_t, 256> statusBytes_{};  // what a test set; bytes 0 and 1 unused

    std::deque<std::vector<uint8_t>> inputQueue_;
    std::vector<LoggedReport> log_;
    std::vector<LoggedReport> refused_;
    int applyCount_ = 0;
    int exitCount_ = 0;
    bool fireKeyActive_ = false;
    std::vector<uint16_t> consumerKeys_;
    int interruptedRuns_ = 0;
    int commitsWithoutStaging_ = 0;

    int64_t highestMemberAsked_ = -1;
    int openCount_ = 0;
    std::vector<WindowHandleValue> registrations_;
    int registrationCalls_ = 0;
    DeviceChangeSink* sink_ = nullptr;
    std::vector<DeviceChangeNotice> notices_;
};
