#pragma once
// Every change of which group the editor has open, each as one section under g_macroStoreLock:
// the group list, the open group, the macro count, the table and the macro folder change together,
// so that the step download on the device input thread never sees one group's table under
// another group's name or folder. Messages raised inside a section are shown after it.
// Platform-free over ProfileFiles; what touches the file system directly comes in as a callback.
#include <cstdint>
#include <functional>
#include <string>

#include "macros/macro_file.h"
#include "macros/macro_groups.h"

// Which group a reload of the group list opens.
enum class GroupPick { First, Last };

// Test seam: called inside every section below at the point where the change is half made.
using GroupChangeSeam = void (*)();
void SetGroupChangeSeam(GroupChangeSeam seam);

// The group pop-up's choice: opens `group`. The group left has nothing to save: every edit was
// saved when it was made.
void ChooseOpenGroup(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     uint8_t group);

// An imported group named `name` (its file already in the folder) added to the list, the list
// read anew and the new group opened.
void ImportGroupAndOpen(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                        const std::u16string& name);

// Reads the group list of macroFolder anew (restore) and opens its first or last group.
void ReloadGroupsAndOpen(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                         GroupPick pick);

// The language switch: g_macroFolder and g_macroResetFolder become the new language's (under
// g_settingsMutex, taken before g_macroStoreLock as everywhere), its group list is read and its
// first group opened.
void SwitchMacroFolders(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                        const std::u16string& resetFolder);

// A new group named `name` after the listed ones, made the open group with no macro. makeFile
// creates its empty file (false when it could not).
bool AddOpenGroup(ProfileFiles& files, const std::u16string& macroFolder, const std::u16string& name,
                  const std::function<bool(const std::u16string& path)>& makeFile);

// Deletes the open group (its file through removeFile) and opens the first group left.
void DeleteOpenGroup(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     const std::function<void(const std::u16string& path)>& removeFile);

// Deletes macro `slot` of the open group: the records behind it move down, and the group's file is
// written whole so that it matches the table.
bool DeleteOpenMacro(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     uint32_t slot);
