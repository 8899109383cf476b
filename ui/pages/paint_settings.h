#pragma once
// The settings one paint shows, as one copy: a profile switched on the mouse rewrites the current
// profile and every loaded value on the input thread, and a paint that read the globals one by one
// could show the buttons of one profile under the name of another.
//
// The copy is made under g_settingsMutex and g_macroStoreLock, each tried, never waited for: the
// step download and the apply hold them for seconds, and a paint must not freeze the window that
// long. When either is taken the paint shows the copy of the paint before; whoever holds them
// requests a repaint once the change it makes is done. One painting thread at a time (the
// window's), which owns the copy.
#include <array>
#include <cstdint>
#include <optional>

#include "settings/button_assignment.h"
#include "settings/colour_channels.h"
#include "settings/settings_state.h"

struct PaintSettings {
    uint32_t currentProfile = 0;  // rows below are this profile's (zeros when it is not 0..3)
    std::array<ButtonAssignmentCode, kMouseButtonCount> buttonAssignments{};
    std::array<uint32_t, kMouseButtonCount> ledReactEnabled{};
    std::array<uint32_t, kMouseButtonCount> ledReactType{};
    uint32_t dpiLevel = 0;
    std::array<uint8_t, kDpiLevelCount> dpiSetEnabled{};
    std::array<ColorRef, kDpiLevelCount> dpiColourRefs{};
    std::array<uint32_t, kDpiLevelCount> dpiBarPos{};
    uint8_t pointerSpeed = 0;
    uint8_t wheelSpeed = 0;
    uint32_t fireTime = 0;
    uint8_t ledType = 0;
    uint8_t ledMode = 0;
    uint8_t ledCycleTime = 0;
    uint32_t ledUserColourEnabled = 0;
    std::array<uint32_t, kUserColourCount> cycleColourEnabled{};
    uint32_t ledSymmetry = 0;
    uint32_t ledDirection = 0;
    uint32_t ledBrightness = 0;
    std::array<ColorRef, kUserColourCount> ledUserColourRefs{};
    uint32_t languageEnglish = 0;
    // The play mode of the macro open in the editor; none when no macro is open.
    std::optional<uint8_t> currentMacroLoopMode;
};

// The copy for a paint about to start: made afresh when both locks are free, else the last one.
const PaintSettings& TakePaintSettings();
// Makes the copy afresh, waiting for both locks: once the settings are loaded and before the first
// paint, so that a first paint that finds the locks taken has a copy of these settings to show.
void RefreshPaintSettings();
// Whether the last TakePaintSettings found a lock taken and gave the copy before: a device
// thread's every turn holds the settings for a moment, without a repaint after it, so such a
// paint is done again shortly.
bool PaintSettingsStale();
// The copy the paint in progress works on (the one TakePaintSettings last gave).
const PaintSettings& CurrentPaintSettings();
