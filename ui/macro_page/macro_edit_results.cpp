// The end of an in-place edit of one of the macro page's lists: the edited line back into the
// open macro.
#include <mutex>

#include "base/user_prompts.h"
#include "macros/macro_commands.h"
#include "macros/macro_edit_messages.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_line_edits.h"
#include "settings/settings_state.h"
#include "ui/macro_page/light_popup_link.h"
#include "ui/macro_page/macro_list_views.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "winlib/wide.h"

namespace {
constexpr int32_t kLightTimeLine = 3;

void ShowMessages(const LineEditResult& result)
{
    for (LineEditMessage message : result.messages) ShowMessage(LineEditMessageText(message, g_languageEnglish));
}
}  // namespace

LRESULT CTEV_KestraDlg::OnMacroListEditEnd(WPARAM wParam, LPARAM)
{
    if (g_recording != 0) return 0;
    const ListBoxView events = ListOf(g_eventList);
    const ListBoxView macros = ListOf(g_macroList);
    const ListBoxView lights = ListOf(g_lightList);
    g_eventLine = g_eventLineSel = events.Selection();
    g_macroListSel = macros.Selection();
    const auto* source = reinterpret_cast<const CEditableListBox*>(wParam);

    if (source != nullptr && source == g_macroList) {
        if (g_macroListSel < 0 || g_macroListSel >= static_cast<int32_t>(kGroupMacroLimit)) return 0;
        MacroRecord& record = g_macroTable[static_cast<size_t>(g_macroListSel)];
        const std::u16string text = macros.Text(g_macroListSel);
        // The name read and set in one section: a step download writes the open group's records
        // from the input thread.
        std::u16string old;
        bool taken;
        {
            std::lock_guard lock(g_macroStoreLock);
            old = MacroName(record);
            taken = SetMacroNameFromLine(record, text);
        }
        const bool renamed = text != old;
        if (!taken) {
            ShowMessage(MoreThanLimitText(g_languageEnglish));
            macros.Send(LB_DELETESTRING, static_cast<WPARAM>(g_macroListSel), 0);
            macros.Send(LB_INSERTSTRING, static_cast<WPARAM>(g_macroListSel), reinterpret_cast<LPARAM>(AsWide(old)));
            macros.Select(g_macroListSel);
        } else if (renamed && g_macroGroupCount != 0 && g_currentGroup < g_macroGroupCount && g_macroListSel < g_macroCount) {
            SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), static_cast<uint32_t>(g_macroListSel));
        }
        return 0;
    }

    g_macroListSel = std::min(g_macroListSel, static_cast<int32_t>(kGroupMacroLimit - 1));
    if (g_macroListSel < 0) return 0;
    g_selectedEvent = g_eventLineSel / 2;
    MacroRecord& record = g_macroTable[static_cast<size_t>(g_macroListSel)];
    LineEditResult result;
    const bool lightTime = source != nullptr && source == g_lightList;
    const int32_t lightRow = lights.Selection();
    {
        std::lock_guard lock(g_macroStoreLock);
        // The time of a block comes only from the light list's time line: the end of an edit of
        // the light event's own line changes nothing in its block.
        if (lightTime && lightRow == kLightTimeLine)
            result = ApplyLightTimeEdit(record, g_eventLine, lights.Text(lightRow));
        else if (!lightTime)
            result = ApplyEventLineEdit(record, g_eventLine, events.Text(g_eventLine));
    }
    ShowMessages(result);
    if (lightTime && result.changed) {
        g_lightBlockIndex = static_cast<uint8_t>(
            MacroTableCopy(static_cast<uint32_t>(g_macroListSel)).Event(static_cast<size_t>(g_eventLine / 2)).x & 0xFF);
        ShowLightBlockDetails(g_lightBlockIndex);
        lights.Select(lightRow);
    }
    RefreshMacroEventList(static_cast<uint32_t>(g_macroListSel));
    if (result.changed) SaveOpenMacro();
    return 0;
}
