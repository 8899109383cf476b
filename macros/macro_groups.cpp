#include "macros/macro_groups.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "base/user_prompts.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"

uint8_t g_macroGroupCount = 0;
uint8_t g_currentGroup = 0;
std::array<int32_t, kMaxMacroGroups> g_groupMacroCounts{};

namespace {
std::u16string GroupFileOf(const std::u16string& macroFolder) { return macroFolder + kMacroGroupFileName; }

// Upper case as the file system compares names, for the scripts group names are written in.
char16_t FileNameUpper(char16_t c)
{
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    // Latin Extended-A and the Cyrillic supplements pair capital and small letters side by side.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF) ||
        (c >= 0x4D0 && c <= 0x52F))
        return static_cast<char16_t>(c & ~1u);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1u) == 0 ? static_cast<char16_t>(c - 1) : c;
    return c;
}

// Whether an earlier group of the list already has `group`'s file, by case.
bool SharesAnEarlierFile(uint8_t group)
{
    for (uint8_t g = 0; g < group; ++g) {
        if (SameGroupFileName(g_macroGroupNames[g], g_macroGroupNames[group])) return true;
    }
    return false;
}
}  // namespace

bool SameGroupFileName(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FileNameUpper(a[i]) != FileNameUpper(b[i])) return false;
    }
    return true;
}

std::u16string GroupFilePath(const std::u16string& macroFolder, uint8_t group)
{
    const std::u16string& name = group < g_macroGroupNames.size() ? g_macroGroupNames[group] : std::u16string();
    return macroFolder + name + u".dat";
}

bool IsGroupFileName(const std::u16string& name)
{
    return !name.empty() && name.find_first_of(u"\\/:") == std::u16string::npos;
}

struct GroupChangeSection::Held {
    std::unique_lock<std::recursive_mutex> settingsLock;
    std::unique_lock<std::recursive_mutex> macroLock;
    std::optional<MessageCollector> collector;
};

GroupChangeSection::GroupChangeSection(bool withSettings) : held_(std::make_unique<Held>())
{
    if (withSettings) held_->settingsLock = std::unique_lock(g_settingsMutex);
    held_->macroLock = std::unique_lock(g_macroStoreLock);
    held_->collector.emplace();
}

GroupChangeSection::~GroupChangeSection()
{
    const std::vector<MessageCollector::Message> messages = held_->collector->Messages();
    held_->collector.reset();
    held_->macroLock.unlock();
    if (held_->settingsLock.owns_lock()) held_->settingsLock.unlock();
    try {
        ShowCollected(messages);
    } catch (...) {
    }
}

void LoadMacroGroups(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder)
{
    const std::u16string groupFile = GroupFileOf(macroFolder);
    if (!files.FileExists(groupFile)) ShowMessage(kGroupFileMissingMessage);
    std::lock_guard lock(g_macroStoreLock);
    const int32_t stored = ParseIniInt(files.Get(groupFile, kGroupCountSection, kGroupCountKey, kCountBufferChars));
    // The program never writes more than ten groups; a larger or negative count from an edited
    // file keeps the first ten (or none) rather than overrunning the name table.
    g_macroGroupCount = static_cast<uint8_t>(std::clamp<int32_t>(stored, 0, kMaxMacroGroups));
    g_macroGroupNames.fill(u"");
    if (g_macroGroupCount == 0) return;
    g_currentGroup = 0;
    for (uint8_t i = 0; i < g_macroGroupCount; ++i)
        g_macroGroupNames[i] = files.Get(groupFile, kGroupNameSection, FormatIniInt(i), kGroupNameBufferChars);

    uint8_t group = 0;
    while (group < g_macroGroupCount) {
        // A name that differs from an earlier one only in case names that group's file: it is no
        // group of its own, and deleting or renaming it would take the other's file.
        if (!SharesAnEarlierFile(group) && LoadGroupFile(files, layout, macroFolder, group, false)) {
            ++group;
            continue;
        }
        std::move(g_macroGroupNames.begin() + group + 1, g_macroGroupNames.begin() + g_macroGroupCount,
                  g_macroGroupNames.begin() + group);
        --g_macroGroupCount;
        g_macroGroupNames[g_macroGroupCount].clear();
        SaveMacroGroups(files, macroFolder);
    }
}

bool SaveMacroGroups(ProfileFiles& files, const std::u16string& macroFolder)
{
    bool written = true;
    {
        std::lock_guard lock(g_macroStoreLock);
        const std::u16string groupFile = GroupFileOf(macroFolder);
        const uint8_t count = std::min<uint8_t>(g_macroGroupCount, kMaxMacroGroups);
        // One change of the file: an end between the count and the names must not list a group
        // twice, or lose one.
        written = files.Rewrite(groupFile, [&] {
            bool all = files.Put(groupFile, kGroupCountSection, kGroupCountKey, FormatIniInt(g_macroGroupCount));
            for (uint8_t i = 0; i < kGroupNameKeys; ++i) {
                all = files.Put(groupFile, kGroupNameSection, FormatIniInt(i), i < count ? g_macroGroupNames[i] : u"") &&
                      all;
            }
            return all;
        });
    }
    if (!written) ReportWriteFailure(GroupFileOf(macroFolder));
    return written;
}

bool LoadGroupFile(ProfileFiles& files, const MacroKeyLayout& layout, const std::u16string& macroFolder, uint8_t group,
                   bool parse)
{
    const std::u16string path = GroupFilePath(macroFolder, group);
    const bool found = group < g_macroGroupNames.size() && IsGroupFileName(g_macroGroupNames[group]) &&
                       files.FileExists(path);
    if (found && parse) ReadMacroFile(files, layout, path);
    return found;
}

void LoadGroupMacroNames(ProfileFiles& files, const std::u16string& macroFolder)
{
    std::lock_guard lock(g_macroStoreLock);
    const uint8_t groups = std::min<uint8_t>(g_macroGroupCount, kMaxMacroGroups);
    for (uint8_t g = 0; g < groups; ++g) {
        const std::u16string path = GroupFilePath(macroFolder, g);
        const int32_t stored = ParseIniInt(files.Get(path, kMacrosSection, kMacroNumKey, kCountBufferChars));
        // Counted as the editor reads the same file: at most the twelve macros a group holds.
        const int32_t count = std::clamp<int32_t>(stored, 0, kGroupMacroLimit);
        g_groupMacroCounts[g] = count;
        for (int32_t m = 0; m < count; ++m) {
            const std::u16string line = files.Get(path, kMacrosSection, FormatIniInt(m), kMacroLineBufferChars);
            g_groupMacroNames[g * kGroupMacroLimit + m] = DecodeMacroLineName(line);
        }
    }
}
