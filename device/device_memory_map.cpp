#include "device/device_memory_map.h"

const std::array<uint8_t, 12> g_dpiCodeTable{1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14, 15};

uint8_t DpiCodeOfStep(uint8_t step)
{
    return step < g_dpiCodeTable.size() ? g_dpiCodeTable[step] : g_dpiCodeTable[0];
}

DeviceAssignment TranslateAssignment(uint32_t assignment)
{
    const int32_t v = static_cast<int32_t>(assignment);
    DeviceAssignment result;
    if (v < 0) {
        result.deviceCode = static_cast<uint8_t>(v & 0xFF);
    } else if (v <= 6) {
        result.deviceCode = static_cast<uint8_t>(v);
        result.dpiFlag = v == 6;
    } else if (v <= 13) {
        result.deviceCode = static_cast<uint8_t>(v - 4);
        result.dpiFlag = v == 10;
    } else if (v == 14) {
        result.deviceCode = DeviceButtonCode::Code14;
    } else if (v <= 16) {
        result.deviceCode = static_cast<uint8_t>(v - 4);
        result.dpiFlag = true;
    } else if (v <= 21) {
        result.deviceCode = static_cast<uint8_t>(v + 5);
        result.profileFlag = true;
    } else if (v <= 31) {
        result.kind = SlotKind::MediaKey;
        result.deviceCode = DeviceButtonCode::MediaKey;
    } else if (v == 40) {
        result.deviceCode = DeviceButtonCode::None;
        result.fireFlag = true;
    } else if (v <= 255) {
        result.kind = SlotKind::ConstantMacro;
        result.constMacro = static_cast<uint8_t>(v - 32 <= 12 ? v - 32 : 0);
        result.deviceCode = DeviceButtonCode::Macro;
    } else {
        result.kind = SlotKind::FileMacro;
        result.group = static_cast<uint32_t>(v >> 8) - 1;
        result.macro = static_cast<uint32_t>(v & 0xFF);
        result.deviceCode = DeviceButtonCode::Macro;
    }
    return result;
}

uint8_t MapLedByte(uint8_t ledMode, uint8_t cycleTime, LedDeviceState& state)
{
    uint8_t mode;
    uint8_t flag;
    uint8_t speed;
    if (ledMode <= 7) {
        mode = ledMode;
        flag = 0;
        speed = cycleTime;
        state = {mode, flag, 0};
    } else if (ledMode == 8) {
        mode = 1;
        flag = 1;
        speed = cycleTime;
        state = {mode, flag, 0};
    } else if (ledMode == 9) {
        mode = state.mode;
        flag = 0;
        speed = 7;
        state.flag = 0;
        state.speedOverride = 7;
    } else {
        mode = state.mode;
        flag = state.flag;
        speed = state.speedOverride == 7 ? 7 : cycleTime;
    }
    return static_cast<uint8_t>(0x80 | ((mode & 7) << 4) | ((flag & 1) << 3) | (speed & 7));
}

uint8_t SlotByte(const ConfigImageInput& input, int profile, int slot)
{
    if (slot >= 9) return 0;  // slots 9..11 hold no button
    const uint32_t code = input.slotDeviceCodes[profile][slot];
    const uint32_t enabled = input.ledReactEnabled[profile][slot];
    const uint32_t type = input.ledReactType[profile][slot];
    return static_cast<uint8_t>(code + 32 * (enabled + 2 * type));
}

namespace {
// The user colours as 21 channel values and the DPI colours as 18, in the order of the pairs.
uint8_t UserChannel(const ConfigImageInput& input, int k) { return input.ledUserColours[k / 3][k % 3] & 0x0F; }
uint8_t DpiChannel(const ConfigImageInput& input, int k) { return input.dpiColours[k / 3][k % 3] & 0x0F; }
uint8_t ColourPair(const ConfigImageInput& input, int k)
{
    return static_cast<uint8_t>((UserChannel(input, k) << 4) | DpiChannel(input, k));
}
uint8_t Nibbles(uint8_t high, uint8_t low) { return static_cast<uint8_t>(((high & 0x0F) << 4) | (low & 0x0F)); }
}  // namespace

ConfigImage BuildConfigImage(const ConfigImageInput& in)
{
    ConfigImage m{};
    auto S = [&](int p, int s) { return SlotByte(in, p, s); };

    m[0x01] = static_cast<uint8_t>(((in.currentProfile & 3) << 5) | 0x02);

    for (int s = 0; s < 8; ++s) m[0x08 + s] = S(0, s);

    m[0x10] = S(0, 8);
    m[0x13] = 0x3F;
    m[0x14] = static_cast<uint8_t>(in.wheelStatus);
    m[0x15] = Nibbles(in.dpiCodes[0], in.dpiCodes[1]);
    m[0x16] = Nibbles(in.dpiCodes[2], in.dpiCodes[3]);
    m[0x17] = Nibbles(in.dpiCodes[4], in.dpiCodes[5]);

    m[0x18] = static_cast<uint8_t>(0x50 | (in.dpiLevel & 7));
    uint8_t enableMask = 0;
    for (int i = 0; i < 6; ++i)
        if (in.dpiSetEnabled[i]) enableMask |= static_cast<uint8_t>(1 << i);
    m[0x19] = enableMask;
    const uint32_t fire = in.fireTime / 8;
    m[0x1A] = static_cast<uint8_t>(fire & 0xFF);
    m[0x1B] = static_cast<uint8_t>((fire >> 8) & 0xFF);
    m[0x1C] = in.ledByte;
    uint8_t cycle = in.ledUserColourEnabled ? 0x80 : 0x00;
    for (int i = 0; i < 7; ++i)
        if (in.cycleColourEnabled[i]) cycle |= static_cast<uint8_t>(1 << i);
    m[0x1D] = cycle;
    m[0x1E] = 0x07;

    for (int k = 0; k < 18; ++k) m[0x20 + k] = ColourPair(in, k);
    m[0x32] = 0xFF;
    m[0x33] = 0x03;

    m[0x3A] = static_cast<uint8_t>(((in.ledSymmetry & 1) << 6) | ((in.ledDirection & 3) << 4) |
                                   (in.deviceOptionNibble & 0x0F));
    m[0x3B] = S(0, 9);
    m[0x3C] = S(0, 10);
    m[0x3D] = S(0, 11);
    m[0x3E] = Nibbles(UserChannel(in, 18), UserChannel(in, 19));
    m[0x3F] = static_cast<uint8_t>(((in.ledBrightness & 7) << 4) | UserChannel(in, 20));

    for (int s = 0; s < 4; ++s) m[0x44 + s] = S(1, s);
    for (int s = 4; s < 12; ++s) m[0x48 + s - 4] = S(1, s);
    for (int s = 0; s < 8; ++s) m[0x50 + s] = S(2, s);
    for (int s = 8; s < 12; ++s) m[0x58 + s - 8] = S(2, s);
    for (int s = 0; s < 8; ++s) m[0x60 + s] = S(3, s);
    for (int s = 8; s < 12; ++s) m[0x68 + s - 8] = S(3, s);
    return m;
}

uint32_t WindowsMouseSpeedFor(uint8_t pointerSpeed)
{
    static constexpr std::array<uint32_t, 9> kSpeeds{1, 2, 4, 6, 8, 10, 12, 14, 16};
    return pointerSpeed < kSpeeds.size() ? kSpeeds[pointerSpeed] : 18;
}
