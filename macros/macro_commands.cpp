#include "macros/macro_commands.h"

#include <algorithm>
#include <atomic>

#include "macros/memory_profile_files.h"
#include "settings/key_vocabulary.h"
#include "settings/settings_state.h"

namespace {
MemoryProfileFiles g_noFiles;
std::atomic<ProfileFiles*> g_profileFiles{nullptr};
}  // namespace

MacroKeyLayout CurrentMacroKeyLayout() { return {HidUsageToVk, VkToHidUsage}; }

ProfileFiles& GetProfileFiles()
{
    ProfileFiles* files = g_profileFiles.load();
    return files ? *files : g_noFiles;
}

void SetProfileFiles(ProfileFiles* files) { g_profileFiles.store(files); }

void SaveMacroToFile(const std::u16string& path, uint32_t macro)
{
    SaveMacroToFile(GetProfileFiles(), CurrentMacroKeyLayout(), path, macro);
}

void SaveAllMacrosToFile(const std::u16string& path)
{
    SaveAllMacrosToFile(GetProfileFiles(), CurrentMacroKeyLayout(), path);
}

void ReadMacroFile(const std::u16string& path) { ReadMacroFile(GetProfileFiles(), CurrentMacroKeyLayout(), path); }

void ReadConstMacroFile(const std::u16string& path)
{
    ReadConstMacroFile(GetProfileFiles(), CurrentMacroKeyLayout(), path);
}

MacroRecord& LoadMacroFromFile(MacroRecord& out, uint32_t group, uint32_t macro)
{
    const std::u16string folder = g_skinFolder + (g_languageEnglish != 0 ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
    return LoadMacroFromFile(GetProfileFiles(), CurrentMacroKeyLayout(), folder, out, group, macro);
}

bool OpenMacroExists() { return g_macroCount != 0 && g_currentMacro < std::min<uint16_t>(g_macroCount, kGroupMacroLimit); }

void SaveOpenMacro()
{
    if (g_macroGroupCount != 0 && g_currentGroup < g_macroGroupCount && OpenMacroExists())
        SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), g_currentMacro);
}

void LoadMacroGroups() { LoadMacroGroups(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder); }

bool SaveMacroGroups() { return SaveMacroGroups(GetProfileFiles(), g_macroFolder); }

bool LoadGroupFile(uint8_t group, bool parse)
{
    return LoadGroupFile(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, group, parse);
}

void LoadGroupMacroNames() { LoadGroupMacroNames(GetProfileFiles(), g_macroFolder); }
