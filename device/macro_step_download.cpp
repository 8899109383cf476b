#include "device/macro_step_download.h"

#include <mutex>
#include <vector>

#include "app/user_prompts.h"
#include "device/apply_tables.h"
#include "device/device_memory_map.h"
#include "device/macro_stream.h"
#include "macros/macro_groups.h"
#include "settings/ini_value.h"
#include "settings/settings_state.h"

namespace {

// Puts the stepped record back where the user finds it. A macro of the group open in the editor
// goes through the editor's table; one of another group is written into its own file alone, so
// the open group's table and count stay as they are.
void SaveSteppedMacro(const MacroFilesAccess& macros, const MacroRecord& record, uint32_t group, uint32_t macro)
{
    if (group >= kMaxMacroGroups) return;
    std::lock_guard macroLock(g_macroStoreLock);
    const std::u16string path = GroupFilePath(macros.macroFolder, static_cast<uint8_t>(group));
    if (g_macroGroupCount != 0 && group == g_currentGroup && macro < kGroupMacroLimit) {
        g_macroTable[macro] = record;
        SaveMacroToFile(macros.files, macros.layout, path, macro);
    } else {
        macros.files.Put(path, kMacrosSection, FormatIniInt(static_cast<int32_t>(macro)),
                         EncodeMacroLine(record, macros.layout.hidToVk));
    }
}

}  // namespace

namespace {

// The size of the stream the step may send: the one the last finished apply placed for this
// profile's first button and that assignment. Anything else there belongs to another macro.
uint32_t StepDownloadSize(uint32_t profile, uint32_t assignment)
{
    const Slot0StreamTarget& target = g_slot0StreamTarget;
    if (!target.applied || target.profile != profile || target.assignment != assignment) return 0;
    return g_slot0MacroSize;
}

void StepAndDownloadLocked(const MacroFilesAccess& macros, bool up)
{
    const uint32_t profile = g_currentProfile & 3;
    const uint32_t assignment = g_buttonAssignments[profile][0];
    const DeviceAssignment a = TranslateAssignment(assignment);
    if (a.kind != SlotKind::FileMacro) return;

    MacroRecord record{};
    LoadMacroFromFile(macros.files, macros.layout, macros.macroFolder, record, a.group, a.macro);
    // Never longer than the stream the last apply placed there, even when the macro has grown.
    const std::vector<uint8_t> stream = EncodeStepStream(record, up, StepDownloadSize(profile, assignment));
    WriteDeviceRuns(g_slot0MacroAddress, stream);

    // An empty record (also what a macro that no longer exists reads as) has nothing stepped.
    if (record.eventCount != 0) SaveSteppedMacro(macros, record, a.group, a.macro);
}

}  // namespace

void AdjustMacroStepAndDownload(const MacroFilesAccess& macros, bool up)
{
    std::vector<MessageCollector::Message> messages;
    {
        MessageCollector collector;
        std::lock_guard settingsLock(g_settingsMutex);
        StepAndDownloadLocked(macros, up);
        messages = collector.Messages();
    }
    ShowCollected(messages);
}
