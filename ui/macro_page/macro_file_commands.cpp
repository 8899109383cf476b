// Commands on whole macro files: import of a file as a new group, export of the open group,
// restore of the factory macros, the choice of another group, the change of the open macro, and
// the folder routines they need.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "base/clock.h"
#include "base/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_group_change.h"
#include "macros/macro_page_rules.h"
#include "settings/config_ini_file.h"
#include "settings/file_write_failure.h"
#include "ui/macro_page/light_popup_link.h"
#include "ui/macro_page/macro_folder_files.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/pages/skin_types.h"
#include "ui/popups/popup_state.h"
#include "ui/window/main_window.h"
#include "winlib/handle_owner.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {

namespace MacroFileCommand {
constexpr WPARAM Import = 1;
constexpr WPARAM Export = 2;
constexpr WPARAM Restore = 3;
}  // namespace MacroFileCommand

constexpr char16_t kMacroFileFilter[] = u"All Files(*.dat)|*.dat||";
constexpr uint32_t kRestoreSettleMs = 100;

std::u16string FileNameOf(const std::u16string& path)
{
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

struct FindCloser {
    void operator()(HANDLE find) const { FindClose(find); }
    static bool Owns(HANDLE find) { return find != nullptr && find != INVALID_HANDLE_VALUE; }
};
using FindOwner = HandleOwner<HANDLE, FindCloser>;

// Calls visit(name, isFolder) for every entry of `folder` but "." and "..".
template <typename Visit>
void ForEachEntry(const std::u16string& folder, Visit visit)
{
    WIN32_FIND_DATAW entry{};
    FindOwner find(FindFirstFileW(AsWide(folder + u"\\*.*"), &entry));
    if (!find) return;
    do {
        const std::u16string name = FromWide(entry.cFileName);
        if (name == u"." || name == u"..") continue;
        visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find.Get(), &entry) != FALSE);
}

std::u16string WithoutTrailingSeparator(std::u16string folder)
{
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
    return folder;
}

// A copy of a file over its namesake, put in place whole (an end mid-copy must not leave a listed
// group's file cut short) and never read-only (every later save of it would fail); gives the
// destination when it could not be written.
std::u16string CopyFileOver(const std::u16string& from, const std::u16string& to)
{
    return ReplaceFileWithCopy(from, to) ? std::u16string() : to;
}

struct FolderEntry {
    std::u16string name;
    bool isFolder = false;
};

// The factory folder's entries but its group list, which a restore puts in place last.
std::vector<FolderEntry> FactoryEntries()
{
    std::vector<FolderEntry> entries;
    ForEachEntry(WithoutTrailingSeparator(g_macroResetFolder), [&](const std::u16string& name, bool isFolder) {
        if (!SameFileName(name, kMacroGroupFileName)) entries.push_back({name, isFolder});
    });
    return entries;
}

// Whether a factory file would replace one of the macro folder that a restore does not restore
// over: anything under its name but a listed group's file. A file that holds the factory bytes
// already (from a restore cut short) loses nothing.
bool FactoryNameTaken(const std::vector<FolderEntry>& factory)
{
    return std::any_of(factory.begin(), factory.end(), [](const FolderEntry& entry) {
        const std::u16string there = g_macroFolder + entry.name;
        return !entry.isFolder && FileFound(there) && !IsListedGroupFile(entry.name) &&
               !SameFileBytes(g_macroResetFolder + entry.name, there);
    });
}

// The restore, in an order that leaves a folder of groups whenever it ends: the factory files
// over the listed ones, the factory list over the group list, then the deletion of the old groups'
// files that no factory file replaced. Gives the first file it could not write (empty when none):
// a copy that fails ends the restore there, the old list and every file it names still in place.
std::u16string RestoreFactoryFiles(const std::vector<FolderEntry>& factory)
{
    for (const FolderEntry& entry : factory) {
        const std::u16string from = g_macroResetFolder + entry.name;
        const std::u16string to = g_macroFolder + entry.name;
        const std::u16string unwritten = entry.isFolder ? CopyFolderRecursive(from, to) : CopyFileOver(from, to);
        if (!unwritten.empty()) return unwritten;
    }
    std::u16string unwritten = CopyFileOver(g_macroResetFolder + kMacroGroupFileName, g_macroFolder + kMacroGroupFileName);
    if (!unwritten.empty()) return unwritten;
    for (uint8_t g = 0; g < g_macroGroupCount && g < g_macroGroupNames.size(); ++g) {
        const std::u16string file = g_macroGroupNames[g] + u".dat";
        const bool replaced = std::any_of(factory.begin(), factory.end(), [&](const FolderEntry& entry) {
            return !entry.isFolder && SameFileName(entry.name, file);
        });
        if (!IsGroupFileName(g_macroGroupNames[g]) || replaced) continue;
        const std::u16string path = g_macroFolder + file;
        // One left behind is a file of no group: the others still go.
        if (DeleteFileW(AsWide(path)) == FALSE && GetLastError() != ERROR_FILE_NOT_FOUND && unwritten.empty())
            unwritten = path;
    }
    return unwritten;
}

}  // namespace

std::u16string CopyFolderRecursive(const std::u16string& source, const std::u16string& destination)
{
    const std::u16string from = WithoutTrailingSeparator(source);
    const std::u16string to = WithoutTrailingSeparator(destination);
    CreateDirectoryW(AsWide(to), nullptr);
    std::u16string unwritten;
    ForEachEntry(from, [&](const std::u16string& name, bool isFolder) {
        if (!unwritten.empty()) return;
        const std::u16string inner = from + u"\\" + name;
        const std::u16string target = to + u"\\" + name;
        unwritten = isFolder ? CopyFolderRecursive(inner, target) : CopyFileOver(inner, target);
    });
    return unwritten;
}

