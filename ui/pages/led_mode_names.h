#pragma once
// The names of the lighting effects and of the light modes of a light block, by language.
// Platform-free.

// Fills g_ledTypeNames and g_lightModeNames by g_languageEnglish (non-zero: English).
void FillLedModeNames();
