#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/win32_hid_port.h"
#include "winlib/timer_resolution.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"
#include "tests/temp_folder.h"

namespace {

// What discovery does with one interface: a probe open, attributes and capabilities read
// through it, the probe closed. False when the probe does not open.
bool ProbeLikeDiscovery(Win32HidPort& port, const std::u16string& path, HidAttributes& attributes, HidCaps& caps,
                        bool& haveAttributes, bool& haveCaps)
{
    HidHandle probe = port.Open(path, HidAccess::Probe);
    if (!IsOpenHidHandle(probe)) return false;
    haveAttributes = port.GetAttributes(probe, attributes);
    haveCaps = port.GetCaps(probe, caps);
    port.Close(probe);
    return true;
}

}  // namespace

TEST(Win32HidPortTest, DiscoveryOverTheSystemsHidDevicesFindsNoMouse)
{
    Win32HidPort port;
    ScopedHidPort installed(port);
    ResetDeviceLink();
    // Every interface the system presents can be probed without harm (Wine presents none).
    std::unique_ptr<HidInterfaceSet> interfaces = port.EnumerateInterfaces();
    for (uint32_t member = 0; member < kDiscoveryAttempts; ++member) {
        std::u16string path;
        if (!interfaces->InterfacePath(member, path)) continue;
        EXPECT_FALSE(path.empty());
        HidAttributes attributes;
        HidCaps caps;
        bool haveAttributes = false, haveCaps = false;
        ProbeLikeDiscovery(port, path, attributes, caps, haveAttributes, haveCaps);
    }
    EXPECT_EQ(FindDevice(0), 0);
    EXPECT_EQ(g_hidReadHandle.load(), kNoHidHandle);
    EXPECT_EQ(g_hidWriteHandle.load(), kNoHidHandle);
    EXPECT_FALSE(SendDriverExit());
    EXPECT_EQ(port.Open(u"\\\\?\\hid#no_such_device#0", HidAccess::Write), kInvalidHidHandle);
    ResetDeviceLink();
}

TEST(Win32HidPortTest, APathThatIsNoHidDeviceOpensButAnswersNoHidCall)
{
    // A plain file stands in for an interface the system lists but that is no HID collection:
    // every call of the port runs against the real system.
    TempFolder folder;
    folder.Write("not_hid.bin", std::string("\x06\xF3\x80\x01\x02", 5));
    const std::u16string path = folder.File("not_hid.bin");
    Win32HidPort port;

    HidAttributes attributes{0x1111, 0x2222, 0x3333};
    HidCaps caps;
    caps.usagePage = 0x4444;
    bool haveAttributes = true, haveCaps = true;
    ASSERT_TRUE(ProbeLikeDiscovery(port, path, attributes, caps, haveAttributes, haveCaps));
    EXPECT_FALSE(haveAttributes);
    EXPECT_FALSE(haveCaps);
    EXPECT_EQ(attributes.vendorId, 0x1111);  // a failed call leaves its output alone
    EXPECT_EQ(caps.usagePage, 0x4444);

    // A read handle reads exactly the length asked for; feature reports are refused.
    const HidHandle read = port.Open(path, HidAccess::Read);
    ASSERT_TRUE(IsOpenHidHandle(read));
    std::array<uint8_t, 8> buffer{};
    std::size_t got = 0;
    EXPECT_TRUE(port.ReadInput(read, std::span(buffer).first(3), got));
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 8>{0x06, 0xF3, 0x80, 0, 0, 0, 0, 0}));
    const HidHandle write = port.Open(path, HidAccess::Write);
    ASSERT_TRUE(IsOpenHidHandle(write));
    const std::array<uint8_t, 8> report{0x07, 0x20, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(port.SetFeature(write, report));
    EXPECT_FALSE(port.GetFeature(write, buffer));

    // Closed means closed: the file, shared without delete access, can go only then.
    EXPECT_FALSE(DeleteFileW(AsWide(path)));
    port.Close(read);
    port.Close(write);
    EXPECT_TRUE(DeleteFileW(AsWide(path)));
}

