#include "macros/macro_groups.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "base/user_prompts.h"
#include "macros/macro_page_rules.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "settings/profile_store.h"

uint8_t g_macroGroupCount = 0;
uint8_t g_currentGroup = 0;
std::array<int32_t, kMaxMacroGroups> g_groupMacroCounts{};

namespace {
std::u16string GroupFileOf(const std::u16string& macroFolder) { return macroFolder + kMacroGroupFileName; }

// Upper case as the system's ordinal comparison takes it (a letter whose capital lowers to another
// letter, as Turkish dotless i or final sigma, stays itself), for the scripts group names are
// written in: Latin (U+0000-017F, U+01A0-01B0 with the horned o and u, U+1E00-1EFF), Greek
// (U+0386-03CE) and Cyrillic (U+0400-052F). A test compares it with the system's over these.
char16_t FileNameUpper(char16_t c)
{
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    // Greek vowels with tonos.
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 37);
    if (c == 0x3CC) return 0x38C;
    if (c >= 0x3CD && c <= 0x3CE) return static_cast<char16_t>(c - 63);
    // Capital and small letters side by side.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x1A0 && c <= 0x1A5) || (c >= 0x1E00 && c <= 0x1E95) || (c >= 0x1EA0 && c <= 0x1EFF) ||
        (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return static_cast<char16_t>(c & ~1u);
    if (c == 0x1A8 || c == 0x1AD || c == 0x1B0) return static_cast<char16_t>(c - 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE))
        return (c & 1u) == 0 ? static_cast<char16_t>(c - 1) : c;
    if (c == 0x4CF) return 0x4C0;
    return c;
}

// One file of ProfileFiles as the profile store writes it: config.ini, whose assignments follow
// the groups a load drops.
class ProfileFileIni : public IniSource {
public:
    ProfileFileIni(ProfileFiles& files, std::u16string path) : files_(files), path_(std::move(path)) {}
    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        if (buffer.empty()) return 0;
        const std::u16string value = files_.Get(path_, section, key, buffer.size());
        const size_t length = std::min(value.size(), buffer.size() - 1);
        std::copy_n(value.begin(), length, buffer.begin());
        buffer[length] = u'\0';
        return length;
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        return files_.Put(path_, section, key, value);
    }
    bool Rewrite(const std::function<bool()>& writes) override { return files_.Rewrite(path_, writes); }
    std::u16string Path() const override { return path_; }

private:
    ProfileFiles& files_;
    std::u16string path_;
};

// Whether an earlier group of the list already has `group`'s file, by case.
bool SharesAnEarlierFile(ProfileFiles& files, uint8_t group)
{
    for (uint8_t g = 0; g < group; ++g) {
        if (files.SameFileName(g_macroGroupNames[g], g_macroGroupNames[group])) return true;
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
    // The assignments follow the groups that move (g_settingsMutex first, as everywhere).
    std::lock_guard settingsLock(g_settingsMutex);
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

    const ProfileButtonTable before = g_buttonAssignments;
    bool dropped = false;
    uint8_t group = 0;
    while (group < g_macroGroupCount) {
        // A name that differs from an earlier one only in case names that group's file: it is no
        // group of its own, and deleting or renaming it would take the other's file.
        if (!SharesAnEarlierFile(files, group) && LoadGroupFile(files, layout, macroFolder, group, false)) {
            ++group;
            continue;
        }
        std::move(g_macroGroupNames.begin() + group + 1, g_macroGroupNames.begin() + g_macroGroupCount,
                  g_macroGroupNames.begin() + group);
        --g_macroGroupCount;
        g_macroGroupNames[g_macroGroupCount].clear();
        dropped = true;
        // As for a deleted group: the groups behind it keep their buttons, its own lose theirs.
        FollowDeletedGroup(g_buttonAssignments, group);
    }
    // The list written once, without every group dropped.
    if (dropped) SaveMacroGroups(files, macroFolder);
    if (g_buttonAssignments != before && !g_configIniPath.empty()) {
        ProfileFileIni config(files, g_configIniPath);
        SaveChangedAssignments(config, before);
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