LRESULT CTEV_KestraDlg::OnMacroFileCommand(WPARAM command, LPARAM)
{
    switch (command) {
    case MacroFileCommand::Import: ImportMacroFile(); break;
    case MacroFileCommand::Export: ExportMacroFile(); break;
    case MacroFileCommand::Restore: RestoreDefaultMacros(); break;
    default: break;
    }
    g_hoverMacroButton = BUTTON_NONE;
    g_popupOwnerButton = BUTTON_NONE;
    return 0;
}

void CTEV_KestraDlg::ImportMacroFile()
{
    const bool english = g_languageEnglish != 0;
    if (g_macroGroupCount >= kMaxMacroGroups) {
        ShowMacroPageMessage(english ? u"More than limit!" : u"Más que límite!");
        return;
    }
    const std::optional<std::u16string> source = GetPrompts().ChooseFile(OpenFileRequest(kMacroFileFilter, g_macroFolder));
    if (!source) return;
    const std::u16string fileName = FileNameOf(*source);
    const std::u16string destination = g_macroFolder + fileName;
    const std::u16string name = ImportGroupName(fileName);
    // A name the group list could not keep whole, or not as a file name, is no group.
    if (name.empty() || !GroupNameUsable(name) || !SurvivesCodePage(name)) {
        ShowMacroPageMessage(u"Error!");
        return;
    }
    // The copy goes to the file's whole name: it must not be the file of a listed group either
    // (a group "A.dat" keeps its macros in A.dat.dat), nor replace a file kept in the folder (an
    // export), nor leave the new group with a file that is not the one imported.
    auto keptThere = [&](const std::u16string& path) { return FileFound(path) && !SameFilePath(*source, path); };
    if (GroupNameTaken(name, -1) || IsListedGroupFile(fileName) || keptThere(destination) ||
        keptThere(g_macroFolder + name + u".dat")) {
        ShowDoubleNameMessage();
        return;
    }
    // A file chosen in the macro folder itself is already where it goes. A copy that fails adds
    // no group (a group without its file would be dropped at the next load without a word).
    if (!SameFilePath(*source, destination) && !CopyFileW(AsWide(*source), AsWide(destination), TRUE)) {
        ShowMacroPageMessage(u"Error!");
        return;
    }
    ClearReadOnly(destination);
    ImportGroupAndOpen(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, name);
    RefreshMacroLists();
    UpdateMacroNameEdits();
}

void CTEV_KestraDlg::ExportMacroFile()
{
    if (g_macroGroupCount == 0) {
        ShowMacroPageMessage(u"Error!");
        return;
    }
    const std::optional<std::u16string> path =
        GetPrompts().ChooseFile(SaveFileRequest(kMacroFileFilter, g_macroFolder, u"dat"));
    if (!path) return;
    SaveAllMacrosToFile(*path);
}

void CTEV_KestraDlg::RestoreDefaultMacros()
{
    // Without the factory group list there is nothing to restore: the macros stay as they are.
    if (!FileFound(g_macroResetFolder + kMacroGroupFileName)) {
        ShowMacroPageMessage(kGroupFileMissingMessage);
        return;
    }
    // Only the listed groups' files and the list are restored over: a file kept under a factory
    // file's name (an export) refuses the restore before anything changes.
    const std::vector<FolderEntry> factory = FactoryEntries();
    if (FactoryNameTaken(factory)) {
        ShowDoubleNameMessage();
        return;
    }
    {
        // The files changed and the groups read from them are one change for the step download,
        // which reads and writes the same folder. A file that could not be written is told once
        // the section ends; the groups are read from what the folder holds then.
        GroupChangeSection section(true);
        const std::u16string unwritten = RestoreFactoryFiles(factory);
        if (!unwritten.empty()) ReportWriteFailure(unwritten);
        GetClock().SleepMs(kRestoreSettleMs);
        ReloadGroupsAndOpen(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, GroupPick::First);
    }
    RefreshMacroLists();
    UpdateMacroNameEdits();
}

LRESULT CTEV_KestraDlg::OnMacroGroupChosen(WPARAM, LPARAM)
{
    CreateMacroPageControlObjects();
    const uint8_t chosen = g_chosenMacroGroup != kNoChosenGroup ? g_chosenMacroGroup : g_currentGroup;
    g_chosenMacroGroup = kNoChosenGroup;
    ChooseOpenGroup(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, chosen);
    if (g_currentGroup < g_macroGroupCount) g_groupNameEdit->SetText(g_macroGroupNames[g_currentGroup]);
    RefreshMacroLists();
    UpdateMacroNameEdits();
    g_hoverMacroButton = BUTTON_NONE;
    g_popupOwnerButton = BUTTON_NONE;
    return 0;
}

void CTEV_KestraDlg::OnMacroListSelChange()
{
    CreateMacroPageControlObjects();
    // A light pop-up still open would put its choice into the macro left, the save into this one.
    CloseLightPopup();
    if (g_recording != 0) {
        g_macroList->Select(static_cast<int32_t>(g_currentMacro));
        ShowMacroPageMessage(g_languageEnglish != 0 ? u"Recording" : u"Grabando");
        return;
    }
    ShowSelectedMacro();
}

void CTEV_KestraDlg::CreateNewMacroFile()
{
    const std::u16string path = g_macroFolder + u"New" + u".dat";
    const UniqueHandle file(
        CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ShowMacroPageMessage(u"Create new mac_file Fail!");
}
