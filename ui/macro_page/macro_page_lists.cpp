// The macro page's six controls and what fills them from the macro table: the macro list, the
// event list (event k on line 2k, its delay on line 2k + 1), the light list and the name edits.
#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <mutex>
#include <span>
#include <vector>

#include "device/main_window_link.h"
#include "macros/macro_commands.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_groups.h"
#include "macros/macro_page_text.h"
#include "settings/ini_value.h"
#include "settings/settings_state.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/pages/skin_layout_win32.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "ui/window/window_messages.h"
#include "winlib/wide.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_CENTER;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY;
constexpr WPARAM kGroupNameLimit = 20;
constexpr WPARAM kMacroNameLimit = 9;

HFONT LanguageFont() { return (g_languageEnglish != 0 ? g_fontEn : g_fontEs).Get(); }

// The page's window while it shows its controls: the step download posts it the news of a
// stepped open macro (from the device input thread, hence a post).
std::atomic<HWND> g_macroPageWindow{nullptr};

void PostOpenMacroStepped()
{
    if (HWND window = g_macroPageWindow.load()) PostMessageW(window, WM_OPEN_MACRO_STEPPED, 0, 0);
}

std::u16string OpenGroupName()
{
    return g_currentGroup < g_macroGroupNames.size() ? g_macroGroupNames[g_currentGroup] : std::u16string();
}

}  // namespace

void CTEV_KestraDlg::CreateMacroPageControls()
{
    CreateMacroPageControlObjects();
    HWND parent = Handle();
    g_repeatCountEdit->Create(L"EDIT", kEditStyle, g_repeatCountEditRect, parent, IDC_REPEAT_COUNT_EDIT);
    g_macroNameEdit->Create(L"EDIT", kEditStyle, g_macroNameEditRect, parent, IDC_MACRO_NAME_EDIT);
    g_groupNameEdit->Create(L"EDIT", kEditStyle, g_groupNameEditRect, parent, IDC_GROUP_NAME_EDIT);
    g_macroList->Create(L"LISTBOX", kListStyle, g_macroListRect, parent, IDC_MACRO_LIST);
    g_eventList->Create(L"LISTBOX", kListStyle, g_eventListRect, parent, IDC_EVENT_LIST);
    g_lightList->Create(L"LISTBOX", kListStyle, g_lightListRect, parent, IDC_LIGHT_LIST);
    const HFONT font = LanguageFont();
    for (SubclassedControl* control : std::initializer_list<SubclassedControl*>{
             g_repeatCountEdit, g_macroNameEdit, g_groupNameEdit, g_macroList, g_eventList, g_lightList})
        control->SetFont(font);
    g_groupNameEdit->Send(EM_LIMITTEXT, kGroupNameLimit);
    g_macroNameEdit->Send(EM_LIMITTEXT, kMacroNameLimit);
    UpdateMacroNameEdits();
    g_macroPageWindow = parent;
    SetOpenMacroStepped(PostOpenMacroStepped);
}

void CTEV_KestraDlg::DestroyMacroPageControls()
{
    SetOpenMacroStepped(nullptr);
    g_macroPageWindow = nullptr;
    CreateMacroPageControlObjects();
    for (SubclassedControl* control : std::initializer_list<SubclassedControl*>{
             g_repeatCountEdit, g_macroNameEdit, g_groupNameEdit, g_macroList, g_eventList, g_lightList})
        control->Destroy();
}

void CTEV_KestraDlg::RefreshMacroLists()
{
    CreateMacroPageControlObjects();
    g_lightList->Clear();
    g_eventList->Clear();
    g_macroList->Clear();
    if (g_macroGroupCount == 0) {
        {
            std::lock_guard lock(g_macroStoreLock);
            g_macroCount = 0;
        }
        g_groupNameEdit->SetText(u"");
        g_macroNameEdit->SetText(u"");
        return;
    }
    const uint16_t count = std::min<uint16_t>(g_macroCount, kGroupMacroLimit);
    for (uint16_t i = 0; i < count; ++i) g_macroList->AddLine(std::u16string(MacroName(MacroTableCopy(i))));
    if (count == 0) return;
    SetOpenMacro(0);
    g_macroList->Select(0);
    ShowSelectedMacro();
}

