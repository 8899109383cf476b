#include <gtest/gtest.h>

#include <thread>

#include "tests/device/simulated_device.h"

namespace {

// Sends one raw report 7 to the mouse's command collection.
void Send(SimulatedMouse& mouse, const Bytes& report) { ASSERT_TRUE(mouse.SetFeature(g_hidWriteHandle.load(), report)); }

}  // namespace

TEST(SimulatedMouseTest, MemoryIsZeroAtPowerOnAndCommitsOnlyTheStagedRun)
{
    SimulatedMouse mouse;
    EXPECT_EQ(mouse.MemoryRange(0xFFF0, 32), Bytes(32, 0));
    SimulatedDevice device(mouse);
    // Staged and ended without a commit: dropped.
    Send(mouse, {0x07, 0x18, 0x03, 0x00, 0x20, 0x00, 0x55, 0x01});
    Send(mouse, {0x07, 0x18, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00});
    Send(mouse, {0x07, 0x18, 0x09, 0x00, 0x20, 0x00, 0x00, 0x01});
    EXPECT_EQ(mouse.MemoryAt(0x20), 0);
    EXPECT_EQ(mouse.CommitsWithoutStaging(), 1);
    // Only the indexes staged reach memory; a commit for another address commits nothing.
    Send(mouse, {0x07, 0x18, 0x03, 0x01, 0x20, 0x00, 0x66, 0x01});
    Send(mouse, {0x07, 0x18, 0x09, 0x00, 0x21, 0x00, 0x00, 0x01});
    EXPECT_EQ(mouse.MemoryRange(0x20, 2), (Bytes{0, 0}));
    EXPECT_EQ(mouse.InterruptedRuns(), 1);
    Send(mouse, {0x07, 0x18, 0x03, 0x01, 0x20, 0x00, 0x66, 0x01});
    Send(mouse, {0x07, 0x18, 0x09, 0x00, 0x20, 0x00, 0x00, 0x01});
    EXPECT_EQ(mouse.MemoryRange(0x20, 2), (Bytes{0x00, 0x66}));
    // A run at the top of the address space wraps around, as 16-bit addresses do.
    Send(mouse, {0x07, 0x18, 0x03, 0x01, 0xFF, 0xFF, 0x77, 0x01});
    Send(mouse, {0x07, 0x18, 0x09, 0x00, 0xFF, 0xFF, 0x00, 0x01});
    EXPECT_EQ(mouse.MemoryAt(0x0000), 0x77);
}

TEST(SimulatedMouseTest, AReportOfAnotherKindInsideARunInterruptsIt)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    Send(mouse, {0x07, 0x18, 0x03, 0x00, 0x30, 0x00, 0x12, 0x01});
    Send(mouse, {0x07, 0x11, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00});  // fire key in between
    Send(mouse, {0x07, 0x18, 0x03, 0x01, 0x30, 0x00, 0x34, 0x01});
    Send(mouse, {0x07, 0x18, 0x09, 0x00, 0x30, 0x00, 0x00, 0x01});
    Send(mouse, {0x07, 0x18, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00});
    EXPECT_EQ(mouse.InterruptedRuns(), 1);
    EXPECT_EQ(mouse.MemoryRange(0x30, 2), (Bytes{0x00, 0x34}));
    // A status request inside a write run interrupts it too; inside a read run it belongs there.
    Send(mouse, {0x07, 0x18, 0x03, 0x00, 0x30, 0x00, 0x12, 0x00});
    EXPECT_TRUE(ReadDeviceStatus().has_value());
    EXPECT_EQ(mouse.InterruptedRuns(), 2);
    uint8_t out[2];
    EXPECT_TRUE(ReadDeviceMemory(0x30, out));
    EXPECT_EQ(mouse.InterruptedRuns(), 2);
    EXPECT_TRUE(mouse.FireKeyActive());
}

TEST(SimulatedMouseTest, ReportsToOtherCollectionsOrOfWrongLengthAreNotCommands)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    EXPECT_FALSE(mouse.SetFeature(g_hidWriteHandle.load(), Bytes{0x07, 0x20, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(mouse.SetFeature(g_hidReadHandle.load(), Bytes{0x07, 0x20, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(mouse.SetFeature(0x9999, Bytes{0x07, 0x20, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(mouse.SetFeature(g_hidWriteHandle.load(), Bytes{0x06, 0x20, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mouse.ExitCount(), 0);
    EXPECT_EQ(mouse.Log().size(), 1u);
}

TEST(SimulatedMouseTest, StatusReplyCarriesProfileAndOptionNibble)
{
    SimulatedMouse mouse;
    mouse.SetActiveProfile(3);
    mouse.SetOptionNibble(0x1F);
    SimulatedDevice device(mouse);
    std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->bytes, (std::array<uint8_t, 8>{0x07, 0, 0, 0, 0, 0, 0x0C, 0x0F}));
    EXPECT_EQ(status->ActiveProfile(), 3);
    EXPECT_EQ(status->OptionNibble(), 0x0F);
}

TEST(SimulatedMouseTest, InputReadWaitsForAQueuedReportAndLogsIt)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    const HidHandle read = g_hidReadHandle.load();
    std::array<uint8_t, 256> buffer{};
    std::size_t got = 0;
    bool ok = false;
    std::thread reader([&] { ok = mouse.ReadInput(read, std::span(buffer).first(g_readCaps.inputReportByteLength), got); });
    mouse.QueueInputReport({0x06, 0xF3, 0x80});
    reader.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(got, SimulatedMouse::kDefaultInputLength);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 8), (Bytes{0x06, 0xF3, 0x80, 0, 0, 0, 0, 0}));
    ASSERT_EQ(mouse.Log().size(), 1u);
    EXPECT_EQ(mouse.Log()[0].direction, ReportDirection::InputRead);

    // A short buffer or a handle without read access is refused at once.
    EXPECT_FALSE(mouse.ReadInput(read, std::span(buffer).first(4), got));
    EXPECT_FALSE(mouse.ReadInput(g_hidWriteHandle.load(), std::span(buffer).first(8), got));
}

TEST(SimulatedMouseTest, UnplugOrCloseReleasesAWaitingReadAndTheMouseDisappears)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    std::array<uint8_t, 8> buffer{};
    std::size_t got = 0;
    bool ok = true;
    std::thread reader([&] { ok = mouse.ReadInput(g_hidReadHandle.load(), buffer, got); });
    mouse.Unplug();
    reader.join();
    EXPECT_FALSE(ok);
    EXPECT_FALSE(SendFireKey(true));
    ResetDeviceLink();
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);
}
