#include "device/apply_writer.h"

#include <mutex>
#include <span>
#include <vector>

#include "base/user_prompts.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/main_window_link.h"
#include "device/system_parameters.h"
#include "macros/macro_groups.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

namespace {

using namespace DeviceMemoryMap;

void WriteBlock(const ConfigImage& image, uint16_t address)
{
    WriteDeviceMemory(address, std::span<const uint8_t>(image).subspan(address, BlockSize));
}

bool FileMacroExists(uint32_t group, uint32_t macro)
{
    return group < g_macroGroupCount && group < kMaxMacroGroups &&
           static_cast<int64_t>(macro) < g_groupMacroCounts[group];
}

void SetWindowsPointerAndWheel()
{
    SystemParameters& parameters = GetSystemParameters();
    uint32_t current = 0;
    if (parameters.GetMouseSpeed(current))
        parameters.SetMouseSpeed(WindowsMouseSpeedFor(g_pointerSpeed),
                                 SystemParameterUpdate::WriteUserProfile | SystemParameterUpdate::Broadcast);
    if (parameters.GetWheelScrollLines(current))
        parameters.SetWheelScrollLines(static_cast<uint8_t>(g_wheelSpeed + 1), SystemParameterUpdate::WriteUserProfile);
}

}  // namespace

ConfigImageInput GatherConfigImageInput()
{
    ConfigImageInput in;
    in.currentProfile = g_currentProfile;
    in.slotDeviceCodes = g_slotDeviceCodes;
    in.ledReactEnabled = g_ledReactEnabled;
    in.ledReactType = g_ledReactType;
    in.wheelStatus = g_wheelStatus;
    in.dpiCodes = g_dpiCodes;
    in.dpiLevel = g_dpiLevel;
    in.dpiSetEnabled = g_dpiSetEnabled;
    in.fireTime = g_fireTime;
    in.cycleColourEnabled = g_cycleColourEnabled;
    in.ledUserColourEnabled = g_ledUserColourEnabled;
    in.ledUserColours = g_ledUserColours;
    in.dpiColours = g_dpiColours;
    in.ledSymmetry = g_ledSymmetry;
    in.ledDirection = g_ledDirection;
    in.deviceOptionNibble = g_deviceOptionNibble;
    in.ledBrightness = g_ledBrightness;
    return in;
}

void TranslateButtonAssignments(const MacroFilesAccess& macros)
{
    for (int p = 0; p < Profiles; ++p) {
        for (int i = 0; i < Buttons; ++i) {
            const DeviceAssignment a = TranslateAssignment(g_buttonAssignments[p][i]);
            uint8_t code = a.deviceCode;
            if (a.kind == SlotKind::ConstantMacro) {
                code = MacroDeviceCode(g_constMacroTable[a.constMacro].loopMode);
            } else if (a.kind == SlotKind::FileMacro) {
                if (FileMacroExists(a.group, a.macro)) {
                    LoadMacroFromFile(macros.files, macros.layout, macros.macroFolder, g_activeMacro, a.group, a.macro);
                    code = MacroDeviceCode(g_activeMacro.loopMode);
                } else {
                    g_buttonAssignments[p][i] = 0;
                    code = DeviceButtonCode::None;
                }
            }
            g_buttonDeviceCodes[p][i] = code;
            g_buttonFireFlag[p][i] = a.fireFlag;
            g_buttonProfileFlag[p][i] = a.profileFlag;
            g_buttonDpiFlag[p][i] = a.dpiFlag;
        }
        g_slotDeviceCodes[p] = {};
        g_slotAssignments[p] = {};
        for (int i = 0; i < Buttons; ++i) {
            g_slotDeviceCodes[p][g_buttonSlotOrder[i] - 1] = g_buttonDeviceCodes[p][i];
            g_slotAssignments[p][g_buttonSlotOrder[i] - 1] = g_buttonAssignments[p][i];
        }
    }
}

namespace {

// Everything the apply does with the settings lock held. False when the light-data limit stopped
// it before its finishing commands.
bool ApplyLocked(DeviceLinkFiles& files)
{
    const MacroFilesAccess& macros = files.macros;

    // The macros go to the mouse as their files hold them: every edit was saved when it was made,
    // and a macro being recorded replaces its stored one only when the recording stops.
    if (g_macroGroupCount != 0) LoadGroupMacroNames(macros.files, macros.macroFolder);
    g_settingsApplied = 1;
    WriteCurConfig(files.configIni, g_currentProfile + 1);
    SaveConfigToIni(files.configIni, 6);

    TranslateButtonAssignments(macros);
    for (size_t i = 0; i < g_dpiCodes.size(); ++i) g_dpiCodes[i] = DpiCodeOfStep(g_dpiSet[i]);
    RebuildCycleColourMask();

    ConfigImageInput input = GatherConfigImageInput();
    LedDeviceState led{g_ledDeviceMode, g_ledDeviceFlag, g_ledSpeedOverride};
    input.ledByte = MapLedByte(g_ledMode, g_ledCycleTime, led);
    g_ledDeviceMode = led.mode;
    g_ledDeviceFlag = led.flag;
    g_ledSpeedOverride = led.speedOverride;
    ConfigImage image = BuildConfigImage(input);

    WriteDeviceMemory(ProfileByte, std::span<const uint8_t>(image).subspan(ProfileByte, 1));
    for (uint16_t address : BlocksBeforeMarker) WriteBlock(image, address);
    std::array<uint8_t, 1> marker{};
    ReadDeviceMemory(MarkerByte, marker);
    image[MarkerByte] = MarkerByteFor(marker[0]);
    for (uint16_t address : BlocksAfterMarker) WriteBlock(image, address);

    // The streams about to be written replace whatever the last apply placed.
    g_slot0StreamTarget = {};
    const MacroSlotPlan plan = WriteSlotDescriptors(macros);
    if (!WriteMacroStreams(macros, plan)) return false;
    const uint32_t profile = g_currentProfile & 3;
    g_slot0StreamTarget = {true, profile, g_slotAssignments[profile][0]};

    SendApplyAll();
    SetWindowsPointerAndWheel();
    SaveConfigToIni(files.configIni, static_cast<int>(g_curConfig));
    return true;
}

}  // namespace

void WriteSettingsToDevice(DeviceLinkFiles& files)
{
    std::vector<MessageCollector::Message> messages;
    bool finished = false;
    {
        MessageCollector collector;
        std::lock_guard settingsLock(g_settingsMutex);
        finished = ApplyLocked(files);
        messages = collector.Messages();
    }
    if (finished) RequestMainWindowRepaint();
    ShowCollected(messages);
}
