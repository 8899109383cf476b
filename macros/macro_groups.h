#pragma once
// Macro groups: the ordered list of groups in macroGrp.ini, each group one macro file named after
// it in the same folder, and the cache of every group's macro names for the choice pop-ups.
// Platform-free over ProfileFiles; the program's entry points are in macro_file_commands.h.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "macros/macro_file.h"
#include "macros/profile_files.h"
#include "settings/settings_state.h"

constexpr size_t kMaxMacroGroups = AssignmentCodes::kMacroGroups;
constexpr size_t kGroupNameKeys = 12;          // the writer always writes keys "0".."11"
constexpr size_t kMaxGroupNameChars = 20;      // what the group-name edit accepts
constexpr size_t kGroupNameBufferChars = kMaxGroupNameChars + 1;

inline constexpr char16_t kMacroGroupFileName[] = u"macroGrp.ini";
inline constexpr char16_t kGroupCountSection[] = u"MACRO_GROUP_NUM";
inline constexpr char16_t kGroupCountKey[] = u"macGrpNum";
inline constexpr char16_t kGroupNameSection[] = u"MACRO_GROUP_NAME";
inline constexpr char16_t kGroupFileMissingMessage[] = u"Can't find the file.";

// Group globals, written on the user-interface thread only, under g_macroStoreLock (the device
// input thread reads the list to find a macro's file). The two name tables, g_macroGroupNames
// and g_groupMacroNames, stand with the other display names of the settings.
extern uint8_t g_macroGroupCount;
extern uint8_t g_currentGroup;
extern std::array<int32_t, kMaxMacroGroups> g_groupMacroCounts;

// One change of the macro store: holds g_macroStoreLock (after g_settingsMutex when the change
// touches a folder) and collects the messages raised meanwhile, shown once both are released, so
// that a device thread never waits behind a message box. Sections nest.
class GroupChangeSection {
public:
    explicit GroupChangeSection(bool withSettings = false);
    ~GroupChangeSection();
    GroupChangeSection(const GroupChangeSection&) = delete;
    GroupChangeSection& operator=(const GroupChangeSection&) = delete;

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

// macroFolder ends with a backslash; a group's file is macroFolder + name + ".dat".
std::u16string GroupFilePath(const std::u16string& macroFolder, uint8_t group);
// Whether a group name from macroGrp.ini names a file inside the macro folder: no path
// separator or drive colon, not empty. Other names are taken as groups whose file is missing.
bool IsGroupFileName(const std::u16string& name);

// Whether two group names name one file, their case ignored as Windows' ordinal comparison does:
// the platform-free rule of the files held in memory, equal to the system's for Latin (with
// Vietnamese), Greek and Cyrillic names. The program asks its ProfileFiles (the system's rule).
bool SameGroupFileName(const std::u16string& a, const std::u16string& b);

// Reads the group list; a group whose file is missing, or whose name names an earlier group's
// file (ProfileFiles::SameFileName), is dropped and the list written again without it. The button
// assignments follow as for a deleted group, and those that changed are written to config.ini
// (g_configIniPath, through `files`). Takes g_settingsMutex, then g_macroStoreLock.
void LoadMacroGroups(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder);
// Writes the list as one change of macroGrp.ini; false (and the user told) when it failed.
bool SaveMacroGroups(ProfileFiles& files, const std::u16string& macroFolder);
bool LoadGroupFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder, uint8_t group,
                   bool parse);
// Names of every group's macros. A group whose "macroNum" is above 12 lists its first 12, the
// macros the editor opens and an assignment may name.
void LoadGroupMacroNames(ProfileFiles& files, const std::u16string& macroFolder);
