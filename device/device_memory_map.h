#pragma once
// The mouse's configuration memory as the apply writes it, and the translation of a button's
// assignment into the button code the mouse understands. Pure data and functions: the apply
// sends what these produce, tests read them byte for byte.
#include <array>
#include <cstdint>

namespace DeviceMemoryMap {
constexpr uint16_t ProfileByte = 0x01;
constexpr uint16_t FirstFixedBlock = 0x08;
constexpr uint16_t DpiLevelByte = 0x18;  // 0x50 | active DPI level
constexpr uint16_t DpiEnableByte = 0x19; // bit i: DPI level i takes part in switching
constexpr uint16_t LedByte = 0x1C;
constexpr uint16_t CycleColourByte = 0x1D;
constexpr uint16_t LedFeatureByte = 0x3A;
// The byte read back before block 0x40 is written; bit 4 decides what goes there again.
constexpr uint16_t MarkerByte = 0x43;
constexpr uint16_t SlotDescriptors = 0x80;
constexpr uint16_t MacroStreams = 0x240;
// Light data of a stream must end at or below this address.
constexpr uint32_t LightDataLimit = 0x4000;
// One stream moves the next stream's address on by at most this much.
constexpr uint32_t MaxStreamAdvance = 0x2000;
constexpr uint32_t BlockSize = 8;
constexpr uint32_t FixedImageSize = 0x80;

constexpr int Profiles = 4;
constexpr int Buttons = 9;
constexpr int SlotsPerProfile = 14;
// Slots that carry a byte in the fixed blocks (9..11 hold no button and stay 0).
constexpr int SlotBytesPerProfile = 12;

// The blocks written before the marker byte is read, and those written after it, in order.
constexpr std::array<uint16_t, 7> BlocksBeforeMarker{0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38};
constexpr std::array<uint16_t, 8> BlocksAfterMarker{0x40, 0x48, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78};

// The byte of device slot `slot` (0..11) of `profile` in the fixed blocks.
constexpr uint16_t SlotByteAddress(int profile, int slot)
{
    constexpr uint16_t kFirstSlotByte[Profiles] = {0x08, 0x44, 0x50, 0x60};
    // Profile 0's slots 9..11 sit apart, at 0x3B..0x3D.
    if (profile == 0 && slot >= 9) return static_cast<uint16_t>(0x3B + slot - 9);
    return static_cast<uint16_t>(kFirstSlotByte[profile & 3] + slot);
}

constexpr uint16_t DescriptorAddress(int profile, int slot)
{
    return static_cast<uint16_t>(SlotDescriptors + BlockSize * (profile * SlotsPerProfile + slot));
}
}  // namespace DeviceMemoryMap

// The button codes of the mouse that the host has to know by value.
namespace DeviceButtonCode {
constexpr uint8_t None = 0x00;
constexpr uint8_t LeftClick = 0x01;
constexpr uint8_t DpiFunction = 0x06;
constexpr uint8_t DpiUp = 0x0B;
constexpr uint8_t DpiDown = 0x0C;
constexpr uint8_t Macro = 0x0D;
constexpr uint8_t MacroMode2 = 0x0E;
constexpr uint8_t MediaKey = 0x0F;
constexpr uint8_t Code14 = 0x15;
constexpr uint8_t FirstProfileFunction = 0x16;
}  // namespace DeviceButtonCode

// CPI code of each DPI step 0..11 (200 .. 4800 CPI).
extern const std::array<uint8_t, 12> g_dpiCodeTable;

// The CPI code of a DPI step; steps outside the table (only a damaged profile holds one) send
// the code of step 0 rather than a byte from beyond the table.
uint8_t DpiCodeOfStep(uint8_t step);

// What a ButtonAssignmentCode means to the apply.
enum class SlotKind {
    Function,       // device code given directly (mouse functions, profile and DPI functions, fire key)
    MediaKey,       // 22..31
    ConstantMacro,  // 32..39, 41..255: record constMacro of g_constMacroTable
    FileMacro,      // 256 and above: macro of a group, still to be validated
};

