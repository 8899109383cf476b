#pragma once
// Operations on the profile store as a whole that the window's buttons start: the factory reset
// and the frame button that stores the DPI level in section 6 and loads that section.
#include "settings/ini_source.h"

// Loads the factory sections (profile 1's buttons the defaults, the rest from [CfgReset2]..),
// sets the lighting, speeds and fire time to their fixed reset values, and saves the result into
// [Config1]..[Config4]. Without the factory sections nothing is loaded or saved: false.
bool ResetProfile(IniSource& ini);

// The section the frame button stores the DPI level into and loads every setting but the buttons
// from.
constexpr int kFrameProfileSection = 6;

// Writes DPI_LEVEL into [Config6] and loads that section; when [Config6] lacks a program-wide key,
// the current profile's section takes its place for both. The current profile keeps its own
// button-light reactions: the row in section 6 belongs to no profile, and the next save would write
// it over the current profile's.
void StoreAndLoadFrameProfile(IniSource& ini);
