#include <gtest/gtest.h>

#include <numeric>

#include "tests/device/simulated_device.h"

namespace {

struct TimedReport {
    uint64_t timeMs;
    ReportDirection direction;
    Bytes bytes;
    bool operator==(const TimedReport&) const = default;
};

std::vector<TimedReport> Traffic(const SimulatedMouse& mouse)
{
    std::vector<TimedReport> traffic;
    for (const LoggedReport& entry : mouse.Log()) traffic.push_back({entry.timeMs, entry.direction, entry.bytes});
    return traffic;
}

void PrintTo(const TimedReport& r, std::ostream* os)
{
    *os << "t=" << r.timeMs << (r.direction == ReportDirection::SetFeature ? " set [" : " get [");
    for (uint8_t b : r.bytes) *os << ' ' << std::hex << int{b};
    *os << " ]" << std::dec;
}

constexpr auto kSet = ReportDirection::SetFeature;
constexpr auto kGet = ReportDirection::GetFeature;

}  // namespace

TEST(CommandProtocolTest, OneByteWriteSendsStageCommitEndWithItsPacing)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    const uint8_t value[] = {0xA5};
    EXPECT_TRUE(WriteDeviceMemory(0x0001, value));
    std::vector<TimedReport> expected = {
        {0, kSet, {0x07, 0x18, 0x03, 0x00, 0x01, 0x00, 0xA5, 0x00}},
        {10, kSet, {0x07, 0x18, 0x09, 0x00, 0x01, 0x00, 0x00, 0x00}},
        {15, kSet, {0x07, 0x18, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}},
    };
    EXPECT_EQ(Traffic(mouse), expected);
    EXPECT_EQ(device.clock.Sleeps(), (std::vector<uint32_t>{10, 5}));
    EXPECT_EQ(mouse.MemoryAt(0x0001), 0xA5);
    EXPECT_EQ(mouse.MemoryAt(0x0000), 0x00);
    EXPECT_EQ(mouse.MemoryAt(0x0002), 0x00);
}

TEST(CommandProtocolTest, EightByteWriteCarriesIndexesAndLengthInEveryReport)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    const uint8_t data[] = {0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87};
    WriteDeviceMemory(0x0240, data);
    std::vector<Bytes> sent = mouse.SentReports();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[0], (Bytes{0x07, 0x18, 0x03, 0x00, 0x40, 0x02, 0x10, 0x07}));
    EXPECT_EQ(sent[5], (Bytes{0x07, 0x18, 0x03, 0x05, 0x40, 0x02, 0x65, 0x07}));
    EXPECT_EQ(sent[7], (Bytes{0x07, 0x18, 0x03, 0x07, 0x40, 0x02, 0x87, 0x07}));
    EXPECT_EQ(sent[8], (Bytes{0x07, 0x18, 0x09, 0x00, 0x40, 0x02, 0x00, 0x07}));
    EXPECT_EQ(sent[9], (Bytes{0x07, 0x18, 0x00, 0x00, 0x40, 0x02, 0x00, 0x00}));
    EXPECT_EQ(mouse.MemoryRange(0x0240, 8), Bytes(std::begin(data), std::end(data)));
}

TEST(CommandProtocolTest, WritesOfEveryLengthAtSeveralAddressesArriveWholeAndPaced)
{
    for (int32_t address : {0x0000, 0x0043, 0x00FF, 0x0240, 0x3FF8, 0xFFF8}) {
        for (int count = 1; count <= 8; ++count) {
            SCOPED_TRACE("address " + std::to_string(address) + " count " + std::to_string(count));
            SimulatedMouse mouse;
            SimulatedDevice device(mouse);
            Bytes data(static_cast<std::size_t>(count));
            std::iota(data.begin(), data.end(), static_cast<uint8_t>(0xC0 + count));
            EXPECT_TRUE(WriteDeviceMemory(address, data));

            const auto lo = static_cast<uint8_t>(address & 0xFF), hi = static_cast<uint8_t>(address >> 8);
            const auto n = static_cast<uint8_t>(count - 1);
            std::vector<TimedReport> expected;
            for (int i = 0; i < count; ++i) {
                expected.push_back({0, kSet, {0x07, 0x18, 0x03, static_cast<uint8_t>(i), lo, hi, data[static_cast<std::size_t>(i)], n}});
            }
            expected.push_back({10, kSet, {0x07, 0x18, 0x09, 0x00, lo, hi, 0x00, n}});
            expected.push_back({15, kSet, {0x07, 0x18, 0x00, 0x00, lo, hi, 0x00, 0x00}});
            EXPECT_EQ(Traffic(mouse), expected);
            EXPECT_EQ(mouse.MemoryRange(static_cast<uint16_t>(address), data.size()), data);
            EXPECT_EQ(mouse.MemoryAt(static_cast<uint16_t>(address + count) ), 0u);
            EXPECT_EQ(mouse.InterruptedRuns(), 0);
        }
    }
}

