#pragma once
// What one mouse button does in one profile: a 32-bit code stored as K0..K8 in config.ini and
// kept in g_buttonAssignments. The ranges below are the whole code space; everything that reads an
// assignment asks AssignmentKindOf rather than testing ranges of its own.
#include <cstdint>

using ButtonAssignmentCode = uint32_t;

enum class AssignmentKind {
    None,             // 0
    MouseFunction,    // 1..6, 1 is the left click
    FurtherFunction,  // 11..16
    ProfileFunction,  // 17..21
    MediaKey,         // 22..31
    ConstantMacro,    // 32..44 except 40: record code - 32 of the constant macro table
    FireKey,          // 40
    KeyboardKey,      // 70..148: KeyIndex + 70
    FileMacro,        // 256 and above: group index + 1 in bits 8..15, macro index in bits 0..7
    Unassigned,       // 7..10, 45..69, 149..255: nothing produces these
};

namespace AssignmentCodes {
constexpr ButtonAssignmentCode kNone = 0;
constexpr ButtonAssignmentCode kLeftClick = 1;
constexpr ButtonAssignmentCode kFireKey = 40;
constexpr ButtonAssignmentCode kFirstMediaKey = 22;
constexpr ButtonAssignmentCode kFirstConstantMacro = 32;
constexpr ButtonAssignmentCode kLastConstantMacro = 44;
constexpr ButtonAssignmentCode kFirstKeyboardKey = 70;
constexpr ButtonAssignmentCode kLastKeyboardKey = 148;
constexpr ButtonAssignmentCode kFirstFileMacro = 256;
constexpr uint32_t kMacroGroups = 10;
constexpr uint32_t kMacrosPerGroup = 12;
}  // namespace AssignmentCodes

constexpr AssignmentKind AssignmentKindOf(ButtonAssignmentCode code)
{
    if (code == 0) return AssignmentKind::None;
    if (code <= 6) return AssignmentKind::MouseFunction;
    if (code >= 11 && code <= 16) return AssignmentKind::FurtherFunction;
    if (code >= 17 && code <= 21) return AssignmentKind::ProfileFunction;
    if (code >= 22 && code <= 31) return AssignmentKind::MediaKey;
    if (code == AssignmentCodes::kFireKey) return AssignmentKind::FireKey;
    if (code >= 32 && code <= 44) return AssignmentKind::ConstantMacro;
    if (code >= 70 && code <= 148) return AssignmentKind::KeyboardKey;
    if (code >= 256) return AssignmentKind::FileMacro;
    return AssignmentKind::Unassigned;
}

// Codes 6, 15 and 16 switch DPI levels; the device thread then takes the level from the report.
constexpr bool IsDpiFunction(ButtonAssignmentCode code) { return code == 6 || code == 15 || code == 16; }

constexpr ButtonAssignmentCode MakeFileMacroCode(uint32_t groupIndex, uint32_t macroIndex)
{
    return ((groupIndex + 1) & 0xFF) << 8 | (macroIndex & 0xFF);
}

// Group index of a file-macro code. A code from a hand-edited file may name group -1 (bits 8..15
// zero, e.g. 0x10000) or a group past the tenth; IsValidFileMacro tells the usable ones.
constexpr int FileMacroGroup(ButtonAssignmentCode code) { return static_cast<int>((code >> 8) & 0xFF) - 1; }
constexpr int FileMacroIndex(ButtonAssignmentCode code) { return static_cast<int>(code & 0xFF); }

constexpr bool IsValidFileMacro(ButtonAssignmentCode code)
{
    return AssignmentKindOf(code) == AssignmentKind::FileMacro && FileMacroGroup(code) >= 0 &&
           FileMacroGroup(code) < static_cast<int>(AssignmentCodes::kMacroGroups) &&
           FileMacroIndex(code) < static_cast<int>(AssignmentCodes::kMacrosPerGroup);
}

// Record of the constant macro table that codes 32..44 address (40 is the fire key, not a macro).
constexpr uint32_t ConstantMacroRecord(ButtonAssignmentCode code) { return code - AssignmentCodes::kFirstConstantMacro; }

// Position on the on-screen keyboard of a keyboard-key code (70..148 give 0..78).
constexpr uint8_t KeyIndexOfCode(ButtonAssignmentCode code)
{
    return static_cast<uint8_t>(code - AssignmentCodes::kFirstKeyboardKey);
}
constexpr ButtonAssignmentCode KeyboardKeyCode(uint8_t keyIndex) { return keyIndex + AssignmentCodes::kFirstKeyboardKey; }
