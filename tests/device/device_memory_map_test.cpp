#include "device/device_memory_map.h"

#include <gtest/gtest.h>

namespace {

ConfigImageInput PlainInput()
{
    ConfigImageInput in;
    in.dpiCodes = {1, 3, 5, 9, 13, 15};
    in.fireTime = 50;
    return in;
}

TEST(DeviceMemoryMap, ProfileByteCarriesTheCurrentProfile)
{
    ConfigImageInput in = PlainInput();
    EXPECT_EQ(BuildConfigImage(in)[0x01], 0x02);
    in.currentProfile = 3;
    EXPECT_EQ(BuildConfigImage(in)[0x01], 0x62);
}

TEST(DeviceMemoryMap, SlotBytesCarryCodeAndReaction)
{
    ConfigImageInput in = PlainInput();
    in.slotDeviceCodes[0] = {1, 2, 3, 0x15, 0x0D, 0x0B, 0x0F, 0x1A, 0x16};
    in.ledReactEnabled[0][1] = 1;
    in.ledReactType[0][2] = 3;
    in.ledReactEnabled[0][8] = 1;
    in.ledReactType[0][8] = 2;
    in.slotDeviceCodes[1] = {4, 5, 6, 7, 8, 9, 10, 11, 12};
    in.ledReactEnabled[1][4] = 1;
    in.slotDeviceCodes[2][8] = 0x0E;
    in.slotDeviceCodes[3][0] = 0x0D;
    in.ledReactType[3][0] = 1;
    const ConfigImage m = BuildConfigImage(in);

    const std::array<uint8_t, 8> block08{0x01, 0x22, 0xC3, 0x15, 0x0D, 0x0B, 0x0F, 0x1A};
    EXPECT_TRUE(std::equal(block08.begin(), block08.end(), m.begin() + 0x08));
    EXPECT_EQ(m[0x10], 0x16 + 32 * (1 + 2 * 2));
    // Profile 1 starts after the marker byte and runs into block 0x48.
    const std::array<uint8_t, 12> profile1{4, 5, 6, 7, 8 + 32, 9, 10, 11, 12, 0, 0, 0};
    EXPECT_TRUE(std::equal(profile1.begin(), profile1.end(), m.begin() + 0x44));
    EXPECT_EQ(m[0x58], 0x0E);
    EXPECT_EQ(m[0x60], 0x0D + 64);
    // Slots 9..11 never carry anything.
    EXPECT_EQ(m[0x3B], 0);
    EXPECT_EQ(m[0x3C], 0);
    EXPECT_EQ(m[0x3D], 0);
    // The addresses the mouse looks a button up by are the ones the image fills.
    for (int p = 0; p < 4; ++p) {
        for (int slot = 0; slot < 9; ++slot) EXPECT_EQ(m[DeviceMemoryMap::SlotByteAddress(p, slot)], SlotByte(in, p, slot)) << p << slot;
    }
    EXPECT_EQ(DeviceMemoryMap::SlotByteAddress(0, 8), 0x10);
    EXPECT_EQ(DeviceMemoryMap::SlotByteAddress(0, 11), 0x3D);
    EXPECT_EQ(DeviceMemoryMap::SlotByteAddress(1, 11), 0x4F);
    EXPECT_EQ(DeviceMemoryMap::SlotByteAddress(3, 11), 0x6B);
}

TEST(DeviceMemoryMap, DpiCodesEnableMaskAndFireTime)
{
    ConfigImageInput in = PlainInput();
    in.dpiLevel = 13;  // only the low three bits reach the mouse
    in.dpiSetEnabled = {1, 0, 1, 1, 0, 1};
    in.wheelStatus = 1;
    ConfigImage m = BuildConfigImage(in);
    EXPECT_EQ(m[0x13], 0x3F);
    EXPECT_EQ(m[0x14], 0x01);
    EXPECT_EQ(m[0x15], 0x13);
    EXPECT_EQ(m[0x16], 0x59);
    EXPECT_EQ(m[0x17], 0xDF);
    EXPECT_EQ(m[0x18], 0x55);
    EXPECT_EQ(m[0x19], 0x2D);
    EXPECT_EQ(m[0x1A], 0x06);
    EXPECT_EQ(m[0x1B], 0x00);
    EXPECT_EQ(m[0x1E], 0x07);

    in.fireTime = 300;
    m = BuildConfigImage(in);
    EXPECT_EQ(m[0x1A], 0x25);
    in.fireTime = 4000;
    m = BuildConfigImage(in);
    EXPECT_EQ(m[0x1A], 0xF4);
    EXPECT_EQ(m[0x1B], 0x01);
}

TEST(DeviceMemoryMap, DpiStepsBeyondTheTableSendStepZero)
{
    EXPECT_EQ(DpiCodeOfStep(0), 1);
    EXPECT_EQ(DpiCodeOfStep(7), 9);
    EXPECT_EQ(DpiCodeOfStep(11), 15);
    EXPECT_EQ(DpiCodeOfStep(12), 1);
    EXPECT_EQ(DpiCodeOfStep(255), 1);
}

TEST(DeviceMemoryMap, LedByteFollowsTheRememberedMode)
{
    LedDeviceState state;
    // "Mute" right after start: mode 0, flag 0, speed 7.
    EXPECT_EQ(MapLedByte(9, 2, state), 0x87);
    EXPECT_EQ(state.speedOverride, 7);
    EXPECT_EQ(MapLedByte(4, 2, state), 0xC2);
    EXPECT_EQ(MapLedByte(9, 2, state), 0xC7);
    // "Button response": mode 1 with the flag.
    EXPECT_EQ(MapLedByte(8, 3, state), 0x9B);
    // An unknown effect repeats what was sent last, speed 7 only after a "Mute".
    EXPECT_EQ(MapLedByte(12, 5, state), 0x9D);
    EXPECT_EQ(MapLedByte(9, 5, state), 0x97);
    EXPECT_EQ(MapLedByte(12, 5, state), 0x97);
    // The speed keeps its low three bits only.
    EXPECT_EQ(MapLedByte(0, 0x0F, state), 0x87);
}

TEST(DeviceMemoryMap, ColoursCycleByteAndFeatureByte)
{
    ConfigImageInput in = PlainInput();
    for (int c = 0; c < 7; ++c)
        for (int ch = 0; ch < 3; ++ch) in.ledUserColours[c][ch] = static_cast<uint32_t>((3 * c + ch) % 16);
    for (int l = 0; l < 6; ++l)
        for (int ch = 0; ch < 3; ++ch) in.dpiColours[l][ch] = static_cast<uint32_t>(15 - (3 * l + ch) % 16);
    in.cycleColourEnabled = {1, 0, 1, 0, 0, 0, 1};
    in.ledUserColourEnabled = 1;
    in.ledByte = 0xC7;
    in.ledSymmetry = 1;
    in.ledDirection = 2;
    in.deviceOptionNibble = 0x0A;
    in.ledBrightness = 5;
    const ConfigImage m = BuildConfigImage(in);

    EXPECT_EQ(m[0x1C], 0xC7);
    EXPECT_EQ(m[0x1D], 0xC5);
    for (int k = 0; k < 18; ++k) {
        const uint8_t expected = static_cast<uint8_t>(((k % 16) << 4) | (15 - k % 16));
        EXPECT_EQ(m[0x20 + k], expected) << "pair " << k;
    }
    EXPECT_EQ(m[0x32], 0xFF);
    EXPECT_EQ(m[0x33], 0x03);
    EXPECT_EQ(m[0x3A], 0x6A);
    EXPECT_EQ(m[0x3E], 0x23);  // user colour 6: channels 18 % 16 and 19 % 16
    EXPECT_EQ(m[0x3F], 0x54);
}

TEST(DeviceMemoryMap, UnwrittenAddressesStayZero)
{
    ConfigImageInput in = PlainInput();
    const ConfigImage m = BuildConfigImage(in);
    EXPECT_EQ(m[0x00], 0);
    for (int a = 0x02; a < 0x08; ++a) EXPECT_EQ(m[a], 0);
    for (int a = 0x70; a < 0x80; ++a) EXPECT_EQ(m[a], 0);
    EXPECT_EQ(MarkerByteFor(0x10), 0xFF);
    EXPECT_EQ(MarkerByteFor(0xEF), 0xEE);
}

TEST(DeviceButtonCode, AssignmentsTranslate)
{
    struct Case {
        uint32_t v;
        uint8_t code;
        bool dpi, profile, fire;
    };
    const Case cases[] = {
        {0, 0, false, false, false},   {1, 1, false, false, false},      {5, 5, false, false, false},
        {6, 6, true, false, false},
        {7, 3, false, false, false},   {10, 6, true, false, false},      {13, 9, false, false, false},
        {14, 0x15, false, false, false}, {15, 0x0B, true, false, false}, {16, 0x0C, true, false, false},
        {17, 0x16, false, true, false}, {21, 0x1A, false, true, false},  {22, 0x0F, false, false, false},
        {31, 0x0F, false, false, false}, {40, 0x00, false, false, false, }, {0xFFFFFFF5u, 0xF5, false, false, false},
    };
    for (const Case& c : cases) {
        const DeviceAssignment a = TranslateAssignment(c.v);
        EXPECT_EQ(a.deviceCode, c.code) << c.v;
        EXPECT_EQ(a.dpiFlag, c.dpi) << c.v;
        EXPECT_EQ(a.profileFlag, c.profile) << c.v;
    }
    EXPECT_TRUE(TranslateAssignment(40).fireFlag);
    // The media keys, 22..31, and one past each end.
    EXPECT_NE(TranslateAssignment(21).kind, SlotKind::MediaKey);
    EXPECT_EQ(TranslateAssignment(22).kind, SlotKind::MediaKey);
    EXPECT_EQ(TranslateAssignment(31).kind, SlotKind::MediaKey);
    EXPECT_EQ(TranslateAssignment(32).kind, SlotKind::ConstantMacro);
}

TEST(DeviceButtonCode, MacroAssignmentsNameTheirRecord)
{
    DeviceAssignment a = TranslateAssignment(33);
    EXPECT_EQ(a.kind, SlotKind::ConstantMacro);
    EXPECT_EQ(a.constMacro, 1);
    EXPECT_EQ(TranslateAssignment(44).constMacro, 12);
    EXPECT_EQ(TranslateAssignment(45).constMacro, 0);
    EXPECT_EQ(TranslateAssignment(70 + 30).constMacro, 0);  // a key assignment plays constant macro 0
    EXPECT_EQ(TranslateAssignment(255).kind, SlotKind::ConstantMacro);

    a = TranslateAssignment(0x305);
    EXPECT_EQ(a.kind, SlotKind::FileMacro);
    EXPECT_EQ(a.group, 2u);
    EXPECT_EQ(a.macro, 5u);
    EXPECT_EQ(MacroDeviceCode(2), 0x0E);
    EXPECT_EQ(MacroDeviceCode(6), 0x0D);  // the whole byte decides
    EXPECT_EQ(MacroDeviceCode(1), 0x0D);
}

TEST(DeviceMemoryMap, WindowsPointerSpeeds)
{
    const uint32_t expected[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 18};
    for (uint8_t step = 0; step < 11; ++step) EXPECT_EQ(WindowsMouseSpeedFor(step), expected[step]);
    EXPECT_EQ(WindowsMouseSpeedFor(255), 18u);
}

}  // namespace
