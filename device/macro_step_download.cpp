#include "device/macro_step_download.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "base/user_prompts.h"
#include "device/apply_tables.h"
#include "device/device_memory_map.h"
#include "device/macro_stream.h"
#include "device/main_window_link.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_groups.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "settings/settings_state.h"

namespace {

// The size of the stream the step may send: the one the last finished apply placed for this
// profile's first button and that assignment. Anything else there belongs to another macro.
uint32_t StepDownloadSize(uint32_t profile, uint32_t assignment)
{
    const Slot0StreamTarget& target = g_slot0StreamTarget;
    if (!target.applied || target.profile != profile || target.assignment != assignment) return 0;
    return g_slot0MacroSize;
}

// Group `group` of the folder's group file, as the step reads and writes it: the name from the
// group file itself, so that the macro read and the line written are of one file even while the
// editor's list is another language's.
std::u16string GroupNameOnDisk(const MacroFilesAccess& macros, uint32_t group)
{
    const std::u16string groupFile = macros.macroFolder + kMacroGroupFileName;
    const int32_t count = ParseIniInt(macros.files.Get(groupFile, kGroupCountSection, kGroupCountKey, kCountBufferChars));
    if (count <= 0 || group >= static_cast<uint32_t>(count)) return {};
    return macros.files.Get(groupFile, kGroupNameSection, FormatIniInt(static_cast<int32_t>(group)), kGroupNameBufferChars);
}

// Whether the stepped macro is the one the editor holds in its table: the editor has this folder,
// this group under this name open, and the group holds the macro.
bool OpenInEditor(const MacroFilesAccess& macros, const std::u16string& name, uint32_t group, uint32_t macro)
{
    return g_macroFolder == macros.macroFolder && g_macroGroupCount != 0 && group < g_macroGroupCount &&
           group == g_currentGroup && g_macroGroupNames[group] == name &&
           macro < std::min<uint16_t>(g_macroCount, kGroupMacroLimit);
}

// The stepped macro's stream, and whether the macro open in the editor was stepped.
struct SteppedMacro {
    std::vector<uint8_t> stream;
    bool open = false;
};

// With g_settingsMutex and g_macroStoreLock held, so that the group list, the open group, its
// table and the macro folder are one state while the record is read, stepped and written back.
SteppedMacro StepMacroLocked(const MacroFilesAccess& macros, bool up)
{
    const uint32_t profile = g_currentProfile & 3;
    const uint32_t assignment = g_buttonAssignments[profile][0];
    const DeviceAssignment a = TranslateAssignment(assignment);
    if (a.kind != SlotKind::FileMacro) return {};

    const std::u16string name = GroupNameOnDisk(macros, a.group);
    const bool open = !name.empty() && OpenInEditor(macros, name, a.group, a.macro);
    // A step for the macro being recorded is dropped: the recording replaces its events anyway.
    if (open && g_macroRecorder.Recording() && a.macro == OpenMacroSlot()) return {};

    // The macro open in the editor is stepped as the editor holds it, unsaved edits included.
    MacroRecord record{};
    if (open)
        record = g_macroTable[a.macro];
    else
        LoadMacroFromFile(macros.files, macros.layout, macros.macroFolder, record, a.group, a.macro);
    // Never longer than the stream the last apply placed there, even when the macro has grown.
    SteppedMacro stepped{EncodeStepStream(record, up, StepDownloadSize(profile, assignment)), false};

    // An empty record (also what a macro that no longer exists reads as) has nothing stepped.
    if (record.eventCount == 0 || !IsGroupFileName(name)) return stepped;
    if (open) g_macroTable[a.macro] = record;
    // Only the stepped macro's own line: the count and the other lines are the editor's to write.
    const std::u16string groupFile = macros.macroFolder + name + u".dat";
    if (!macros.files.Put(groupFile, kMacrosSection, FormatIniInt(static_cast<int32_t>(a.macro)),
                          EncodeMacroLine(record, macros.layout.hidToVk)))
        ReportWriteFailure(groupFile);
    stepped.open = open;
    return stepped;
}

}  // namespace

void AdjustMacroStepAndDownload(const MacroFilesAccess& macros, bool up)
{
    const SteppedMacro stepped = ShowMessagesAfter([&] {
        std::lock_guard settingsLock(g_settingsMutex);
        SteppedMacro result;
        {
            std::lock_guard macroLock(g_macroStoreLock);
            result = StepMacroLocked(macros, up);
        }
        // The stream takes seconds for a large macro: it goes out without the macro store, which
        // the recording's key filter and the macro page's edits use meanwhile. The settings stay
        // held, so that no apply places other streams in the middle of it.
        WriteDeviceRuns(g_slot0MacroAddress, result.stream);
        return result;
    });
    if (stepped.open) RequestOpenMacroShown();
}
