// The group file and the group macro files as they may stand on disk: the input is split into the
// values of macroGrp.ini and of three group files, then every group reader runs over them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "macros/macro_groups.h"
#include "macros/memory_profile_files.h"
#include "settings/ini_value.h"

namespace {
uint8_t Same(uint8_t code) { return code; }
const MacroKeyLayout kLayout{Same, Same};
const std::u16string kFolder = u"F:\\macro\\";

void Check(bool condition)
{
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Values separated by newlines, in this order: macGrpNum, names 0..3, then per group file
    // macroNum and two record lines.
    std::vector<std::u16string> values(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            values.emplace_back();
        else
            values.back().push_back(static_cast<char16_t>(data[i]));
    }
    values.resize(14);

    MemoryProfileFiles files;
    const std::u16string groupFile = kFolder + kMacroGroupFileName;
    files.Put(groupFile, kGroupCountSection, kGroupCountKey, values[0]);
    for (int g = 0; g < 4; ++g) files.Put(groupFile, kGroupNameSection, FormatIniInt(g), values[1 + g]);
    for (int g = 0; g < 3; ++g) {
        const std::u16string path = kFolder + values[1 + g] + u".dat";
        files.Put(path, kMacrosSection, kMacroNumKey, values[5 + g * 3]);
        files.Put(path, kMacrosSection, u"0", values[6 + g * 3]);
        files.Put(path, kMacrosSection, u"1", values[7 + g * 3]);
    }

    LoadMacroGroups(files, kLayout, kFolder);
    Check(g_macroGroupCount <= kMaxMacroGroups);
    // No two groups kept share a file.
    for (uint8_t a = 0; a < g_macroGroupCount; ++a) {
        for (uint8_t b = a + 1; b < g_macroGroupCount; ++b) Check(!SameGroupFileName(g_macroGroupNames[a], g_macroGroupNames[b]));
    }
    if (g_macroGroupCount > 0) LoadGroupFile(files, kLayout, kFolder, g_currentGroup, true);
    Check(g_macroCount <= kGroupMacroLimit);
    Check(g_macroTable[kGroupMacroLimit].eventCount == 0 && g_macroTable[kGroupMacroLimit].name[0] == 0);
    LoadGroupMacroNames(files, kFolder);
    for (int32_t count : g_groupMacroCounts) Check(count >= 0 && count <= static_cast<int32_t>(kGroupMacroLimit));
    ReadConstMacroFile(files, kLayout, kFolder + values[1] + u".dat");
    Check(g_constMacroCount <= kConstMacroSlots);

    MacroRecord out{};
    LoadMacroFromFile(files, kLayout, kFolder, out, static_cast<uint32_t>(size % 4), static_cast<uint32_t>(size % 3));
    Check(out.eventCount <= kMaxMacroEvents);
    return 0;
}
