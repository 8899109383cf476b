#pragma once
// Puts every program-wide value the apply and the device threads touch back to its start value,
// as at the start of a program run.
#include "device/apply_tables.h"
#include "macros/macro_groups.h"
#include "macros/macro_record.h"
#include "settings/settings_state.h"

inline void ResetMacroStores()
{
    g_macroTable = {};
    g_macroCount = 0;
    g_currentMacro = 0;
    g_constMacroTable = {};
    g_constMacroCount = 0;
    g_activeMacro = {};
    g_macroGroupCount = 0;
    g_macroGroupNames = {};
    g_currentGroup = 0;
    g_groupMacroCounts = {};
    g_groupMacroNames = {};
}

inline void ResetProgramState()
{
    ResetSettingsState();
    ResetApplyTables();
    ResetMacroStores();
}
