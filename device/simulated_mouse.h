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
// - Report 7, written with set-feature on the write collection (shorter reports, other ids and
//   reports to other collections are logged and otherwise ignored):
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
// - Status reply (get-feature of report 7): byte 1 the last byte read, byte 6 bits 2..3 the active
//   profile, byte 7 bits 0..3 the option nibble, bytes past the eighth as set (zero by default).
// - Input reports: a queue for the 0xFF00/1 collection; a read waits until a report is queued,
//   the handle is closed, the mouse is unplugged or reads are cancelled.
// - Log: every set-feature, get-feature and input read, with the clock's time and the bytes.
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

    // --- Control and inspection (tests and the demo's control channel)
    // Replaces the present devices; every open handle becomes stale.
    void SetInterfaces(std::vector<SimulatedCollection> interfaces);
    std::vector<SimulatedCollection> Interfaces() const;
    // Pulls the mouse out: its collections disappear and waiting reads return failed.
    void Unplug();

    uint8_t MemoryAt(uint16_t address) const;
    std::vector<uint8_t> MemoryRange(uint16_t address, std::size_t count) const;
    void SetMemory(uint16_t address, const std::vector<uint8_t>& bytes);
    void SetActiveProfile(int profile);  // 0..3
    int ActiveProfile() const;
    void SetOptionNibble(uint8_t nibble);
    void SetStatusTail(const std::vector<uint8_t>& bytesFromEighth);

    void QueueInputReport(const std::vector<uint8_t>& report);
    std::size_t PendingInputReports() const;

    std::vector<LoggedReport> Log() const;
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
    std::vector<WindowHandleValue> Registrations() const;

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

    mutable std::mutex mutex_;  // guards every member below
    std::condition_variable inputArrived_;
    std::vector<SimulatedCollection> interfaces_;
    std::map<HidHandle, OpenHandle> handles_;
    HidHandle nextHandle_ = 0x100;
    bool unplugged_ = false;
    bool readsCancelled_ = false;

    std::vector<uint8_t> memory_;
    RunKind run_ = RunKind::None;
    uint16_t runAddress_ = 0;
    uint8_t runLengthByte_ = 0;
    std::array<uint8_t, 8> staged_{};
    std::array<bool, 8> stagedSet_{};
    uint8_t replyByte_ = 0;
    int activeProfile_ = 0;
    uint8_t optionNibble_ = 0;
    std::vector<uint8_t> statusTail_;

    std::deque<std::vector<uint8_t>> inputQueue_;
    std::vector<LoggedReport> log_;
    int applyCount_ = 0;
    int exitCount_ = 0;
    bool fireKeyActive_ = false;
    std::vector<uint16_t> consumerKeys_;
    int interruptedRuns_ = 0;
    int commitsWithoutStaging_ = 0;

    int64_t highestMemberAsked_ = -1;
    int openCount_ = 0;
    std::vector<WindowHandleValue> registrations_;
};
