// The presses of the macro page (step 5 of a press): the page tabs, the group and file-command
// pop-ups, new and deleted groups and macros, the record button and the three play modes.
#include <algorithm>
#include <mutex>

#include "app/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_page_rules.h"
#include "settings/config_ini_file.h"
#include "settings/ini_value.h"
#include "ui/macro_folder_files.h"
#include "ui/macro_page_controls.h"
#include "ui/main_window.h"
#include "ui/page_state.h"
#include "ui/popup_openers.h"
#include "ui/skin_layout_win32.h"
#include "winlib/wide.h"

namespace {

// MacroPageButton: the macro layout's ids with a press action.
namespace MacroPageButton {
constexpr int GroupPopup = 1;
constexpr int NewGroup = 2;
constexpr int DeleteGroup = 3;
constexpr int FilePopup = 4;
constexpr int Record = 5;
constexpr int NewMacro = 6;
constexpr int DeleteMacro = 7;
constexpr int PlayModeLoop2 = 10;
constexpr int PlayModeLoop1 = 11;
constexpr int PlayModeRepeat = 12;
}  // namespace MacroPageButton

constexpr char16_t kNewName[] = u"New";
constexpr int32_t kPopupHeight = 360;

std::u16string DoubleNameMessage(const std::u16string& name, bool group)
{
    if (g_languageEnglish != 0) return u"'" + name + u"' Double name!";
    return u"'" + name + (group ? u"'¡Nombre ya en uso!" : u"' ¡Nombre ya en uso!");
}

void EmptyMacroPage()
{
    g_macroList->Clear();
    g_eventList->Clear();
    g_lightList->Clear();
    ClearMacroTable();
}

// Assignments that named a deleted macro or group are stored at once, so that the profile file
// never names the wrong macro. `follow` changes them under the settings lock (a profile switched
// on the mouse reloads them) and says whether it did.
template <typename Follow>
void StoreFollowedAssignments(Follow follow)
{
    {
        std::lock_guard lock(g_settingsMutex);
        if (follow(g_buttonAssignments)) SaveConfigToIni(g_configIniPath, static_cast<int>(g_curConfig));
    }
    // The apply judges assignments by every group's macro count: it must see the groups as they are.
    LoadGroupMacroNames();
}

}  // namespace

void CTEV_KestraDlg::OnMacroPagePress(POINT)
{
    switch (g_hoverMainButton) {
    case 6:
    case 7:
    case 9:
        OnTabPress(g_hoverMainButton);
        return;
    default:
        break;
    }
    CreateMacroPageControlObjects();
    switch (g_hoverMacroButton) {
    case MacroPageButton::GroupPopup: {
        if (g_macroGroupCount == 0) return;
        g_menuPopupOpen = 1;
        g_mainWindowRect = ScreenRectOf(Handle());
        g_popupPos = {g_mainWindowRect.left + g_groupNameEditRect.left, g_mainWindowRect.top + 2 + g_groupNameEditRect.bottom};
        const int32_t width = g_groupNameEditRect.right - g_groupNameEditRect.left + 21;
        OpenMenuPopup(Handle(), kMenuMacroGroups, {g_popupPos.x - 2, g_popupPos.y, width, kPopupHeight});
        g_popupOwnerButton = MacroPageButton::GroupPopup;
        return;
    }
    case MacroPageButton::NewGroup:
        AddNewGroup();
        return;
    case MacroPageButton::DeleteGroup:
        DeleteCurrentGroup();
        return;
    case MacroPageButton::FilePopup: {
        g_menuPopupOpen = 1;
        g_mainWindowRect = ScreenRectOf(Handle());
        const ButtonPos& rect = m_macroPos[MacroPageButton::FilePopup];
        g_popupPos = {g_mainWindowRect.left + rect.x, g_mainWindowRect.top + rect.y + rect.height};
        OpenMenuPopup(Handle(), kMenuFileCommands, {g_popupPos.x, g_popupPos.y, rect.width, kPopupHeight});
        return;
    }
    case MacroPageButton::Record:
        if (g_macroList->Count() >= 1) StartOrStopRecording();
        return;
    case MacroPageButton::NewMacro:
        AddNewMacro();
        return;
    case MacroPageButton::DeleteMacro:
        DeleteSelectedMacro();
        return;
    case MacroPageButton::PlayModeLoop2:
    case MacroPageButton::PlayModeLoop1:
    case MacroPageButton::PlayModeRepeat:
        SetPlayMode(g_hoverMacroButton);
        return;
    default:
        return;
    }
}

void CTEV_KestraDlg::AddNewGroup()
{
    if (g_macroGroupCount >= kMaxMacroGroups) {
        ShowMacroPageMessage(g_languageEnglish != 0 ? u"More than limit!" : u" Exceder el Limite!");
        return;
    }
    // The new group's file is made empty: no group may share it, not even by case.
    const std::u16string name = kNewName;
    if (GroupNameTaken(name, -1)) {
        ShowMacroPageMessage(DoubleNameMessage(name, true));
        return;
    }
    SaveOpenMacro();
    {
        std::lock_guard lock(g_macroStoreLock);
        g_macroGroupNames[g_macroGroupCount] = name;
        g_currentGroup = g_macroGroupCount;
        ++g_macroGroupCount;
        SaveMacroGroups();
    }
    CreateNewMacroFile();
    LoadGroupMacroNames();
    EmptyMacroPage();
    UpdateMacroNameEdits();
}

