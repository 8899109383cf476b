#include <gtest/gtest.h>

#include <algorithm>

#include "tests/device/simulated_device.h"

namespace {

constexpr uint16_t kVendor = static_cast<uint16_t>(kKestraDeviceIds[0].vendorId);
constexpr uint16_t kProduct = static_cast<uint16_t>(kKestraDeviceIds[0].productId);

std::vector<SimulatedCollection> Mouse(uint16_t vendor = kVendor, uint16_t product = kProduct)
{
    return SimulatedMouse::MouseCollections(vendor, product, u"7&1a2b3c4d&0");
}

SimulatedCollection Decoy(int number)
{
    return SimulatedMouse::DecoyKeyboard(u"\\\\?\\hid#vid_4b1d&pid_0101#6&decoy&" + std::u16string(1, u'a' + number % 26) +
                                         u"&" + std::u16string(1, u'a' + number / 26));
}

const SimulatedCollection& CollectionWith(const std::vector<SimulatedCollection>& list, uint16_t usagePage, uint16_t usage)
{
    return *std::find_if(list.begin(), list.end(), [&](const SimulatedCollection& c) { return c.usagePage == usagePage && c.usage == usage; });
}

std::vector<SimulatedCollection> Concat(std::vector<SimulatedCollection> a, const std::vector<SimulatedCollection>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(DeviceDiscoveryTest, FindsBothVendorCollectionsBehindADecoyAndKeepsTheSecondPath)
{
    std::vector<SimulatedCollection> interfaces = Concat({Decoy(0)}, Mouse());
    SimulatedMouse mouse(interfaces);
    SimulatedDevice device(mouse, /*discover=*/false);
    EXPECT_EQ(CurrentReadCollection().inputReportLength, 0);

    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    EXPECT_EQ(g_deviceConnected, 1);
    // The input thread takes the handle and its collection's report length together.
    EXPECT_EQ(CurrentReadCollection().handle, g_hidReadHandle.load());
    EXPECT_EQ(CurrentReadCollection().inputReportLength, SimulatedMouse::kDefaultInputLength);
    EXPECT_TRUE(IsOpenHidHandle(g_hidReadHandle.load()));
    EXPECT_TRUE(IsOpenHidHandle(g_hidWriteHandle.load()));
    EXPECT_NE(g_hidReadHandle.load(), g_hidWriteHandle.load());
    EXPECT_EQ(g_readCaps.usagePage, kReadUsagePage);
    EXPECT_EQ(g_readCaps.inputReportByteLength, SimulatedMouse::kDefaultInputLength);
    EXPECT_EQ(g_writeCaps.usagePage, kWriteUsagePage);
    EXPECT_EQ(g_writeCaps.featureReportByteLength, SimulatedMouse::kDefaultFeatureLength);
    // The read collection comes first, so the path kept is the write collection's.
    EXPECT_EQ(g_devicePath, CollectionWith(interfaces, kWriteUsagePage, 1).path);
    // The search stops at the write collection (member 4) and keeps only the two data handles.
    EXPECT_EQ(mouse.HighestMemberAsked(), 4);
    EXPECT_EQ(mouse.OpenHandleCount(), 2u);
    EXPECT_EQ(mouse.Registrations(), (std::vector<WindowHandleValue>{SimulatedDevice::kWindow}));
    ResetDeviceLink();
    EXPECT_EQ(CurrentReadCollection().handle, kNoHidHandle);
    EXPECT_EQ(CurrentReadCollection().inputReportLength, 0);
}

TEST(DeviceDiscoveryTest, WriteCollectionFirstLeavesTheReadCollectionsPath)
{
    std::vector<SimulatedCollection> collections = Mouse();
    std::reverse(collections.begin(), collections.end());
    SimulatedMouse mouse(collections);
    SimulatedDevice device(mouse, false);
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    EXPECT_EQ(g_devicePath, CollectionWith(collections, kReadUsagePage, 1).path);
    EXPECT_TRUE(IsOpenHidHandle(g_hidReadHandle.load()));
    EXPECT_TRUE(IsOpenHidHandle(g_hidWriteHandle.load()));
}

TEST(DeviceDiscoveryTest, EveryAcceptedModelIsFoundAndTheTableDecides)
{
    for (const DeviceId& id : kKestraDeviceIds) {
        SimulatedMouse mouse(Mouse(static_cast<uint16_t>(id.vendorId), static_cast<uint16_t>(id.productId)));
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1) << std::hex << id.vendorId << ':' << id.productId;
    }
    // A model the table does not list is found once the table lists it.
    SimulatedMouse mouse(Mouse(0x0D0E, 0x0F10));
    SimulatedDevice device(mouse, false);
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);
    const auto saved = g_deviceIds;
    g_deviceIds[3] = DeviceId{0x0D0E, 0x0F10};
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    g_deviceIds = saved;
}

TEST(DeviceDiscoveryTest, MatchingVendorWithAnotherProductIsNotAccepted)
{
    SimulatedMouse mouse(Concat({Decoy(0)}, Mouse(kVendor, 0x5199)));
    SimulatedDevice device(mouse, false);
    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);
    EXPECT_EQ(g_deviceConnected, 0);
    EXPECT_EQ(g_hidReadHandle.load(), kNoHidHandle);
    EXPECT_EQ(g_hidWriteHandle.load(), kNoHidHandle);
    EXPECT_TRUE(g_devicePath.empty());
    EXPECT_TRUE(mouse.Registrations().empty());
    // Every probe handle was given back; all 100 member indexes were tried.
    EXPECT_EQ(mouse.OpenHandleCount(), 0u);
    EXPECT_EQ(mouse.HighestMemberAsked(), 99);
}