TEST(CommandProtocolTest, OneByteReadStagesZerosWithoutCommitThenAsksAndEndsAtAddressZero)
{
    SimulatedMouse mouse;
    mouse.SetMemory(0x0043, {0x5A});
    SimulatedDevice device(mouse);
    uint8_t value[1] = {0xEE};
    EXPECT_TRUE(ReadDeviceMemory(0x0043, value));
    EXPECT_EQ(value[0], 0x5A);
    std::vector<TimedReport> expected = {
        {0, kSet, {0x07, 0x18, 0x03, 0x00, 0x43, 0x00, 0x00, 0x00}},
        {7, kSet, {0x07, 0x18, 0x00, 0x00, 0x43, 0x00, 0x00, 0x00}},
        {7, kSet, {0x07, 0x18, 0x05, 0x00, 0x43, 0x00, 0x00, 0x00}},
        {9, kGet, {0x07, 0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {14, kSet, {0x07, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    EXPECT_EQ(Traffic(mouse), expected);
    // The staged zeros were never committed.
    EXPECT_EQ(mouse.MemoryAt(0x0043), 0x5A);
}

TEST(CommandProtocolTest, ReadsOfEveryLengthReturnMemoryAndTakeTheirSleeps)
{
    for (int32_t address : {0x0000, 0x0043, 0x01FD, 0xFFF8}) {
        for (int count = 1; count <= 8; ++count) {
            SCOPED_TRACE("address " + std::to_string(address) + " count " + std::to_string(count));
            SimulatedMouse mouse;
            Bytes stored(static_cast<std::size_t>(count));
            std::iota(stored.begin(), stored.end(), static_cast<uint8_t>(0x31 * count));
            mouse.SetMemory(static_cast<uint16_t>(address), stored);
            SimulatedDevice device(mouse);
            Bytes out(static_cast<std::size_t>(count), 0xCC);
            EXPECT_TRUE(ReadDeviceMemory(address, out));
            EXPECT_EQ(out, stored);
            EXPECT_EQ(device.clock.TotalSleptMs(), static_cast<uint64_t>(4 * count + 10));

            const auto lo = static_cast<uint8_t>(address & 0xFF), hi = static_cast<uint8_t>(address >> 8);
            const auto n = static_cast<uint8_t>(count - 1);
            std::vector<TimedReport> expected;
            uint64_t t = 0;
            for (int i = 0; i < count; ++i) {
                expected.push_back({t, kSet, {0x07, 0x18, 0x03, static_cast<uint8_t>(i), lo, hi, 0x00, n}});
                t += 2;
            }
            t += 5;
            expected.push_back({t, kSet, {0x07, 0x18, 0x00, 0x00, lo, hi, 0x00, 0x00}});
            for (int i = 0; i < count; ++i) {
                expected.push_back({t, kSet, {0x07, 0x18, 0x05, static_cast<uint8_t>(i), lo, hi, 0x00, n}});
                t += 2;
                expected.push_back({t, kGet, {0x07, stored[static_cast<std::size_t>(i)], 0, 0, 0, 0, 0, 0}});
            }
            t += 5;
            expected.push_back({t, kSet, {0x07, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}});
            EXPECT_EQ(Traffic(mouse), expected);
            EXPECT_EQ(mouse.MemoryRange(static_cast<uint16_t>(address), stored.size()), stored);
        }
    }
}

TEST(CommandProtocolTest, ZeroWriteRunStagesButLeavesMemoryAsItWas)
{
    SimulatedMouse mouse;
    mouse.SetMemory(0x0100, {1, 2, 3});
    SimulatedDevice device(mouse);
    EXPECT_TRUE(SendZeroWriteRun(0x0100, 3));
    EXPECT_EQ(mouse.SentReports(), (std::vector<Bytes>{
                                       {0x07, 0x18, 0x03, 0x00, 0x00, 0x01, 0x00, 0x02},
                                       {0x07, 0x18, 0x03, 0x01, 0x00, 0x01, 0x00, 0x02},
                                       {0x07, 0x18, 0x03, 0x02, 0x00, 0x01, 0x00, 0x02},
                                       {0x07, 0x18, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00},
                                   }));
    EXPECT_EQ(device.clock.Sleeps(), (std::vector<uint32_t>{2, 2, 2, 5}));
    EXPECT_EQ(mouse.MemoryRange(0x0100, 3), (Bytes{1, 2, 3}));
}

TEST(CommandProtocolTest, SingleReportsGoOutByteForByte)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    EXPECT_TRUE(SendFireKey(true));
    EXPECT_TRUE(mouse.FireKeyActive());
    EXPECT_TRUE(SendFireKey(false));
    EXPECT_FALSE(mouse.FireKeyActive());
    EXPECT_TRUE(SendConsumerKey(0x0223));
    EXPECT_TRUE(SendConsumerKey(0x00E9));
    EXPECT_TRUE(SendDriverExit());
    EXPECT_TRUE(device.clock.Sleeps().empty());
    EXPECT_TRUE(SendApplyAll());
    std::vector<TimedReport> expected = {
        {0, kSet, {0x07, 0x11, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {0, kSet, {0x07, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {0, kSet, {0x07, 0x17, 0x02, 0x23, 0x00, 0x00, 0x00, 0x00}},
        {0, kSet, {0x07, 0x17, 0x00, 0xE9, 0x00, 0x00, 0x00, 0x00}},
        {0, kSet, {0x07, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {0, kSet, {0x07, 0x18, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {10, kSet, {0x07, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    EXPECT_EQ(Traffic(mouse), expected);
    EXPECT_EQ(mouse.ConsumerKeys(), (std::vector<uint16_t>{0x0223, 0x00E9}));
    EXPECT_EQ(mouse.ExitCount(), 1);
    EXPECT_EQ(mouse.ApplyCount(), 1);
}

// The program's end stops a fire the device threads left running, once, and only on the mouse
// that was told to fire.
TEST(CommandProtocolTest, AFireLeftRunningIsStoppedOnce)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    EXPECT_FALSE(StopFireKeyLeftRunning());
    SendFireKey(true);
    EXPECT_TRUE(StopFireKeyLeftRunning());
    EXPECT_FALSE(mouse.FireKeyActive());
    EXPECT_FALSE(StopFireKeyLeftRunning());
    SendFireKey(true);
    SendFireKey(false);
    EXPECT_FALSE(StopFireKeyLeftRunning());
    SendFireKey(true);
    ResetDeviceLink();
    FindDevice(SimulatedDevice::kWindow);
    EXPECT_FALSE(StopFireKeyLeftRunning());
    EXPECT_EQ(mouse.SentReports().size(), 5u);
}

TEST(CommandProtocolTest, DriverExitGoesOutOnlyThroughAnOpenWriteCollection)
{
    {
        SimulatedMouse mouse;
        SimulatedDevice device(mouse, /*discover=*/false);  // handle still 0
        EXPECT_FALSE(SendDriverExit());
        EXPECT_TRUE(mouse.Log().empty());
    }
    {
        std::vector<SimulatedCollection> collections = MouseWithFeatureLength(8);
        for (SimulatedCollection& c : collections) c.refusesDataAccess = true;
        SimulatedMouse mouse(collections);
        SimulatedDevice device(mouse);
        ASSERT_EQ(g_hidWriteHandle.load(), kInvalidHidHandle);
        EXPECT_FALSE(SendDriverExit());
        EXPECT_EQ(mouse.ExitCount(), 0);
    }
}

TEST(CommandProtocolTest, FeatureLengthComesFromTheWriteCollectionAndCarriesTheBufferTail)
{
    SimulatedMouse mouse(MouseWithFeatureLength(16));
    mouse.SetStatusBytes(8, {0xA1, 0xA2, 0xA3});
    mouse.SetActiveProfile(2);
    mouse.SetOptionNibble(0x0B);
    SimulatedDevice device(mouse);

    SendFireKey(true);
    std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->ActiveProfile(), 2);
    EXPECT_EQ(status->OptionNibble(), 0x0B);
    SendConsumerKey(0x00EA);

    std::vector<LoggedReport> log = mouse.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].bytes, (Bytes{0x07, 0x11, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(log[1].bytes, (Bytes{0x07, 0x00, 0, 0, 0, 0, 0x08, 0x0B, 0xA1, 0xA2, 0xA3, 0, 0, 0, 0, 0}));
    // No command sets the bytes past the eighth: they leave as the reply left them.
    EXPECT_EQ(log[2].bytes, (Bytes{0x07, 0x17, 0x00, 0xEA, 0, 0, 0, 0, 0xA1, 0xA2, 0xA3, 0, 0, 0, 0, 0}));
}

TEST(CommandProtocolTest, FeatureLengthsThatCannotCarryACommandSendNothing)
{
    for (uint16_t length : {uint16_t{0}, uint16_t{4}, uint16_t{7}, uint16_t{257}, uint16_t{300}}) {
        SCOPED_TRACE(length);
        SimulatedMouse mouse(MouseWithFeatureLength(length));
        SimulatedDevice device(mouse);
        const uint8_t data[] = {1, 2};
        EXPECT_FALSE(WriteDeviceMemory(0x10, data));
        EXPECT_FALSE(SendFireKey(true));
        EXPECT_FALSE(ReadDeviceStatus().has_value());
        // Nothing reached the port at all, not even a report the system refused.
        EXPECT_TRUE(mouse.Log().empty());
        EXPECT_TRUE(mouse.RefusedCalls().empty());
        EXPECT_EQ(mouse.MemoryRange(0x10, 2), (Bytes{0, 0}));
    }
    // The longest report the buffer holds goes out whole.
    SimulatedMouse mouse(MouseWithFeatureLength(256));
    SimulatedDevice device(mouse);
    EXPECT_TRUE(SendFireKey(true));
    ASSERT_EQ(mouse.SentReports().size(), 1u);
    Bytes expected(256, 0);
    expected[0] = 0x07;
    expected[1] = 0x11;
    expected[2] = 0x02;
    EXPECT_EQ(mouse.SentReports()[0], expected);
    EXPECT_TRUE(mouse.RefusedCalls().empty());
}

TEST(CommandProtocolTest, RunsOutsideOneToEightBytesOrTheAddressSpaceAreRefused)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    const Bytes nine(9, 0x11);
    uint8_t out[9] = {};
    EXPECT_FALSE(WriteDeviceMemory(0x10, std::span<const uint8_t>()));
    EXPECT_FALSE(WriteDeviceMemory(0x10, nine));
    EXPECT_FALSE(WriteDeviceMemory(-1, std::span(nine).first(1)));
    EXPECT_FALSE(WriteDeviceMemory(0xFFFF, std::span(nine).first(2)));
    EXPECT_FALSE(WriteDeviceMemory(0x10000, std::span(nine).first(1)));
    EXPECT_FALSE(ReadDeviceMemory(0x10, std::span<uint8_t>(out)));
    EXPECT_FALSE(ReadDeviceMemory(0x10, std::span<uint8_t>(out).first(0)));
    EXPECT_FALSE(SendZeroWriteRun(0x10, 0));
    EXPECT_FALSE(SendZeroWriteRun(0x10, 9));
    EXPECT_FALSE(SendZeroWriteRun(0x10, -3));
    EXPECT_TRUE(mouse.Log().empty());
    EXPECT_TRUE(device.clock.Sleeps().empty());
    // The last byte of the address space is still reachable.
    EXPECT_TRUE(WriteDeviceMemory(0xFFFF, std::span(nine).first(1)));
    EXPECT_EQ(mouse.MemoryAt(0xFFFF), 0x11);
}

namespace {
class MouseThatNeverAnswers : public SimulatedMouse {
public:
    bool GetFeature(HidHandle, std::span<uint8_t>) override { return false; }
};
}  // namespace

TEST(CommandProtocolTest, UnansweredReadGivesZerosAndSaysSoButKeepsItsPacing)
{
    MouseThatNeverAnswers mouse;
    mouse.SetMemory(0x43, {0x77, 0x66});
    SimulatedDevice device(mouse);
    uint8_t out[2] = {0xAB, 0xAB};
    EXPECT_FALSE(ReadDeviceMemory(0x43, out));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(device.clock.TotalSleptMs(), 4u * 2 + 10);
    EXPECT_EQ(mouse.SentReports().size(), 2u * 2 + 2);
    EXPECT_FALSE(ReadDeviceStatus().has_value());
}

TEST(CommandProtocolTest, WithoutAMouseReportsAreLostButPacingStays)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse, /*discover=*/false);
    const uint8_t data[] = {9};
    EXPECT_FALSE(WriteDeviceMemory(0x01, data));
    EXPECT_FALSE(SendApplyAll());
    EXPECT_EQ(device.clock.Sleeps(), (std::vector<uint32_t>{10, 5, 10}));
    EXPECT_TRUE(mouse.Log().empty());
}
