#pragma once
// The macro file and group operations as the rest of the program calls them: on the files of the
// current language (g_macroFolder, g_skinFolder, g_languageEnglish) with its keyboard layout,
// through the program's ProfileFiles (SetProfileFiles; the Win32 build sets Win32ProfileFiles at
// start-up).
#include <cstdint>
#include <string>

#include "macros/macro_file.h"
#include "macros/macro_groups.h"
#include "settings/key_vocabulary.h"

// The key conversions of the current language.
MacroKeyLayout CurrentMacroKeyLayout();
constexpr MacroKeyLayout kEnglishMacroKeys{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn};
constexpr MacroKeyLayout kSpanishMacroKeys{MacVkAndText::HidToVkEs, MacVkAndText::VkToHidEs};

// The files every operation below goes through. Without one set, an empty set of files in memory.
ProfileFiles& GetProfileFiles();
void SetProfileFiles(ProfileFiles* files);

void SaveMacroToFile(const std::u16string& path, uint32_t macro);
void SaveAllMacrosToFile(const std::u16string& path);
void ReadMacroFile(const std::u16string& path);
void ReadConstMacroFile(const std::u16string& path);
// Safe on any thread: reads only files, g_skinFolder and g_languageEnglish.
MacroRecord& LoadMacroFromFile(MacroRecord& out, uint32_t group, uint32_t macro);

// Whether the open group has the macro g_currentMacro.
bool OpenMacroExists();
// Saves the open macro into the open group's file (nothing without one): after every change the
// user makes to it, and never for a display alone.
void SaveOpenMacro();

void LoadMacroGroups();
bool SaveMacroGroups();
bool LoadGroupFile(uint8_t group, bool parse);
void LoadGroupMacroNames();
