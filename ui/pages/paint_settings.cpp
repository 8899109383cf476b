#include "ui/pages/paint_settings.h"

#include <mutex>

#include "macros/macro_record.h"

namespace {

PaintSettings g_paintCopy;
bool g_paintCopyStale = false;

// With g_settingsMutex held.
void CopySettings(PaintSettings& copy)
{
    copy.currentProfile = g_currentProfile;
    const bool profile = g_currentProfile < kProfileCount;
    copy.buttonAssignments = profile ? g_buttonAssignments[g_currentProfile] : decltype(copy.buttonAssignments){};
    copy.ledReactEnabled = profile ? g_ledReactEnabled[g_currentProfile] : decltype(copy.ledReactEnabled){};
    copy.ledReactType = profile ? g_ledReactType[g_currentProfile] : decltype(copy.ledReactType){};
    copy.dpiLevel = g_dpiLevel;
    copy.dpiSetEnabled = g_dpiSetEnabled;
    copy.dpiColourRefs = g_dpiColourRefs;
    copy.dpiBarPos = g_dpiBarPos;
    copy.pointerSpeed = g_pointerSpeed;
    copy.wheelSpeed = g_wheelSpeed;
    copy.fireTime = g_fireTime;
    copy.ledType = g_ledType;
    copy.ledMode = g_ledMode;
    copy.ledCycleTime = g_ledCycleTime;
    copy.ledUserColourEnabled = g_ledUserColourEnabled;
    copy.cycleColourEnabled = g_cycleColourEnabled;
    copy.ledSymmetry = g_ledSymmetry;
    copy.ledDirection = g_ledDirection;
    copy.ledBrightness = g_ledBrightness;
    copy.ledUserColourRefs = g_ledUserColourRefs;
    copy.languageEnglish = g_languageEnglish;
}

void CopyLocked()
{
    CopySettings(g_paintCopy);
    g_paintCopy.currentMacroLoopMode.reset();
    if (g_currentMacro < g_macroTable.size()) g_paintCopy.currentMacroLoopMode = g_macroTable[g_currentMacro].loopMode;
}

}  // namespace

void RefreshPaintSettings()
{
    // The settings before the macro store, the order every other path takes them in.
    std::lock_guard settings(g_settingsMutex);
    std::lock_guard macros(g_macroStoreLock);
    CopyLocked();
}

const PaintSettings& TakePaintSettings()
{
    // The settings before the macro store, the order every other path takes them in.
    g_paintCopyStale = true;
    std::unique_lock settings(g_settingsMutex, std::try_to_lock);
    if (!settings) return g_paintCopy;
    std::unique_lock macros(g_macroStoreLock, std::try_to_lock);
    if (!macros) return g_paintCopy;
    CopyLocked();
    g_paintCopyStale = false;
    return g_paintCopy;
}

bool PaintSettingsStale() { return g_paintCopyStale; }

const PaintSettings& CurrentPaintSettings() { return g_paintCopy; }