void CTEV_KestraDlg::ShowSelectedMacro()
{
    CreateMacroPageControlObjects();
    g_lightList->Clear();
    // With no line selected there is no macro to show: the lists stay empty.
    const int32_t selected = g_macroList->Selection();
    if (selected < 0 || selected >= static_cast<int32_t>(std::min<uint16_t>(g_macroCount, kGroupMacroLimit))) return;
    SetOpenMacro(static_cast<uint32_t>(selected));
    g_macroNameEdit->SetText(g_macroList->LineText(selected));
    RefreshMacroEventList(g_currentMacro);
}

void CTEV_KestraDlg::RefreshMacroEventList(uint32_t macro)
{
    CreateMacroPageControlObjects();
    g_downLineCount = 0;
    g_upLineCount = 0;
    g_eventList->Clear();
    if (macro < g_macroTable.size()) {
        // One copy for the whole list: a step download may change the record meanwhile.
        const MacroRecord record = MacroTableCopy(macro);
        const uint16_t events = std::min<uint16_t>(record.eventCount, kMaxMacroEvents);
        if (events != 0) {
            for (uint32_t k = 0; k < events; ++k) {
                g_eventList->SetRedraw(false);
                AddMacroEventLines(std::span(&record, 1), 0, k);
                g_eventList->SetRedraw(true);
            }
            const bool repeats = (record.loopMode & MacroLoopMode::Mask) == MacroLoopMode::Repeat;
            g_repeatCountEdit->Enable(repeats);
            ShowRepeatCount(repeats ? FormatIniInt(record.repeatCount) : std::u16string(u"1"));
        }
    }
    View().Invalidate();
}

void CTEV_KestraDlg::AddMacroEventLines(std::span<const MacroRecord> table, uint32_t macro, uint32_t event)
{
    CreateMacroPageControlObjects();
    if (macro >= table.size()) return;
    // No lock: the recorder's key filter calls this with g_macroTable itself, whose record being
    // recorded is the recording's own (a step download leaves it alone); the filter must never
    // wait. Every other caller passes a copy.
    const std::vector<std::u16string> lines = MacroEventLines(table[macro], event);
    for (const std::u16string& line : lines) {
        g_eventList->AddLine(line);
        if (line.starts_with(kDownArrowPrefix)) ++g_downLineCount;
        if (line.starts_with(kUpArrowPrefix)) ++g_upLineCount;
    }
    g_eventList->Select(g_recording != 0 ? g_eventList->Count() - 1 : g_eventLine);
}

void CTEV_KestraDlg::ShowLightBlockDetails(uint8_t block)
{
    CreateMacroPageControlObjects();
    g_lightList->Clear();
    if (g_currentMacro >= g_macroTable.size() || block >= kLightBlockCount) return;
    const LightBlockLines shown =
        ShowMacroTableLightBlock(g_currentMacro, block, g_languageEnglish != 0, g_lightModeNames);
    g_lightBlockMode = shown.mode;
    for (const std::u16string& line : shown.lines) g_lightList->AddLine(line);
}

void CTEV_KestraDlg::UpdateMacroNameEdits()
{
    CreateMacroPageControlObjects();
    if (g_macroGroupCount != 0) {
        g_groupNameEdit->SetText(OpenGroupName());
        const bool open = g_macroCount >= 1 && g_currentMacro < g_macroTable.size();
        g_macroNameEdit->SetText(open ? std::u16string(MacroName(MacroTableCopy(g_currentMacro))) : std::u16string());
    } else {
        g_groupNameEdit->SetText(u"");
        g_macroNameEdit->SetText(u"");
    }
    View().Invalidate();
}

void CTEV_KestraDlg::ReloadCurrentGroup()
{
    if (g_macroGroupCount != 0) LoadGroupFile(g_currentGroup, true);
    RefreshMacroLists();
}

LRESULT CTEV_KestraDlg::OnOpenMacroStepped(WPARAM, LPARAM)
{
    if (g_page == kPageMacro && g_recording == 0 && OpenMacroExists()) RefreshMacroEventList(g_currentMacro);
    return 0;
}

void CTEV_KestraDlg::ShowCurrentGroupName()
{
    CreateMacroPageControlObjects();
    g_groupNameEdit->SetText(OpenGroupName());
    View().Invalidate();
}
