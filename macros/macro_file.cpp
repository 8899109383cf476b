#include "macros/macro_file.h"

#include <algorithm>
#include <span>

#include "base/user_prompts.h"
#include "macros/macro_groups.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"

namespace {

bool WriteRecordLine(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path, uint32_t index,
                     const MacroRecord& record)
{
    return files.Put(path, kMacrosSection, FormatIniInt(static_cast<int32_t>(index)), EncodeMacroLine(record, layout.hidToVk));
}

bool WriteMacroCount(ProfileFiles& files, const std::u16string& path)
{
    return files.Put(path, kMacrosSection, kMacroNumKey, FormatIniInt(g_macroCount));
}

int32_t ReadMacroNum(ProfileFiles& files, const std::u16string& path)
{
    return ParseIniInt(files.Get(path, kMacrosSection, kMacroNumKey, kCountBufferChars));
}

void ReadRecordLine(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path, uint32_t index,
                    size_t bufferChars, MacroRecord& record)
{
    DecodeMacroLine(files.Get(path, kMacrosSection, FormatIniInt(static_cast<int32_t>(index)), bufferChars), record,
                    layout.vkToHid);
}

// Reads a whole macro file into the first slots of table; a count beyond the table's usable
// slots reads as many records as fit. Returns the count kept.
uint16_t ReadWholeFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path,
                       std::span<MacroRecord> table, size_t bufferChars)
{
    if (!files.FileExists(path)) ShowMessage(kMissingFileMessage);
    const int32_t stored = ReadMacroNum(files, path);
    const auto count = static_cast<uint16_t>(std::clamp<int32_t>(stored, 0, static_cast<int32_t>(table.size())));
    for (uint16_t k = 0; k < count; ++k) ReadRecordLine(files, layout, path, k, bufferChars, table[k]);
    return count;
}

}  // namespace

void SaveMacroToFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path, uint32_t macro)
{
    bool written = true;
    {
        std::lock_guard lock(g_macroStoreLock);
        if (macro >= g_macroTable.size()) return;
        // The count and the line together: a new macro's count must not come without its line.
        written = files.Rewrite(path, [&] {
            const bool count = WriteMacroCount(files, path);
            return WriteRecordLine(files, layout, path, macro, g_macroTable[macro]) && count;
        });
    }
    // Told after the lock: the device input thread must not wait behind the message.
    if (!written) ReportWriteFailure(path);
}

void SaveAllMacrosToFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path)
{
    bool written = true;
    {
        std::lock_guard lock(g_macroStoreLock);
        written = files.Rewrite(path, [&] {
            bool all = WriteMacroCount(files, path);
            const uint16_t count = std::min<uint16_t>(g_macroCount, kGroupMacroLimit);
            for (uint16_t i = 0; i < count; ++i) all = WriteRecordLine(files, layout, path, i, g_macroTable[i]) && all;
            return all;
        });
    }
    if (!written) ReportWriteFailure(path);
}

void ReadMacroFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path)
{
    std::lock_guard lock(g_macroStoreLock);
    g_macroCount = ReadWholeFile(files, layout, path, std::span(g_macroTable).first(kGroupMacroLimit),
                                 kMacroLineBufferChars);
    // The slots behind the group's macros must not keep the last group's: a new macro takes the
    // next slot as it finds it.
    std::fill(g_macroTable.begin() + g_macroCount, g_macroTable.end(), MacroRecord{});
}

void ReadConstMacroFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path)
{
    g_constMacroCount = ReadWholeFile(files, layout, path, g_constMacroTable, kConstMacroLineBufferChars);
}

MacroRecord& LoadMacroFromFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                               MacroRecord& out, uint32_t group, uint32_t macro)
{
    MacroRecord record{};
    {
        std::lock_guard lock(g_macroStoreLock);
        const std::u16string groupFile = macroFolder + kMacroGroupFileName;
        const int32_t groupCount = ParseIniInt(files.Get(groupFile, kGroupCountSection, kGroupCountKey, kCountBufferChars));
        if (groupCount > 0 && group < static_cast<uint32_t>(groupCount)) {
            const std::u16string name = files.Get(groupFile, kGroupNameSection, FormatIniInt(static_cast<int32_t>(group)),
                                                  kGroupNameBufferChars);
            const std::u16string path = macroFolder + name + u".dat";
            const int32_t macroCount = IsGroupFileName(name) ? ReadMacroNum(files, path) : 0;
            if (macroCount > 0 && macro < static_cast<uint32_t>(macroCount))
                ReadRecordLine(files, layout, path, macro, kMacroLineBufferChars, record);
        }
    }
    out = record;
    return out;
}