TEST(Win32HidPortTest, BroadcastHeaderIsCheckedForTypeSizeAndName)
{
    const std::u16string saved = g_devicePath;
    g_devicePath = u"\\\\?\\hid#vid_3a7e&pid_5101&mi_01&col04#7&1a2b3c4d&0&0003#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    const std::u16string upper = u"\\\\?\\HID#VID_3A7E&PID_5101&MI_01&COL04#7&1A2B3C4D&0&0003#{4D1E55B2-F16F-11CF-88CB-001111000030}";

    auto broadcast = [](const std::u16string& name, DWORD type) {
        std::vector<uint8_t> bytes(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t), 0);
        auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
        header->dbcc_size = static_cast<DWORD>(bytes.size());
        header->dbcc_devicetype = type;
        std::memcpy(header->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
        return bytes;
    };
    auto check = [](std::vector<uint8_t>& bytes) { return IsOurDeviceBroadcast(reinterpret_cast<const DEV_BROADCAST_HDR*>(bytes.data())); };

    std::vector<uint8_t> ours = broadcast(g_devicePath, DBT_DEVTYP_DEVICEINTERFACE);
    std::vector<uint8_t> oursUpper = broadcast(upper, DBT_DEVTYP_DEVICEINTERFACE);
    std::vector<uint8_t> other = broadcast(u"\\\\?\\hid#vid_4b1d&pid_0101#6&2c3d4e5f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", DBT_DEVTYP_DEVICEINTERFACE);
    std::vector<uint8_t> volume = broadcast(g_devicePath, DBT_DEVTYP_VOLUME);
    EXPECT_TRUE(check(ours));
    EXPECT_TRUE(check(oursUpper));
    EXPECT_FALSE(check(other));
    EXPECT_FALSE(check(volume));
    // A header whose size cuts the name short is not ours; one too short for a header is ignored.
    reinterpret_cast<DEV_BROADCAST_HDR*>(ours.data())->dbch_size -= 4 * sizeof(wchar_t);
    EXPECT_FALSE(check(ours));
    reinterpret_cast<DEV_BROADCAST_HDR*>(ours.data())->dbch_size = 4;
    EXPECT_FALSE(check(ours));
    EXPECT_FALSE(IsOurDeviceBroadcast(static_cast<const DEV_BROADCAST_HDR*>(nullptr)));
    g_devicePath = saved;
}

TEST(Win32HidPortTest, HandleOwnerClosesOnceAndMoves)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        UniqueHandle first(raw);
        UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
    UniqueHandle failed(INVALID_HANDLE_VALUE);  // a failed open owns nothing
    EXPECT_FALSE(failed);
}

TEST(Win32HidPortTest, FineTimerHoldsForItsScope)
{
    ScopedTimerResolution fine;
    EXPECT_TRUE(fine.Active());
}

// A pipe stands in for the read collection (the test machine has no such HID device): a read
// waiting for a report ends when reads are cancelled or its handle is closed, and a report that
// is there is read.
TEST(Win32HidPortTest, InputReadEndsOnCancelAndOnClose)
{
    const wchar_t* name = L"\\\\.\\pipe\\kestra_input_read_test";
    UniqueHandle server(CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_MESSAGE, 1, 64, 64, 0, nullptr));
    ASSERT_TRUE(server);
    Win32HidPort port;
    const HidHandle read = port.Open(FromWide(name), HidAccess::Read);
    ASSERT_TRUE(IsOpenHidHandle(read));
    std::array<uint8_t, 8> report{};
    std::size_t got = 99;

    auto readOnAnotherThread = [&](auto end) {
        bool ok = true;
        std::thread reader([&] { ok = port.ReadInput(read, report, got); });
        Sleep(50);  // the read is waiting by now
        end();
        reader.join();
        return ok;
    };
    EXPECT_FALSE(readOnAnotherThread([&] { port.SetInputReadsCancelled(true); }));
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(port.ReadInput(read, report, got));  // cancelled before it starts
    port.SetInputReadsCancelled(false);

    const std::array<uint8_t, 8> sent{6, 0xF3, 0x80, 0, 0, 0, 0, 0};
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(server.Get(), sent.data(), 8, &written, nullptr));
    EXPECT_TRUE(port.ReadInput(read, report, got));
    EXPECT_EQ(got, 8u);
    EXPECT_EQ(report, sent);

    EXPECT_FALSE(readOnAnotherThread([&] { port.Close(read); }));
    EXPECT_FALSE(port.ReadInput(read, report, got));
}
