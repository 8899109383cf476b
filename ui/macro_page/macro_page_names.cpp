// The macro page's three edits: the open group's name (which renames the group and its file),
// the open macro's name and its repeat count. Each handler runs on every change of its edit and
// writes an accepted change to disk at once; the repeat count shown by the program is no change
// (ShowRepeatCount). A handler that puts a corrected text back into its own edit does not run
// again on that change. While a recording runs the macro's two edits are disabled and a change
// that reaches them still is put back.
#include <algorithm>
#include <mutex>

#include "base/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_page_rules.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "ui/macro_page/macro_folder_files.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "winlib/wide.h"

namespace {

// Set while a handler runs: the change its own correction raises is not handled again.
class HandlerGuard {
public:
    explicit HandlerGuard(bool& running) : running_(running), entered_(!running) { running_ = true; }
    ~HandlerGuard()
    {
        if (entered_) running_ = false;
    }
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;
    bool Entered() const { return entered_; }

private:
    bool& running_;
    bool entered_;
};

bool g_inGroupNameChange = false;
bool g_inMacroNameChange = false;
bool g_inRepeatCountChange = false;


// The group's file under its new name before the list names it, the old file kept until the list
// is written: an end at any moment leaves the list naming a file that is there. A change of case
// alone is a rename of the one file.
bool PlaceGroupFile(const std::u16string& oldPath, const std::u16string& newPath)
{
    if (SameFilePath(oldPath, newPath)) return MoveFileW(AsWide(oldPath), AsWide(newPath)) != FALSE;
    return CopyFileW(AsWide(oldPath), AsWide(newPath), TRUE) != FALSE;
}

// After the list: the old file goes once the list names the new one, the new one when it does not.
void SettleGroupFile(const std::u16string& oldPath, const std::u16string& newPath, bool listed)
{
    if (SameFilePath(oldPath, newPath)) {
        if (!listed) MoveFileW(AsWide(newPath), AsWide(oldPath));
    } else {
        DeleteFileW(AsWide(listed ? oldPath : newPath));
    }
}

}  // namespace

void CTEV_KestraDlg::OnGroupNameChange()
{
    HandlerGuard guard(g_inGroupNameChange);
    if (!guard.Entered() || g_macroGroupCount == 0 || g_currentGroup >= g_macroGroupCount) return;
    CreateMacroPageControlObjects();
    const std::u16string text = g_groupNameEdit->Text();
    // macroGrp.ini is written in the system's code page: a name it cannot hold would come back
    // as another name, with no file.
    if (GroupNameTextRejected(text, g_spareText1) || !SurvivesCodePage(text)) {
        g_groupNameEdit->SetText(g_macroGroupNames[g_currentGroup]);
        return;
    }
    if (!GroupNameTaken(text, g_currentGroup)) {
        const std::u16string oldName = g_macroGroupNames[g_currentGroup];
        const std::u16string oldPath = g_macroFolder + oldName + u".dat";
        const std::u16string newPath = g_macroFolder + text + u".dat";
        // A file of that name that is not the group's own (an exported group kept in the folder)
        // is never replaced: the rename is taken back.
        if (FileFound(newPath) && !SameFilePath(oldPath, newPath)) {
            g_groupNameEdit->SetText(oldName);
            ShowDoubleNameMessage();
            return;
        }
        // Its messages are shown once the lock is released.
        GroupChangeSection section;
        if (!FileFound(oldPath)) {
            g_macroGroupNames[g_currentGroup] = text;
            SaveMacroGroups();
            ShowMacroPageMessage(g_languageEnglish != 0 ? u"not find File!" : u"¡No puedo encontrar el archivo!");
        } else if (PlaceGroupFile(oldPath, newPath)) {
            g_macroGroupNames[g_currentGroup] = text;
            const bool listed = SaveMacroGroups();
            // A list that could not be written keeps the group's old name and file.
            if (!listed) g_macroGroupNames[g_currentGroup] = oldName;
            SettleGroupFile(oldPath, newPath, listed);
        } else {
            // The group keeps its old name and file.
            ReportWriteFailure(newPath);
        }
    }
    g_spareText1 = g_macroGroupNames[g_currentGroup];
}

void CTEV_KestraDlg::OnMacroNameChange()
{
    HandlerGuard guard(g_inMacroNameChange);
    if (!guard.Entered() || !OpenMacroExists()) return;
    CreateMacroPageControlObjects();
    const std::u16string text = g_macroNameEdit->Text();
    MacroRecord& record = g_macroTable[g_currentMacro];
    // The open record is the one being recorded: a change now would save it half recorded.
    if (g_recording != 0 || MacroNameTextRejected(text)) {
        g_macroNameEdit->SetText(std::u16string(MacroName(MacroTableCopy(g_currentMacro))));
        View().Invalidate();
        return;
    }
    if (FindMacroTableName(g_macroCount, text) != g_macroCount) return;
    {
        std::lock_guard lock(g_macroStoreLock);
        record.name.fill(u'\0');
        std::copy(text.begin(), text.end(), record.name.begin());
    }
    const auto line = static_cast<int32_t>(g_currentMacro);
    g_macroList->DeleteLine(line);
    g_macroList->InsertLine(line, text);
    g_macroList->Select(line);
    SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), g_currentMacro);
}

void ShowRepeatCount(const std::u16string& text)
{
    CreateMacroPageControlObjects();
    HandlerGuard guard(g_inRepeatCountChange);
    g_repeatCountEdit->SetText(text);
}

void CTEV_KestraDlg::OnRepeatCountChange()
{
    HandlerGuard guard(g_inRepeatCountChange);
    // Without an open group and macro there is nothing to store the count in.
    if (!guard.Entered() || g_macroGroupCount == 0 || !OpenMacroExists()) return;
    CreateMacroPageControlObjects();
    // The open record is the one being recorded: a change now would save it half recorded.
    if (g_recording != 0) {
        g_repeatCountEdit->SetText(FormatIniInt(MacroTableCopy(g_currentMacro).repeatCount));
        return;
    }
    const RepeatCountInput input = ReadRepeatCount(g_repeatCountEdit->Text());
    if (input.rewrite) g_repeatCountEdit->SetText(FormatIniInt(input.value));
    {
        std::lock_guard lock(g_macroStoreLock);
        g_macroTable[g_currentMacro].repeatCount = input.value;
    }
    SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), g_currentMacro);
}
