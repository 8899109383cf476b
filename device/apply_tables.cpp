#include "device/apply_tables.h"

ProfileSlotCodes g_buttonDeviceCodes{};
const std::array<uint8_t, DeviceMemoryMap::Buttons> g_buttonSlotOrder{1, 2, 3, 4, 5, 6, 7, 8, 9};
ProfileSlotCodes g_slotDeviceCodes{};
ProfileSlotValues g_slotAssignments{};
ProfileButtonFlags g_buttonFireFlag{};
ProfileButtonFlags g_buttonProfileFlag{};
ProfileButtonFlags g_buttonDpiFlag{};
std::array<uint8_t, 6> g_dpiCodes{};

uint8_t g_ledDeviceMode = 0;
uint8_t g_ledDeviceFlag = 0;
uint8_t g_ledSpeedOverride = 0;

std::array<uint16_t, 10 * 12> g_fileMacroStreamSize{};
std::array<uint16_t, 13> g_constMacroStreamSize{};
ProfileSlotValues g_slotMacroAddress{};
ProfileSlotValues g_slotKeyUsage{};
ProfileSlotValues g_slotConsumerUsage{};
uint32_t g_slot0MacroAddress = 0;
uint32_t g_slot0MacroSize = 0;
Slot0StreamTarget g_slot0StreamTarget;

uint32_t g_settingsApplied = 0;
uint8_t g_deviceOptionNibble = 0;

void ResetApplyTables()
{
    g_buttonDeviceCodes = {};
    g_slotDeviceCodes = {};
    g_slotAssignments = {};
    g_buttonFireFlag = {};
    g_buttonProfileFlag = {};
    g_buttonDpiFlag = {};
    g_dpiCodes = {};
    g_ledDeviceMode = 0;
    g_ledDeviceFlag = 0;
    g_ledSpeedOverride = 0;
    g_fileMacroStreamSize = {};
    g_constMacroStreamSize = {};
    g_slotMacroAddress = {};
    g_slotKeyUsage = {};
    g_slotConsumerUsage = {};
    g_slot0MacroAddress = 0;
    g_slot0MacroSize = 0;
    g_slot0StreamTarget = {};
    g_settingsApplied = 0;
    g_deviceOptionNibble = 0;
}
