#pragma once
// The settings state in config.ini: [Init] with the current profile and the language,
// [Config1]..[Config4] with the profiles, [CfgReset1]..[CfgReset4] with the factory values.
//
// Every operation holds g_settingsMutex for its whole call, so a load on a device thread never
// reads keys from a section a save on another thread has just switched to.
//
// The loads read each section of their source whole, once (SectionCachedIni), and answer its
// keys from that, as the platform's reader would.
#include <cstdint>
#include <string>

#include "settings/ini_source.h"
#include "settings/settings_state.h"

// Fills the settings state from profile n ("CfgReset" + n when reset, else "Config" + n).
// The button assignments of all four profiles are loaded whatever n is (profile 1's become the
// defaults when resetting), and so are the button-light reactions of the profiles other than the
// current one, from their own sections: a later save writes all four rows back. A reset reads
// only the current profile's reactions (from its factory section); the other rows stay as they are.
void LoadProfile(IniSource& ini, int n, bool reset);

// The saves of several keys make them one change of the file (IniSource::Rewrite) and tell the
// user when it failed (ReportWriteFailure). The one-key writes return whether the key was
// written and tell nothing: a profile or DPI level switched on the mouse is written on a device
// thread, where no message may wait (the window tells of it later).

// Writes the whole state into [Config1]..[Config4]. n only becomes g_curConfigText.
void SaveConfigToIni(IniSource& ini, int n);

// Writes DPI_LEVEL alone into "Config" + n.
bool SaveDpiLevel(IniSource& ini, int n);

// Writes only the button assignments ("K" + button in "Config" + profile) that differ from
// `before`: an assignment that had to follow a deleted macro is stored without storing the
// settings the user changed but never applied.
void SaveChangedAssignments(IniSource& ini, const ProfileButtonTable& before);

// Reads [Init]: g_curConfig from CurConfig (anything outside 1..4, a missing file included, is
// taken as profile 1), g_currentProfile = g_curConfig - 1, and g_languageEnglish from VER_SEL
// (1 English, anything else Spanish).
void LoadInitSection(IniSource& ini);

// [Init] CurConfig and VER_SEL as "%d". WriteVerSel also keeps the text in g_verSelText.
bool WriteCurConfig(IniSource& ini, uint32_t profileNumber);
bool WriteVerSel(IniSource& ini, uint32_t language);

// The profile a start-up loads: [Init] CurConfig, or 1 for anything outside 1..4.
uint32_t StartProfileNumber(IniSource& ini);
// Whether a start-up takes the file: the profile it would load is there (HoldsProfile).
bool HoldsStartProfile(IniSource& ini);

// "Config" + n or "CfgReset" + n.
std::u16string ProfileSectionName(bool reset, int n);

// Whether `section` holds every program-wide key a load reads (DPI levels and colours, lighting,
// speeds, fire time): loading a section short of one sets that setting to 0.
bool HoldsProgramWideSettings(IniSource& ini, const std::u16string& section);

// Whether `section` holds a profile (its first button's assignment): loading a section without
// one would give a profile of zeros, with no left click on any button.
bool HoldsProfile(IniSource& ini, const std::u16string& section);