struct DeviceAssignment {
    SlotKind kind = SlotKind::Function;
    uint8_t deviceCode = 0;  // final for Function and MediaKey; for macros see MacroDeviceCode
    bool dpiFlag = false;
    bool profileFlag = false;
    bool fireFlag = false;
    uint8_t constMacro = 0;  // ConstantMacro
    uint32_t group = 0;      // FileMacro: group index
    uint32_t macro = 0;      // FileMacro: macro index in the group
};

// Assignments are compared as signed 32-bit numbers: a negative one sends its low byte.
DeviceAssignment TranslateAssignment(uint32_t assignment);

// The device code of a macro slot by the loop-mode byte of its macro.
constexpr uint8_t MacroDeviceCode(uint8_t loopMode)
{
    return loopMode == 2 ? DeviceButtonCode::MacroMode2 : DeviceButtonCode::Macro;
}

constexpr bool IsMacroSlotCode(uint8_t code)
{
    return code == DeviceButtonCode::Macro || code == DeviceButtonCode::MacroMode2;
}

constexpr bool HasSlotDescriptor(uint8_t code)
{
    return IsMacroSlotCode(code) || code == DeviceButtonCode::MediaKey;
}

// The LED effect the mouse was last given; the "Mute" effect keeps the mode of the apply before.
struct LedDeviceState {
    uint8_t mode = 0;           // g_ledDeviceMode
    uint8_t flag = 0;           // g_ledDeviceFlag
    uint8_t speedOverride = 0;  // g_ledSpeedOverride: 7 after a "Mute" apply, else 0
};

// The LED byte at 0x1C for an effect; updates the remembered state as one apply does.
uint8_t MapLedByte(uint8_t ledMode, uint8_t cycleTime, LedDeviceState& state);

// Everything of the settings that the fixed blocks 0x01 .. 0x7F carry, gathered in one place.
struct ConfigImageInput {
    uint32_t currentProfile = 0;
    std::array<std::array<uint8_t, DeviceMemoryMap::SlotsPerProfile>, 4> slotDeviceCodes{};
    std::array<std::array<uint32_t, 9>, 4> ledReactEnabled{};
    std::array<std::array<uint32_t, 9>, 4> ledReactType{};
    uint32_t wheelStatus = 0;
    std::array<uint8_t, 6> dpiCodes{};
    uint32_t dpiLevel = 0;
    std::array<uint8_t, 6> dpiSetEnabled{};
    uint32_t fireTime = 0;
    uint8_t ledByte = 0;
    std::array<uint32_t, 7> cycleColourEnabled{};
    uint32_t ledUserColourEnabled = 0;
    std::array<std::array<uint32_t, 3>, 7> ledUserColours{};
    std::array<std::array<uint32_t, 3>, 6> dpiColours{};
    uint32_t ledSymmetry = 0;
    uint32_t ledDirection = 0;
    uint8_t deviceOptionNibble = 0;
    uint32_t ledBrightness = 0;
};

using ConfigImage = std::array<uint8_t, DeviceMemoryMap::FixedImageSize>;

// Slot byte S(p, s): device code, reaction switch and reaction type of the button in slot s.
uint8_t SlotByte(const ConfigImageInput& input, int profile, int slot);

// The fixed part of the memory, addresses 0x00 .. 0x7F. Addresses the apply never writes stay 0;
// the marker byte 0x43 is filled by MarkerByteFor once the mouse's byte has been read.
ConfigImage BuildConfigImage(const ConfigImageInput& input);

// What goes back to 0x43 for the byte read there.
constexpr uint8_t MarkerByteFor(uint8_t byteRead) { return (byteRead & 0x10) ? 0xFF : 0xEE; }

// The Windows pointer speed for a pointer-speed step.
uint32_t WindowsMouseSpeedFor(uint8_t pointerSpeed);
