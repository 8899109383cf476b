#pragma once
// Feature report 7 of the mouse's write collection: one command per report. Memory is read and
// written in runs of 1 to 8 bytes, paced by fixed sleeps; the mouse acknowledges nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

inline constexpr uint8_t kDeviceReportId = 7;
inline constexpr std::size_t kDeviceCommandLength = 8;
inline constexpr std::size_t kFeatureBufferSize = 256;
inline constexpr int32_t kMaxRunLength = 8;
inline constexpr int32_t kDeviceMemorySize = 0x10000;

enum class DeviceCommand : uint8_t {
    MemoryAccess = 0x18,
    FireKey = 0x11,
    ConsumerKey = 0x17,
    DriverExit = 0x20,
};

enum class MemoryOp : uint8_t {
    WriteByte = 0x03,
    ReadByte = 0x05,
    CommitRun = 0x09,
    End = 0x00,
    ApplyAll = 0x10,
};

inline constexpr uint8_t kFireKeyStart = 2;
inline constexpr uint8_t kFireKeyStop = 0;

// Bytes 0..7 of one command: report id, command, six argument bytes.
struct DeviceCommandReport {
    std::array<uint8_t, kDeviceCommandLength> bytes{};

    // Bytes 3..7 of a memory access: index in the run, run address (low, high), data, length - 1.
    static DeviceCommandReport Memory(MemoryOp op, uint8_t index, uint16_t address, uint8_t data, uint8_t lengthByte);
    static DeviceCommandReport FireKey(bool start);
    static DeviceCommandReport ConsumerKey(uint16_t usage);
    static DeviceCommandReport DriverExit();

    bool operator==(const DeviceCommandReport&) const = default;
};

// Report 7 as the mouse answers it.
struct DeviceStatusReport {
    std::array<uint8_t, kDeviceCommandLength> bytes{};

    // The memory byte a ReadByte request asked for.
    uint8_t ReadValue() const { return bytes[1]; }
    // The profile active in the mouse, 0..3.
    int ActiveProfile() const { return (bytes[6] >> 2) & 3; }
    uint8_t OptionNibble() const { return bytes[7] & 0x0F; }
};

// Guards g_featureBuffer, g_writeCaps and the traffic on g_hidWriteHandle. It is held for a whole
// memory run or single report, sleeps and replies included, so that the reports of the
// user-interface thread and of both device threads never interleave at the mouse.
extern std::mutex g_deviceReportMutex;
// Every report is built here and every reply lands here. Bytes past the eighth are set by no
// command: they go out as the last reply left them.
extern std::array<uint8_t, kFeatureBufferSize> g_featureBuffer;

// The three run operations take a run of 1..8 bytes inside the 64 KiB address space; anything
// else is refused before a report goes out. They return true when the mouse took every report
// (and, for a read, answered every request); callers that pace by sleeps alone may ignore it.
bool WriteDeviceMemory(int32_t address, std::span<const uint8_t> data);
// Fills `out` (its size is the run length) with byte 1 of each reply; a request the mouse does
// not answer leaves its byte 0.
bool ReadDeviceMemory(int32_t address, std::span<uint8_t> out);
// Stages `count` zero bytes and ends the run without committing it: the first step of a read.
bool SendZeroWriteRun(int32_t address, int32_t count);

bool SendFireKey(bool start);
// Sends FireKey stop when the last fire command the open mouse took was a start (its button was
// still down when the device threads ended): nothing else would stop the mouse firing.
bool StopFireKeyLeftRunning();
// The write handle is closed: its value may come again for another mouse, which is not firing.
// With g_deviceReportMutex held.
void ForgetFireKeyLocked();
bool SendConsumerKey(uint16_t usage);
// Sent only when the write collection is open; false otherwise.
bool SendDriverExit();
// Makes the mouse take up the written configuration: ApplyAll, 10 ms, End.
bool SendApplyAll();
// Asks the mouse for report 7; nothing when it does not answer.
std::optional<DeviceStatusReport> ReadDeviceStatus();
