#include "settings/settings_state.h"

std::recursive_mutex g_settingsMutex;

std::array<std::array<ButtonAssignmentCode, kMouseButtonCount>, kProfileCount> g_buttonAssignments{};
uint32_t g_currentProfile = 0;
uint32_t g_curConfig = 0;

uint32_t g_dpiLevel = 0;
std::array<uint8_t, kDpiLevelCount> g_dpiSet{};
std::array<uint32_t, kDpiLevelCount> g_dpiBarPos{};
std::array<uint8_t, kDpiLevelCount> g_dpiSetEnabled{};
std::array<std::array<uint32_t, 3>, kDpiLevelCount> g_dpiColours{};
std::array<ColorRef, kDpiLevelCount> g_dpiColourRefs{};

uint8_t g_ledType = 0;
uint8_t g_ledMode = 0;
std::array<uint32_t, kLedTypeCount> g_ledTypeSwitchEnabled{};
uint8_t g_ledCycleTime = 0;
uint32_t g_ledUserColourEnabled = 0;
std::array<uint32_t, kUserColourCount> g_cycleColourEnabled{};
uint8_t g_cycleColourMask = 0;
uint32_t g_ledFeatureSColor = 0;
uint32_t g_ledSymmetry = 0;
uint32_t g_ledDirection = 0;
uint32_t g_ledBrightness = 0;
ProfileButtonTable g_ledReactEnabled{};
ProfileButtonTable g_ledReactType{};
std::array<std::array<uint32_t, 3>, kUserColourCount> g_ledUserColours{};
std::array<ColorRef, kUserColourCount> g_ledUserColourRefs{};

uint8_t g_pointerSpeed = 0;
uint8_t g_wheelSpeed = 0;
uint32_t g_wheelStatus = 0;
uint8_t g_usbSpeed = 0;
uint32_t g_fireTime = kDefaultFireTime;

uint32_t g_languageEnglish = 0;

std::u16string g_programFolder;
std::u16string g_skinFolder;
std::u16string g_configFolder;
std::u16string g_configIniPath;
std::u16string g_macroFolder;
std::u16string g_macroResetFolder;
std::u16string g_mainMaskPath;
std::u16string g_configSection;
std::u16string g_curConfigText;
std::u16string g_verSelText;

std::array<std::u16string, 48> g_functionNames;
std::array<std::u16string, 4> g_profileNames;
std::array<std::u16string, 3> g_warningTexts;
std::array<std::u16string, kLedTypeCount> g_ledTypeNames;
std::array<std::u16string, 9> g_lightModeNames;
std::array<std::u16string, AssignmentCodes::kMacroGroups> g_macroGroupNames;
std::array<std::u16string, AssignmentCodes::kMacroGroups * AssignmentCodes::kMacrosPerGroup> g_groupMacroNames;

void ResetSettingsState()
{
    std::scoped_lock lock(g_settingsMutex);
    g_buttonAssignments = {};
    g_currentProfile = 0;
    g_curConfig = 0;
    g_dpiLevel = 0;
    g_dpiSet = {};
    g_dpiBarPos = {};
    g_dpiSetEnabled = {};
    g_dpiColours = {};
    g_dpiColourRefs = {};
    g_ledType = 0;
    g_ledMode = 0;
    g_ledTypeSwitchEnabled = {};
    g_ledCycleTime = 0;
    g_ledUserColourEnabled = 0;
    g_cycleColourEnabled = {};
    g_cycleColourMask = 0;
    g_ledFeatureSColor = 0;
    g_ledSymmetry = 0;
    g_ledDirection = 0;
    g_ledBrightness = 0;
    g_ledReactEnabled = {};
    g_ledReactType = {};
    g_ledUserColours = {};
    g_ledUserColourRefs = {};
    g_pointerSpeed = 0;
    g_wheelSpeed = 0;
    g_wheelStatus = 0;
    g_usbSpeed = 0;
    g_fireTime = kDefaultFireTime;
    g_languageEnglish = 0;
    for (std::u16string* text : {&g_programFolder, &g_skinFolder, &g_configFolder, &g_configIniPath, &g_macroFolder,
                                 &g_macroResetFolder, &g_mainMaskPath, &g_configSection, &g_curConfigText,
                                 &g_verSelText}) {
        text->clear();
    }
    g_functionNames = {};
    g_profileNames = {};
    g_warningTexts = {};
    g_ledTypeNames = {};
    g_lightModeNames = {};
    g_macroGroupNames = {};
    g_groupMacroNames = {};
}

void RecomputeColourRefs()
{
    for (size_t i = 0; i < g_dpiColours.size(); ++i) g_dpiColourRefs[i] = ColorRefFromStored(g_dpiColours[i]);
    for (size_t i = 0; i < g_ledUserColours.size(); ++i) g_ledUserColourRefs[i] = ColorRefFromStored(g_ledUserColours[i]);
}

void RebuildCycleColourMask()
{
    uint8_t mask = 0;
    for (size_t k = 0; k < g_cycleColourEnabled.size(); ++k) {
        if (g_cycleColourEnabled[k] != 0) mask = static_cast<uint8_t>(mask | 1u << k);
    }
    g_cycleColourMask = mask;
}

void SplitCycleColourMask()
{
    for (size_t k = 0; k < g_cycleColourEnabled.size(); ++k) g_cycleColourEnabled[k] = (g_cycleColourMask >> k) & 1u;
}