void CTEV_KestraDlg::DeleteCurrentGroup()
{
    if (g_macroGroupCount == 0) return;
    const uint8_t deleted = std::min<uint8_t>(g_currentGroup, g_macroGroupCount - 1);
    {
        std::lock_guard lock(g_macroStoreLock);
        const std::u16string path = GroupFilePath(g_macroFolder, deleted);
        if (GetFileAttributesW(AsWide(path)) != INVALID_FILE_ATTRIBUTES) DeleteFileW(AsWide(path));
        std::move(g_macroGroupNames.begin() + deleted + 1, g_macroGroupNames.begin() + g_macroGroupCount,
                  g_macroGroupNames.begin() + deleted);
        g_macroGroupNames[g_macroGroupCount - 1].clear();
        --g_macroGroupCount;
        g_currentGroup = 0;
        SaveMacroGroups();
    }
    StoreFollowedAssignments([&](auto& assignments) { return FollowDeletedGroup(assignments, deleted); });
    ShowCurrentGroupName();
    ReloadCurrentGroup();
    if (g_macroGroupCount == 0) {
        EmptyMacroPage();
        View().Invalidate();
    }
    UpdateMacroNameEdits();
}

void CTEV_KestraDlg::AddNewMacro()
{
    g_skipNextChar = 1;
    if (g_macroGroupCount == 0 || g_macroCount > kGroupMacroLimit) return;
    if (g_macroCount == kGroupMacroLimit) {
        ShowMacroPageMessage(g_languageEnglish != 0 ? u"More than limit!" : u"Más que límite");
        return;
    }
    const std::u16string name = kNewName;
    if (g_macroCount != 0 && FindMacroByName(std::span(g_macroTable).first(g_macroCount), name) != g_macroCount) {
        ShowMacroPageMessage(DoubleNameMessage(name, false));
        return;
    }
    g_eventList->Clear();
    g_macroList->AddLine(name);
    {
        std::lock_guard lock(g_macroStoreLock);
        ++g_macroCount;
        g_currentMacro = g_macroCount - 1u;
        MacroRecord& record = g_macroTable[g_currentMacro];
        record.name.fill(u'\0');
        std::copy(name.begin(), name.end(), record.name.begin());
    }
    g_macroList->Select(static_cast<int32_t>(g_currentMacro));
    g_macroNameEdit->SetText(name);
}

void CTEV_KestraDlg::DeleteSelectedMacro()
{
    if (g_macroList->Count() < 1 || g_recording != 0) return;
    // With no line selected nothing is deleted.
    const int32_t selected = g_macroList->Selection();
    const int32_t count = std::min<int32_t>(g_macroCount, kGroupMacroLimit);
    if (selected < 0 || selected >= count) return;
    const auto s = static_cast<uint32_t>(selected);
    {
        std::lock_guard lock(g_macroStoreLock);
        std::move(g_macroTable.begin() + s + 1, g_macroTable.begin() + count, g_macroTable.begin() + s);
    }
    g_macroList->DeleteLine(selected);
    const int32_t next = selected == 0 ? 0 : selected - 1;
    g_macroList->Select(next);
    g_currentMacro = static_cast<uint32_t>(next);
    if (g_macroList->Count() > 0) {
        g_macroNameEdit->SetText(g_macroList->LineText(next));
    } else {
        g_macroNameEdit->SetText(u"");
        g_repeatCountEdit->SetText(u"1");
        g_repeatCountEdit->Enable(false);
    }
    {
        std::lock_guard lock(g_macroStoreLock);
        ClearMacroRecord(g_macroTable.data(), static_cast<uint8_t>(count - 1));
        g_macroCount = static_cast<uint16_t>(count - 1);
        // The group's file follows the table at once: its lines from the deleted one on would
        // otherwise keep the old order and bring the deleted macro back at the next load.
        if (g_currentGroup < g_macroGroupCount) SaveAllMacrosToFile(GroupFilePath(g_macroFolder, g_currentGroup));
    }
    if (g_macroCount == 0) g_macroNameEdit->SetText(u"");
    StoreFollowedAssignments([&](auto& assignments) { return FollowDeletedMacro(assignments, g_currentGroup, s); });
    RefreshMacroEventList(g_currentMacro);
}

void CTEV_KestraDlg::SetPlayMode(int button)
{
    if (!OpenMacroExists()) return;
    MacroRecord& record = g_macroTable[g_currentMacro];
    {
        std::lock_guard lock(g_macroStoreLock);
        switch (button) {
        case MacroPageButton::PlayModeLoop2:
            record.loopMode = static_cast<uint8_t>((record.loopMode & ~0x07) + 2);
            record.repeatCount = 1;
            break;
        case MacroPageButton::PlayModeLoop1:
            record.loopMode = static_cast<uint8_t>((record.loopMode & ~0x07) + 1);
            record.repeatCount = 1;
            break;
        default:
            record.loopMode = static_cast<uint8_t>(record.loopMode & ~0x0B);
            break;
        }
    }
    const bool repeats = button == MacroPageButton::PlayModeRepeat;
    g_repeatCountEdit->Enable(repeats);
    g_repeatCountEdit->SetText(repeats ? FormatIniInt(record.repeatCount) : std::u16string(u"1"));
}
