// The presses of the macro page (step 5 of a press): the page tabs, the group and file-command
// pop-ups, new and deleted groups and macros, the record button and the three play modes.
#include <algorithm>
#include <mutex>

#include "base/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_group_change.h"
#include "macros/macro_page_rules.h"
#include "settings/config_ini_file.h"
#include "settings/ini_value.h"
#include "ui/macro_page/macro_folder_files.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/pages/saturating_sum.h"
#include "ui/pages/skin_layout_win32.h"
#include "ui/popups/popup_openers.h"
#include "ui/window/main_window.h"
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

// Assignments that named a deleted macro or group follow it at once, so that the profile file
// never names the wrong macro; only the assignments that changed are written, not the settings
// changed on other pages and not yet applied.
template <typename Follow>
void FollowAssignments(Follow follow)
{
    {
        // A save that fails is told once the locks are released.
        GroupChangeSection section(true);
        const ProfileButtonTable before = g_buttonAssignments;
        if (follow(g_buttonAssignments)) SaveChangedAssignments(g_configIniPath, before);
    }
    // The apply judges assignments by every group's macro count: it must see the groups as they are.
    LoadGroupMacroNames();
}

void RemoveFileIfThere(const std::u16string& path)
{
    if (GetFileAttributesW(AsWide(path)) != INVALID_FILE_ATTRIBUTES) DeleteFileW(AsWide(path));
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
    EndListEdits();
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
        g_popupPos = {SaturatingSum(g_mainWindowRect.left, rect.x),
                      SaturatingSum(g_mainWindowRect.top, SaturatingSum(rect.y, rect.height))};
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
    // The new group's file is made empty: no group may share it, not even by case, and no file
    // already in the folder (an exported group kept there) may be cut to nothing.
    const std::u16string name = kNewName;
    if (GroupNameTaken(name, -1) || FileFound(g_macroFolder + name + u".dat")) {
        ShowMacroPageMessage(DoubleNameMessage(name, true));
        return;
    }
    AddOpenGroup(GetProfileFiles(), g_macroFolder, name, [this](const std::u16string&) {
        CreateNewMacroFile();
        return true;
    });
    EmptyMacroPage();
    UpdateMacroNameEdits();
}

void CTEV_KestraDlg::DeleteCurrentGroup()
{
    if (g_macroGroupCount == 0) return;
    const uint8_t deleted = std::min<uint8_t>(g_currentGroup, g_macroGroupCount - 1);
    {
        // The assignments follow in the same change: a step must not find one naming a group
        // that has moved.
        GroupChangeSection section(true);
        DeleteOpenGroup(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, RemoveFileIfThere);
        FollowAssignments([&](ProfileButtonTable& table) { return FollowDeletedGroup(table, deleted); });
    }
    ShowCurrentGroupName();
    RefreshMacroLists();
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
    if (g_macroCount != 0 && FindMacroTableName(g_macroCount, name) != g_macroCount) {
        ShowMacroPageMessage(DoubleNameMessage(name, false));
        return;
    }
    g_eventList->Clear();
    g_macroList->AddLine(name);
    {
        std::lock_guard lock(g_macroStoreLock);
        ++g_macroCount;
        g_currentMacro = g_macroCount - 1u;
        // A new macro starts empty, whatever its slot held before.
        MacroRecord& record = g_macroTable[g_currentMacro];
        record = MacroRecord{};
        std::copy(name.begin(), name.end(), record.name.begin());
    }
    g_macroList->Select(static_cast<int32_t>(g_currentMacro));
    g_macroNameEdit->SetText(name);
    // The new macro is a change of the group: its file holds it at once.
    SaveOpenMacro();
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
        GroupChangeSection section(true);
        DeleteOpenMacro(GetProfileFiles(), CurrentMacroKeyLayout(), g_macroFolder, s);
        FollowAssignments([&](ProfileButtonTable& table) { return FollowDeletedMacro(table, g_currentGroup, s); });
    }
    g_macroList->DeleteLine(selected);
    const int32_t next = selected == 0 ? 0 : selected - 1;
    g_macroList->Select(next);
    SetOpenMacro(static_cast<uint32_t>(next));
    if (g_macroList->Count() > 0) {
        g_macroNameEdit->SetText(g_macroList->LineText(next));
    } else {
        g_macroNameEdit->SetText(u"");
        ShowRepeatCount(u"1");
        g_repeatCountEdit->Enable(false);
    }
    if (g_macroCount == 0) g_macroNameEdit->SetText(u"");
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
    ShowRepeatCount(repeats ? FormatIniInt(MacroTableCopy(g_currentMacro).repeatCount) : std::u16string(u"1"));
    SaveOpenMacro();
}
