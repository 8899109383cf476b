#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "device/device_memory_map.h"
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

namespace {

// The next input report the mouse delivers, as the input thread reads it (one is queued).
Bytes NextInput(SimulatedMouse& mouse)
{
    std::array<uint8_t, 8> buffer{};
    std::size_t got = 0;
    if (mouse.PendingInputReports() == 0 || !mouse.ReadInput(g_hidReadHandle.load(), buffer, got)) return {};
    return Bytes(buffer.begin(), buffer.begin() + 3);
}

class RecordingSink : public DeviceChangeSink {
public:
    explicit RecordingSink(SimulatedMouse& mouse) : mouse_(mouse) {}
    void DeviceInterfaceChanged(const DeviceChangeNotice& notice) override
    {
        notices.push_back(notice);
        pluggedWhenNotified.push_back(mouse_.IsPluggedIn());  // the sink may call the mouse back
    }
    std::vector<DeviceChangeNotice> notices;
    std::vector<bool> pluggedWhenNotified;

private:
    SimulatedMouse& mouse_;
};

}  // namespace

TEST(SimulatedMouseTest, StatusReplyCarriesEveryBitATestSets)
{
    SimulatedMouse mouse(MouseWithFeatureLength(12));
    mouse.SetStatusBytes(0, {0x55, 0x66, 0x12, 0x34, 0x56, 0x78, 0xFF, 0xA5, 0x9A, 0xBC, 0xDE, 0xF0, 0x11});
    SimulatedDevice device(mouse);
    std::optional<DeviceStatusReport> status = ReadDeviceStatus();
    ASSERT_TRUE(status);
    // Byte 0 stays the report id; byte 13 lies past the report.
    EXPECT_EQ(mouse.Log().back().bytes, (Bytes{0x07, 0x66, 0x12, 0x34, 0x56, 0x78, 0xFF, 0xA5, 0x9A, 0xBC, 0xDE, 0xF0}));
    EXPECT_EQ(status->ActiveProfile(), 3);
    EXPECT_EQ(status->OptionNibble(), 0x05);
    // The mouse's own state moves only its bits.
    mouse.SetActiveProfile(1);
    mouse.SetOptionNibble(0x0C);
    status = ReadDeviceStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->bytes[6], 0xF7);
    EXPECT_EQ(status->bytes[7], 0xAC);
    EXPECT_EQ(status->ActiveProfile(), 1);
}

