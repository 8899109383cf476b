#pragma once
// Macro files: a group's macros (or the constant macros) as record lines under [Macros], with
// "macroNum" counting them. Platform-free over ProfileFiles; the program's own entry points,
// which pick the real files and the current language, are in macro_file_commands.h.
#include <cstdint>
#include <string>

#include "macros/macro_line_codec.h"
#include "macros/macro_record.h"
#include "macros/profile_files.h"

// Buffer widths of the reads, terminating zero included.
constexpr size_t kCountBufferChars = 3;             // "macroNum", "macGrpNum": two digits
constexpr size_t kMacroLineBufferChars = 19395;     // a group file's record line
constexpr size_t kConstMacroLineBufferChars = 1464;  // constMacro.dat: cuts the line inside event 56

inline constexpr char16_t kMacrosSection[] = u"Macros";
inline constexpr char16_t kMacroNumKey[] = u"macroNum";
inline constexpr char16_t kMissingFileMessage[] = u"找不到配置文件";

// The key conversions of one keyboard layout, as the files store keys.
struct MacroKeyLayout {
    KeyConvert hidToVk;
    KeyConvert vkToHid;
};

void SaveMacroToFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path, uint32_t macro);
void SaveAllMacrosToFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path);
void ReadMacroFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path);
void ReadConstMacroFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& path);

// One macro of any group, found through the group file of macroFolder (ending with a backslash);
// an empty record when the group or the macro does not exist.
MacroRecord& LoadMacroFromFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder,
                               MacroRecord& out, uint32_t group, uint32_t macro);
