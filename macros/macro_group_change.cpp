#include "macros/macro_group_change.h"

#include <algorithm>
#include <mutex>

#include "macros/macro_groups.h"
#include "settings/settings_state.h"

namespace {

GroupChangeSeam g_seam = nullptr;

void Seam()
{
    if (g_seam != nullptr) g_seam();
}

// With g_macroStoreLock held: `group` (kept inside the list) becomes the open group, its file read
// into the table, its first macro the open one. Without a group the table is emptied.
void OpenGroupLocked(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     uint8_t group)
{
    g_currentMacro = 0;
    if (g_macroGroupCount == 0) {
        g_currentGroup = 0;
        ClearMacroTable();
        return;
    }
    g_currentGroup = std::min<uint8_t>(group, static_cast<uint8_t>(g_macroGroupCount - 1));
    if (!LoadGroupFile(files, layout, macroFolder, g_currentGroup, true)) ClearMacroTable();
}

void ReloadLocked(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder, GroupPick pick)
{
    LoadMacroGroups(files, layout, macroFolder);
    Seam();
    const uint8_t last = g_macroGroupCount == 0 ? 0 : static_cast<uint8_t>(g_macroGroupCount - 1);
    OpenGroupLocked(files, layout, macroFolder, pick == GroupPick::Last ? last : 0);
    LoadGroupMacroNames(files, macroFolder);
}

}  // namespace

void SetGroupChangeSeam(GroupChangeSeam seam) { g_seam = seam; }

void ChooseOpenGroup(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     uint8_t group)
{
    GroupChangeSection section;
    Seam();
    OpenGroupLocked(files, layout, macroFolder, group);
}

void ImportGroupAndOpen(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                        const std::u16string& name)
{
    // The reload may drop groups, and the button assignments follow them.
    GroupChangeSection section(true);
    if (g_macroGroupCount >= kMaxMacroGroups) return;
    g_macroGroupNames[g_macroGroupCount] = name;
    ++g_macroGroupCount;
    SaveMacroGroups(files, macroFolder);
    Seam();
    ReloadLocked(files, layout, macroFolder, GroupPick::Last);
}

void ReloadGroupsAndOpen(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                         GroupPick pick)
{
    GroupChangeSection section(true);
    ReloadLocked(files, layout, macroFolder, pick);
}

void SwitchMacroFolders(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                        const std::u16string& resetFolder)
{
    GroupChangeSection section(true);
    g_macroFolder = macroFolder;
    g_macroResetFolder = resetFolder;
    Seam();
    ReloadLocked(files, layout, macroFolder, GroupPick::First);
}

bool AddOpenGroup(ProfileFiles& files, const std::u16string& macroFolder, const std::u16string& name,
                  const std::function<bool(const std::u16string& path)>& makeFile)
{
    GroupChangeSection section;
    if (g_macroGroupCount >= kMaxMacroGroups) return false;
    g_macroGroupNames[g_macroGroupCount] = name;
    g_currentGroup = g_macroGroupCount;
    ++g_macroGroupCount;
    SaveMacroGroups(files, macroFolder);
    Seam();
    const bool made = makeFile(macroFolder + name + u".dat");
    ClearMacroTable();
    g_currentMacro = 0;
    LoadGroupMacroNames(files, macroFolder);
    return made;
}

void DeleteOpenGroup(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     const std::function<void(const std::u16string& path)>& removeFile)
{
    GroupChangeSection section;
    if (g_macroGroupCount == 0) return;
    const uint8_t deleted = std::min<uint8_t>(g_currentGroup, static_cast<uint8_t>(g_macroGroupCount - 1));
    removeFile(GroupFilePath(macroFolder, deleted));
    std::move(g_macroGroupNames.begin() + deleted + 1, g_macroGroupNames.begin() + g_macroGroupCount,
              g_macroGroupNames.begin() + deleted);
    g_macroGroupNames[g_macroGroupCount - 1].clear();
    --g_macroGroupCount;
    SaveMacroGroups(files, macroFolder);
    Seam();
    OpenGroupLocked(files, layout, macroFolder, 0);
    LoadGroupMacroNames(files, macroFolder);
}

bool DeleteOpenMacro(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                     uint32_t slot)
{
    GroupChangeSection section;
    const uint16_t count = std::min<uint16_t>(g_macroCount, kGroupMacroLimit);
    if (slot >= count) return false;
    std::move(g_macroTable.begin() + slot + 1, g_macroTable.begin() + count, g_macroTable.begin() + slot);
    g_macroTable[count - 1u] = MacroRecord{};
    g_macroCount = static_cast<uint16_t>(count - 1);
    Seam();
    // The group's file follows the table at once: its lines from the deleted one on would
    // otherwise keep the old order and bring the deleted macro back at the next load.
    if (g_currentGroup < g_macroGroupCount)
        SaveAllMacrosToFile(files, layout, GroupFilePath(macroFolder, g_currentGroup));
    LoadGroupMacroNames(files, macroFolder);
    return true;
}
