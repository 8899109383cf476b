#pragma once
// The program's one model of the mouse configuration: plain program-wide globals that every part
// of the program reads and the profile store loads and saves.
//
// Sharing: the user-interface thread and the two device threads read and write these globals, and
// one lock guards them all, g_settingsMutex (recursive). A device thread writes the current
// profile, the DPI level and, through a profile load, every value of the settings, so every
// reading and writing of them on another thread holds the lock:
//  - every load or save of config.ini holds it for the whole call, which also keeps the scratch
//    texts g_configSection and g_curConfigText to that call;
//  - a thread that changes several related globals that others must see together (a profile
//    switch, a reset) holds it around the change;
//  - painting does not take it (the apply and the step download hold it for seconds): it works on
//    a copy made when the lock is free (ui/pages/paint_settings.h).
// The names tables and folders below are written on the user-interface thread only.
//
// Values come from a file the user may edit and are kept as loaded (an 8-bit global keeps the low
// 8 bits, so LED_TYPE=300 is 44). Whoever indexes a table with one of them checks the range first.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "settings/button_assignment.h"
#include "settings/colour_channels.h"

constexpr uint32_t kProfileCount = 4;
constexpr uint32_t kMouseButtonCount = 9;
constexpr uint32_t kDpiLevelCount = 6;
constexpr uint32_t kUserColourCount = 7;
constexpr uint32_t kLedTypeCount = 10;
constexpr uint32_t kDefaultFireTime = 50;

using ProfileButtonTable = std::array<std::array<uint32_t, kMouseButtonCount>, kProfileCount>;

extern std::recursive_mutex g_settingsMutex;

// Profiles and button assignments.
extern std::array<std::array<ButtonAssignmentCode, kMouseButtonCount>, kProfileCount> g_buttonAssignments;
// Profile 1's assignments after a reset (258: macro 2 of the first group).
inline constexpr std::array<ButtonAssignmentCode, kMouseButtonCount> g_defaultButtonAssignments = {
    1, 2, 3, 4, 5, 16, 13, 15, 258};
extern uint32_t g_currentProfile;  // 0..3
extern uint32_t g_curConfig;       // 1..4, g_currentProfile + 1 once the start-up has run

// DPI.
extern uint32_t g_dpiLevel;                                     // active level 0..5
extern std::array<uint8_t, kDpiLevelCount> g_dpiSet;            // step 0..11 of each level
extern std::array<uint32_t, kDpiLevelCount> g_dpiBarPos;        // g_dpiSet[i] + 66 + 12*i
extern std::array<uint8_t, kDpiLevelCount> g_dpiSetEnabled;     // 0/1
extern std::array<std::array<uint32_t, 3>, kDpiLevelCount> g_dpiColours;  // R, G, B stored form
extern std::array<ColorRef, kDpiLevelCount> g_dpiColourRefs;

// Lighting.
extern uint8_t g_ledType;  // effect 0..9
extern uint8_t g_ledMode;  // always equal to g_ledType
extern std::array<uint32_t, kLedTypeCount> g_ledTypeSwitchEnabled;
extern uint8_t g_ledCycleTime;            // effect speed 0..5
extern uint32_t g_ledUserColourEnabled;   // 1 once a profile has been loaded or saved
extern std::array<uint32_t, kUserColourCount> g_cycleColourEnabled;  // working form, 0/1 per slot
extern uint8_t g_cycleColourMask;         // stored form: bit k = g_cycleColourEnabled[k]
extern uint32_t g_ledFeatureSColor;       // saved, never set
extern uint32_t g_ledSymmetry;            // 0/1
extern uint32_t g_ledDirection;           // 0..3
extern uint32_t g_ledBrightness;          // 0..7
extern ProfileButtonTable g_ledReactEnabled;  // [profile][button] 0/1
extern ProfileButtonTable g_ledReactType;     // [profile][button] 0..3
extern std::array<std::array<uint32_t, 3>, kUserColourCount> g_ledUserColours;
extern std::array<ColorRef, kUserColourCount> g_ledUserColourRefs;

// Speeds and timing.
extern uint8_t g_pointerSpeed;
extern uint8_t g_wheelSpeed;  // wheel scroll lines - 1
extern uint32_t g_wheelStatus;
extern uint8_t g_usbSpeed;
extern uint32_t g_fireTime;   // 1..300, start value 50

// Language: 1 English (INI_EN), 0 Spanish (INI_CN). Only these two values are ever stored.
extern uint32_t g_languageEnglish;

// Folders and paths.
extern std::u16string g_programFolder;     // no trailing backslash
extern std::u16string g_skinFolder;        // g_programFolder + "\skins"
extern std::u16string g_configFolder;      // g_skinFolder + "\config\"
extern std::u16string g_configIniPath;     // g_skinFolder + "\config\config.ini"
extern std::u16string g_macroFolder;       // g_skinFolder + "\INI_EN\macro\" or "\INI_CN\macro\"
extern std::u16string g_macroResetFolder;  // g_skinFolder + "\INI_EN\macroReset\" or "\INI_CN\..."
extern std::u16string g_mainMaskPath;      // g_skinFolder + "\main_mask.jpg"
extern std::u16string g_configSection;     // scratch of the profile store, under g_settingsMutex
extern std::u16string g_curConfigText;     // scratch of the profile store, under g_settingsMutex
extern std::u16string g_verSelText;

// Display names, filled from the layout files and by language.
extern std::array<std::u16string, 48> g_functionNames;  // by assignment code 0..47
extern std::array<std::u16string, 4> g_profileNames;
extern std::array<std::u16string, 3> g_warningTexts;
extern std::array<std::u16string, kLedTypeCount> g_ledTypeNames;
extern std::array<std::u16string, 9> g_lightModeNames;
extern std::array<std::u16string, AssignmentCodes::kMacroGroups> g_macroGroupNames;
extern std::array<std::u16string, AssignmentCodes::kMacroGroups * AssignmentCodes::kMacrosPerGroup> g_groupMacroNames;

// Puts every global back to its start value (g_fireTime 50, everything else zero or empty).
void ResetSettingsState();

// Recomputes the display colours from the stored channels, DPI levels and user colours.
void RecomputeColourRefs();

// Rebuilds the stored cycle-colour mask from the seven flags, and the other way round.
void RebuildCycleColourMask();
void SplitCycleColourMask();

// The slider position of DPI level i follows its step.
constexpr uint32_t DpiBarPosition(uint32_t level, uint8_t step) { return step + 66u + 12u * level; }