TEST(SimulatedMouseTest, UnplugAndPlugInAnyNumberOfTimesNotifyEveryRegisteredWindow)
{
    SimulatedMouse mouse;
    RecordingSink sink(mouse);
    mouse.SetDeviceChangeSink(&sink);
    SimulatedDevice device(mouse);  // the first discovery registers kWindow
    constexpr WindowHandleValue kOther = 0x7A7A;
    // Repeated discoveries, by the same window and another: one registration per window.
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    EXPECT_EQ(FindDevice(kOther), 1);
    EXPECT_EQ(FindDevice(kOther), 1);
    EXPECT_EQ(mouse.RegistrationCalls(), 4);
    EXPECT_EQ(mouse.Registrations(), (std::vector<WindowHandleValue>{SimulatedDevice::kWindow, kOther}));

    std::vector<std::u16string> mousePaths;
    for (const SimulatedCollection& c : mouse.Interfaces()) {
        if (c.partOfMouse) mousePaths.push_back(c.path);
    }
    ASSERT_EQ(mousePaths.size(), 4u);
    auto expected = [&](DeviceChange change) {
        std::vector<DeviceChangeNotice> notices;
        for (const std::u16string& path : mousePaths) {
            for (WindowHandleValue window : {SimulatedDevice::kWindow, kOther}) notices.push_back({window, change, path});
        }
        return notices;
    };

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const HidHandle oldWrite = g_hidWriteHandle.load();
        sink.notices.clear();
        mouse.Unplug();
        mouse.Unplug();  // already out: nothing more
        EXPECT_EQ(sink.notices, expected(DeviceChange::RemoveComplete));
        EXPECT_TRUE(std::count_if(sink.notices.begin(), sink.notices.end(),
                                  [](const DeviceChangeNotice& n) { return IsOurDeviceBroadcast(kBroadcastDeviceInterface, n.interfacePath); }) == 2);
        EXPECT_FALSE(mouse.PressButton(0));
        EXPECT_FALSE(mouse.QueueInputReport({0x06, 0xF1, 0x80}));
        ResetDeviceLink();
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);

        sink.notices.clear();
        mouse.PlugIn();
        mouse.PlugIn();
        EXPECT_EQ(sink.notices, expected(DeviceChange::Arrival));
        // The old handle stays dead; a new discovery opens the mouse again.
        EXPECT_FALSE(mouse.SetFeature(oldWrite, Bytes{0x07, 0x20, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
        EXPECT_NE(g_hidWriteHandle.load(), oldWrite);
        EXPECT_TRUE(SendFireKey(true));
        EXPECT_TRUE(mouse.PressButton(0));
        EXPECT_EQ(NextInput(mouse), (Bytes{0x06, 0xF1, 0x80}));
    }
    // Removals are announced once the mouse is out, arrivals once it is in.
    std::vector<bool> pattern;
    for (int round = 0; round < 3; ++round) {
        pattern.insert(pattern.end(), 8, false);
        pattern.insert(pattern.end(), 8, true);
    }
    EXPECT_EQ(sink.pluggedWhenNotified, pattern);
    EXPECT_EQ(mouse.Registrations().size(), 2u);
    EXPECT_EQ(mouse.Notifications().size(), 3u * 16u);
    mouse.SetDeviceChangeSink(nullptr);
}

TEST(SimulatedMouseTest, MouseActionsCarryOutTheSlotsFunctionAndReportIt)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse);
    using namespace DeviceMemoryMap;
    mouse.SetMemory(DpiEnableByte, {0b101101});  // levels 0, 2, 3, 5
    // Profile 0: DPI cycle, DPI up, DPI down, next profile; profile 1: profile 4; profile 3: key.
    mouse.SetMemory(SlotByteAddress(0, 0), {0x06, 0x0B, 0x0C + 0x20, 0x16});
    mouse.SetMemory(SlotByteAddress(1, 4), {0x1A});
    mouse.SetMemory(SlotByteAddress(3, 4), {0x0D});
    mouse.SetDpiLevel(3);

    struct Step {
        const char* what;
        bool (SimulatedMouse::*action)(int);
        int argument;
        Bytes report;
        int dpi, profile;
    };
    const Step steps[] = {
        {"cycle 3 -> 5", &SimulatedMouse::PressButton, 0, {0x06, 0xF1, 0x85}, 5, 0},
        {"release", &SimulatedMouse::ReleaseButton, 0, {0x06, 0xF1, 0x05}, 5, 0},
        {"cycle wraps to 0", &SimulatedMouse::PressButton, 0, {0x06, 0xF1, 0x80}, 0, 0},
        {"down stays at 0", &SimulatedMouse::PressButton, 2, {0x06, 0xF3, 0x80}, 0, 0},
        {"up 0 -> 2", &SimulatedMouse::PressButton, 1, {0x06, 0xF2, 0x82}, 2, 0},
        {"up 2 -> 3", &SimulatedMouse::PressButton, 1, {0x06, 0xF2, 0x83}, 3, 0},
        {"down 3 -> 2", &SimulatedMouse::PressButton, 2, {0x06, 0xF3, 0x82}, 2, 0},
        {"next profile", &SimulatedMouse::PressButton, 3, {0x06, 0xF4, 0x82}, 2, 1},
        {"profile 4 from profile 2's slot", &SimulatedMouse::PressButton, 4, {0x06, 0xF5, 0x82}, 2, 3},
        {"a key changes nothing", &SimulatedMouse::PressButton, 4, {0x06, 0xF5, 0x82}, 2, 3},
        {"last button", &SimulatedMouse::PressButton, 8, {0x06, 0xF9, 0x82}, 2, 3},
        {"switch on the mouse", &SimulatedMouse::SwitchProfile, 1, {0x06, 0x03, 0x00}, 2, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_TRUE((mouse.*step.action)(step.argument));
        EXPECT_EQ(NextInput(mouse), step.report);
        EXPECT_EQ(mouse.DpiLevel(), step.dpi);
        EXPECT_EQ(mouse.ActiveProfile(), step.profile);
    }
    EXPECT_TRUE(mouse.StepMacro(true));
    EXPECT_EQ(NextInput(mouse), (Bytes{0x06, 0x01, 0x00}));
    EXPECT_TRUE(mouse.StepMacro(false));
    EXPECT_EQ(NextInput(mouse), (Bytes{0x06, 0x02, 0x00}));
    EXPECT_FALSE(mouse.PressButton(9));
    EXPECT_FALSE(mouse.ReleaseButton(-1));
    mouse.Unplug();
    EXPECT_FALSE(mouse.PressButton(0));
    EXPECT_FALSE(mouse.StepMacro(true));
    EXPECT_EQ(mouse.PendingInputReports(), 0u);
}
