#include "macros/macro_page_rules.h"

#include <algorithm>
#include <array>

#include "macros/macro_groups.h"
#include "macros/macro_record.h"
#include "settings/ini_value.h"

namespace {

bool AllBlanks(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u' '; });
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool IsReservedDeviceName(std::u16string_view name)
{
    std::u16string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
        if (upper == device) return true;
    }
    return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) && upper[3] >= u'1' &&
           upper[3] <= u'9';
}

// Runs `rewrite` over every file-macro assignment of the four profiles.
template <typename Rewrite>
bool RewriteGroupAssignments(ProfileButtonTable& assignments, Rewrite rewrite)
{
    bool changed = false;
    for (auto& profile : assignments) {
        for (uint32_t& code : profile) {
            if (AssignmentKindOf(code) != AssignmentKind::FileMacro) continue;
            const uint32_t updated = rewrite(code);
            changed = changed || updated != code;
            code = updated;
        }
    }
    return changed;
}

}  // namespace

bool GroupNameUsable(std::u16string_view name)
{
    if (name.empty() || name.size() > kMaxGroupNameChars) return false;
    for (char16_t end : {name.front(), name.back()}) {
        if (end == u' ' || end == u'.') return false;
    }
    constexpr std::u16string_view kReserved = u"\\/:*?\"<>|";
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7F || kReserved.find(c) != std::u16string_view::npos) return false;
    }
    return !IsReservedDeviceName(name);
}

bool GroupNameTextRejected(std::u16string_view text, std::u16string_view lastAccepted)
{
    if (text.empty() || AllBlanks(text)) return true;
    const std::u16string last(lastAccepted);
    if (text == u" " + last || text == last + u" ") return true;
    return !GroupNameUsable(text);
}

bool MacroNameTextRejected(std::u16string_view text)
{
    return text.empty() || AllBlanks(text) || text.size() >= kMacroNameUnits;
}

RepeatCountInput ReadRepeatCount(std::u16string_view text)
{
    // Saturating conversion: a 30-digit number reads as the largest count, not a wrapped one.
    const int32_t typed = ParseIniInt(text);
    if (typed < 1) return {1, true};
    if (typed > 65535) return {65535, true};
    return {static_cast<uint16_t>(typed), false};
}

std::u16string ImportGroupName(std::u16string_view fileName)
{
    const size_t dat = fileName.find(u".dat");
    if (dat == std::u16string_view::npos) return {};
    return std::u16string(fileName.substr(0, dat));
}

bool FollowDeletedMacro(ProfileButtonTable& assignments, uint32_t group, uint32_t macro)
{
    return RewriteGroupAssignments(assignments, [&](uint32_t code) -> uint32_t {
        if (FileMacroGroup(code) != static_cast<int>(group)) return code;
        const int index = FileMacroIndex(code);
        if (index == static_cast<int>(macro)) return AssignmentCodes::kNone;
        if (index > static_cast<int>(macro)) return MakeFileMacroCode(group, static_cast<uint32_t>(index - 1));
        return code;
    });
}

bool FollowDeletedGroup(ProfileButtonTable& assignments, uint32_t group)
{
    return RewriteGroupAssignments(assignments, [&](uint32_t code) -> uint32_t {
        const int owner = FileMacroGroup(code);
        if (owner == static_cast<int>(group)) return AssignmentCodes::kNone;
        if (owner > static_cast<int>(group) && owner < static_cast<int>(AssignmentCodes::kMacroGroups))
            return MakeFileMacroCode(static_cast<uint32_t>(owner - 1), static_cast<uint32_t>(FileMacroIndex(code)));
        return code;
    });
}
