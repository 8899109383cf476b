#pragma once
// What the macro page's edits accept: group and macro names, repeat counts, the name an imported
// file gives its group, and where button assignments go when a macro or group is deleted.
// Platform-free.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_state.h"

// A group-name text the edit takes back at once (the open group's name is shown again): empty,
// blanks alone, the last accepted name with one blank added in front or behind, or a name that
// cannot stand in the group list and as a file name (GroupNameUsable).
bool GroupNameTextRejected(std::u16string_view text, std::u16string_view lastAccepted);

// A name a group can take: at most 20 characters (what the group list's reader keeps), no blank
// or dot at either end (the reader trims blanks, Windows dots), no control character, none of
// \ / : * ? " < > |, and not a device name Windows reserves (CON, PRN, AUX, NUL, COM1-9, LPT1-9).
bool GroupNameUsable(std::u16string_view name);

// A macro-name text the edit takes back: empty, blanks alone, or longer than the 9 characters
// of a record's name.
bool MacroNameTextRejected(std::u16string_view text);

// A typed repeat count: its leading digits (none read as 0), kept to 1..65535. `rewrite` when
// the edit must show the kept value instead.
struct RepeatCountInput {
    uint16_t value = 1;
    bool rewrite = false;
};
RepeatCountInput ReadRepeatCount(std::u16string_view text);

// The group an imported file becomes: its name up to the first ".dat" (exact case); empty when
// the name holds no ".dat" or starts with it.
std::u16string ImportGroupName(std::u16string_view fileName);

// After macro `macro` of group `group` is deleted, the assignments of the macros behind it move
// down with them, and one naming the deleted macro is erased (as an apply erases assignments of
// macros that no longer exist). True when any assignment changed.
bool FollowDeletedMacro(ProfileButtonTable& assignments, uint32_t group, uint32_t macro);

// The same for a deleted group: its macros' assignments are erased, those of the groups behind
// it move down with them.
bool FollowDeletedGroup(ProfileButtonTable& assignments, uint32_t group);
