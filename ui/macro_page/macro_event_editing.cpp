// The event list's editing commands: the context menu, inserts, delete, in-place edits started
// from the menu, and the selection handlers of the event and light lists. Each change of the open
// macro is saved into its group's file at once.
#include "ui/macro_page/macro_event_editing.h"

#include <mutex>

#include "base/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_edit_messages.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "settings/settings_state.h"
#include "ui/macro_page/light_popup_link.h"
#include "ui/macro_page/macro_list_views.h"
#include "ui/pages/page_state.h"
#include "ui/popups/tev_menu.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"

namespace {
void TrackWithSystemMenu(HMENU menu, POINT screen, HWND owner)
{
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

bool Inside(const RECT& rect, POINT point) { return PtInRect(&rect, point) != FALSE; }

// Sends the character that opens a list's in-place editor on its selected line.
void BeginListEdit(const ListBoxView& list) { list.Send(WM_CHAR, 1, 0); }

// The event list's menu takes no focus: an in-place edit still open when it pops up is taken
// first, as its lost focus would take it, so that what was typed goes into the event it began on
// and not into whatever a command of the menu leaves at its line (the rebuilt list keeps the line
// selected for the command). A right-click on the light list takes it too, before its pop-up.
void TakeListEditsBeforeMenu(POINT cursor)
{
    if (Inside(ListOf(g_eventList).ScreenRect(), cursor) || Inside(ListOf(g_lightList).ScreenRect(), cursor))
        EndListEdits();
}
}  // namespace

ContextMenuTracker g_trackContextMenu = TrackWithSystemMenu;

void CTEV_KestraDlg::OnEventListRightClick(POINT cursor)
{
    TakeListEditsBeforeMenu(cursor);
    const ListBoxView events = ListOf(g_eventList);
    const ListBoxView macros = ListOf(g_macroList);
    const int32_t line = events.LineAt(cursor);
    if (macros.Selection() >= 0) {
        g_eventLineCount = events.Count();
        if (Inside(events.ScreenRect(), cursor) && (line < g_eventLineCount || g_eventLineCount == 0))
            g_trackContextMenu(GetSubMenu(g_macroEditMenu.Get(), 0), cursor, Handle());
        g_macroListSel = std::min(macros.Selection(), static_cast<int32_t>(kGroupMacroLimit - 1));
        g_eventLine = g_eventLineSel = events.Selection();
        g_selectedEvent = g_eventLineSel / 2;
    }
    OnLightListRightClick(cursor);
}

bool CTEV_KestraDlg::InsertMacroEvent(uint32_t macro, int32_t position, uint8_t code, uint8_t action)
{
    MacroEditResult result;
    {
        std::lock_guard lock(g_macroStoreLock);
        result = ::InsertMacroEvent(g_macroTable[std::min<uint32_t>(macro, kGroupMacroLimit - 1)], position, code, action);
    }
    if (result != MacroEditResult::Done) {
        ShowMessage(MacroEditResultText(result, g_languageEnglish));
        return false;
    }
    g_eventLine += 2;
    return true;
}

void CTEV_KestraDlg::InsertEventAt(uint8_t code, uint8_t action)
{
    if (g_recording != 0) return;
    const bool inserted = InsertMacroEvent(OpenMacroSlot(), g_selectedEvent, code, action);
    RefreshMacroEventList(OpenMacroSlot());
    if (inserted) SaveOpenMacro();
}

void CTEV_KestraDlg::InsertEventAfter(uint8_t code, uint8_t action)
{
    if (g_recording != 0) return;
    const bool empty = MacroTableCopy(OpenMacroSlot()).eventCount == 0;
    const bool inserted = InsertMacroEvent(OpenMacroSlot(), empty ? 0 : g_selectedEvent + 1, code, action);
    if (empty) g_eventLine = 0;
    RefreshMacroEventList(OpenMacroSlot());
    if (inserted) SaveOpenMacro();
}

void CTEV_KestraDlg::OnInsertBeforeLeftDown() { InsertEventAt(MacroEventCode::LeftButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertBeforeLeftUp() { InsertEventAt(MacroEventCode::LeftButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertBeforeRightDown() { InsertEventAt(MacroEventCode::RightButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertBeforeRightUp() { InsertEventAt(MacroEventCode::RightButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertBeforeMiddleDown() { InsertEventAt(MacroEventCode::MiddleButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertBeforeMiddleUp() { InsertEventAt(MacroEventCode::MiddleButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertAfterLeftDown() { InsertEventAfter(MacroEventCode::LeftButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertAfterLeftUp() { InsertEventAfter(MacroEventCode::LeftButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertAfterRightDown() { InsertEventAfter(MacroEventCode::RightButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertAfterRightUp() { InsertEventAfter(MacroEventCode::RightButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertAfterMiddleDown() { InsertEventAfter(MacroEventCode::MiddleButton, MacroEventAction::Press); }
void CTEV_KestraDlg::OnInsertAfterMiddleUp() { InsertEventAfter(MacroEventCode::MiddleButton, MacroEventAction::Release); }
void CTEV_KestraDlg::OnInsertXYNegNeg() { InsertEventAfter(MacroEventCode::Move, MacroEventAction::MoveMinusXMinusY); }
void CTEV_KestraDlg::OnInsertXYNegPos() { InsertEventAfter(MacroEventCode::Move, MacroEventAction::MoveMinusXPlusY); }
void CTEV_KestraDlg::OnInsertXYPosNeg() { InsertEventAfter(MacroEventCode::Move, MacroEventAction::MovePlusXMinusY); }
void CTEV_KestraDlg::OnInsertXYPosPos() { InsertEventAfter(MacroEventCode::Move, MacroEventAction::MovePlusXPlusY); }
void CTEV_KestraDlg::OnInsertSetCpi() { InsertEventAfter(MacroEventCode::Cpi, MacroEventAction::SetCpi); }
void CTEV_KestraDlg::OnInsertResetCpi() { InsertEventAfter(MacroEventCode::Cpi, MacroEventAction::ResetCpi); }
void CTEV_KestraDlg::OnInsertDelay() { InsertEventAfter(MacroEventCode::Delay, MacroEventAction::DelayOnly); }

void CTEV_KestraDlg::OnInsertLight()
{
    if (MacroTableCopy(OpenMacroSlot()).lightCount >= kLightBlockCount) {
        ShowMessage(MoreThanLimitText(g_languageEnglish));
        return;
    }
    InsertEventAfter(MacroEventCode::Light, MacroEventAction::LightMode0);
}

void CTEV_KestraDlg::OnMacroDeleteEvent()
{
    if (g_recording != 0) return;
    bool deleted;
    {
        std::lock_guard lock(g_macroStoreLock);
        deleted = DeleteMacroEvent(g_macroTable[OpenMacroSlot()], g_selectedEvent);
    }
    if (!deleted) return;
    g_eventLine = g_eventLine > 2 ? g_eventLine - 2 : 0;
    RefreshMacroEventList(OpenMacroSlot());
    SaveOpenMacro();
}

void CTEV_KestraDlg::OnModifyDelay()
{
    // A line of -1 (none selected) is no delay line.
    if (g_recording != 0 || g_eventLineCount == 0 || g_eventLine < 0 || g_eventLine % 2 != 1) return;
    BeginListEdit(ListOf(g_eventList));
}

void CTEV_KestraDlg::OnChangeParameters()
{
    if (g_recording != 0 || g_eventLineCount == 0 || g_eventLine < 0 || g_eventLine % 2 != 0) return;
    if (MacroTableCopy(OpenMacroSlot()).Event(static_cast<size_t>(g_eventLine / 2)).code <= 128) return;
    BeginListEdit(ListOf(g_eventList));
}

void CTEV_KestraDlg::OnEventListSelChange()
{
    CloseLightPopup();
    const ListBoxView events = ListOf(g_eventList);
    const int32_t line = events.Selection();
    const MacroEvent event = MacroTableCopy(OpenMacroSlot()).Event(line < 0 ? kMaxMacroEvents : static_cast<size_t>(line / 2));
    const uint8_t block = static_cast<uint8_t>(event.x & 0xFF);
    if (line >= 0 && event.code == MacroEventCode::Light && block < kLightBlockCount) {
        g_lightBlockIndex = block;
        ShowLightBlockDetails(block);
    } else {
        // Other events, and light events naming a block the record does not have, show none.
        ListOf(g_lightList).Clear();
    }
}

void CTEV_KestraDlg::OnLightListSelChange() { CloseLightPopup(); }

void CTEV_KestraDlg::OnLightListDblClk()
{
    const ListBoxView lights = ListOf(g_lightList);
    if (lights.Selection() == 3) BeginListEdit(lights);
}

LRESULT CTEV_KestraDlg::OnLightParamChosen(WPARAM, LPARAM)
{
    if (g_lightBlockIndex < kLightBlockCount) ShowLightBlockDetails(g_lightBlockIndex);
    // The chosen mode or colour is in the open macro's block: its file follows at once.
    SaveOpenMacro();
    g_hoverMacroButton = BUTTON_NONE;
    g_popupOwnerButton = BUTTON_NONE;
    return 0;
}

void CTEV_KestraDlg::OnLightListRightClick(POINT cursor)
{
    const ListBoxView events = ListOf(g_eventList);
    const ListBoxView lights = ListOf(g_lightList);
    const int32_t line = events.Selection();
    const MacroRecord record = MacroTableCopy(OpenMacroSlot());
    if (line < 0 || record.Event(static_cast<size_t>(line / 2)).code != MacroEventCode::Light || lights.Count() <= 0) return;
    const RECT rect = lights.ScreenRect();
    const int32_t row = lights.LineAt(cursor);
    if (!Inside(rect, cursor) || row >= lights.Count()) return;
    lights.Select(row);
    // The colour of a block whose mode takes no colour (6, 7) is not chosen.
    const uint8_t mode = g_lightBlockIndex < kLightBlockCount ? record.lightBlocks[g_lightBlockIndex].steps[0].mode : 0;
    int menuMode;
    if (row == 1)
        menuMode = kMenuLightModes;
    else if (row == 2 && mode != 6 && mode != 7)
        menuMode = kMenuLightColours;
    else
        return;
    OpenLightPopup(Handle(), menuMode, rect.left, cursor.y, rect.right, kLightPopupHeight);
}