TEST(DeviceDiscoveryTest, InterfacesFromTheHundredAndFirstOnAreNeverExamined)
{
    std::vector<SimulatedCollection> many;
    for (int i = 0; i < 100; ++i) many.push_back(Decoy(i));
    {
        SimulatedMouse mouse(Concat(many, Mouse()));
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);
        EXPECT_EQ(mouse.HighestMemberAsked(), 99);
    }
    {
        // The read collection is member 99, the write collection member 101: one handle only.
        many.resize(98);
        SimulatedMouse mouse(Concat(many, Mouse()));
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
        EXPECT_TRUE(IsOpenHidHandle(g_hidReadHandle.load()));
        EXPECT_EQ(g_hidWriteHandle.load(), kNoHidHandle);
        EXPECT_EQ(mouse.HighestMemberAsked(), 99);
        const uint8_t data[] = {1};
        EXPECT_FALSE(WriteDeviceMemory(1, data));
        EXPECT_FALSE(SendDriverExit());
    }
}

TEST(DeviceDiscoveryTest, SecondDiscoveryWithHandlesSetStopsAtTheFirstMatchAndKeepsThem)
{
    SimulatedMouse mouse(Concat({Decoy(0)}, Mouse()));
    SimulatedDevice device(mouse);
    const HidHandle read = g_hidReadHandle.load(), write = g_hidWriteHandle.load();
    const int opensBefore = mouse.OpenCount();
    const std::u16string firstMatch = mouse.Interfaces()[1].path;

    EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    // Decoy probe and the mouse's first collection, nothing more.
    EXPECT_EQ(mouse.OpenCount() - opensBefore, 2);
    EXPECT_EQ(g_devicePath, firstMatch);
    EXPECT_EQ(g_hidReadHandle.load(), read);
    EXPECT_EQ(g_hidWriteHandle.load(), write);
    EXPECT_EQ(mouse.OpenHandleCount(), 2u);
}

TEST(DeviceDiscoveryTest, CollectionsThatRefuseToOpen)
{
    {
        // The write collection refuses write access: its handle is the invalid value, which
        // still ends the search, and no report goes out through it.
        std::vector<SimulatedCollection> collections = Mouse();
        for (SimulatedCollection& c : collections) {
            if (c.usagePage == kWriteUsagePage) c.refusesDataAccess = true;
        }
        SimulatedMouse mouse(collections);
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
        EXPECT_EQ(g_hidWriteHandle.load(), kInvalidHidHandle);
        EXPECT_TRUE(IsOpenHidHandle(g_hidReadHandle.load()));
        EXPECT_EQ(mouse.HighestMemberAsked(), 3);
        EXPECT_FALSE(SendFireKey(true));
        EXPECT_TRUE(mouse.Log().empty());
    }
    {
        // The read collection cannot even be probed: it is passed over, and the search goes on.
        std::vector<SimulatedCollection> collections = Mouse();
        for (SimulatedCollection& c : collections) {
            if (c.usagePage == kReadUsagePage && c.usage == 1) c.refusesAnyOpen = true;
        }
        SimulatedMouse mouse(Concat(collections, {Decoy(1)}));
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
        EXPECT_EQ(g_hidReadHandle.load(), kNoHidHandle);
        EXPECT_TRUE(IsOpenHidHandle(g_hidWriteHandle.load()));
        EXPECT_EQ(mouse.HighestMemberAsked(), 99);
        EXPECT_EQ(g_devicePath, collections.back().path);
    }
}

TEST(DeviceDiscoveryTest, NoMouseAtAllLeavesEverythingAsItWas)
{
    for (std::vector<SimulatedCollection> interfaces : {std::vector<SimulatedCollection>{}, std::vector{Decoy(0), Decoy(1)}}) {
        SimulatedMouse mouse(interfaces);
        SimulatedDevice device(mouse, false);
        EXPECT_EQ(FindDevice(SimulatedDevice::kWindow), 0);
        EXPECT_EQ(g_hidReadHandle.load(), kNoHidHandle);
        EXPECT_EQ(g_hidWriteHandle.load(), kNoHidHandle);
        EXPECT_EQ(g_writeCaps, HidCaps{});
        EXPECT_TRUE(g_devicePath.empty());
        EXPECT_EQ(mouse.OpenHandleCount(), 0u);
    }
}

TEST(DeviceDiscoveryTest, BroadcastConcernsUsOnlyForOurInterfaceInAnyCase)
{
    SimulatedMouse mouse;
    SimulatedDevice device(mouse, false);
    EXPECT_FALSE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, u""));  // nothing found yet
    ASSERT_EQ(FindDevice(SimulatedDevice::kWindow), 1);
    const std::u16string path = g_devicePath;
    std::u16string upper = path;
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    ASSERT_NE(upper, path);
    EXPECT_TRUE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, path));
    EXPECT_TRUE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, upper));
    EXPECT_FALSE(IsOurDeviceBroadcast(2, path));  // a volume
    EXPECT_FALSE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, mouse.Interfaces()[0].path));
    EXPECT_FALSE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, path.substr(0, path.size() - 1)));
    EXPECT_FALSE(IsOurDeviceBroadcast(kBroadcastDeviceInterface, path + u"x"));
}
