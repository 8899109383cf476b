// Recording a macro from the keyboard: the low-level hook that takes every keystroke away from
// the other programs, the window's message filter that turns them into events, and the record
// button's start and stop.
#include <mutex>

#include "macros/macro_commands.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_groups.h"
#include "macros/macro_recorder.h"
#include "ui/macro_page/macro_event_editing.h"
#include "ui/macro_page/macro_list_views.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "winlib/user_objects.h"

namespace {
HookOwner g_keyboardHook;
// Whether the macro-name and repeat-count edits took input before the recording disabled them.
bool g_nameEditWasEnabled = true;
bool g_countEditWasEnabled = true;
// The window whose filter the thread's dialog loops call.
CTEV_KestraDlg* g_filteredWindow = nullptr;

uint32_t SystemTimeOfDayMs()
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
}

// Dialog loops (the window's own, message boxes over it) hand every message to this filter before
// their keyboard handling; nonzero ends the message there.
LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message != nullptr && g_filteredWindow != nullptr) {
        const HWND window = g_filteredWindow->Handle();
        if (message->hwnd == window || IsChild(window, message->hwnd)) {
            try {
                if (g_filteredWindow->PreTranslateMessage(message)) return 1;
            } catch (...) {
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode < 0) return CallNextHookEx(nullptr, nCode, wParam, lParam);
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (HWND window = FindWindowW(nullptr, kMainWindowTitle); window != nullptr && key != nullptr)
        PostMessageW(window, static_cast<UINT>(wParam), key->vkCode, 0);
    // While a macro is recorded no other window or program sees the keyboard.
    return 1;
}

CTEV_KestraDlg::MessageFilter::MessageFilter(CTEV_KestraDlg* window)
    : window_(window), hook_(SetWindowsHookExW(WH_MSGFILTER, MessageFilterProc, nullptr, GetCurrentThreadId()))
{
    g_filteredWindow = window;
}

CTEV_KestraDlg::MessageFilter::~MessageFilter()
{
    hook_.Reset();
    if (g_filteredWindow == window_) g_filteredWindow = nullptr;
    try {
        if (g_recording != 0) window_->StopRecording();
    } catch (...) {
    }
}

BOOL CTEV_KestraDlg::PreTranslateMessage(MSG* message)
{
    if (message == nullptr) return FALSE;
    if (g_recording == 0) {
        if (message->message == WM_RBUTTONUP && ShownPage() == kPageMacro) OnEventListRightClick(message->pt);
    } else if (!IsKeyMessage(message->message)) {
        if (message->wParam == kVkF10) return TRUE;
    } else {
        // No lock: the record being recorded is the recording's own (macro_record.h).
        MacroRecord& record = g_macroTable[OpenMacroSlot()];
        const MacroRecorder::KeyOutcome outcome =
            g_macroRecorder.OnKey(message->message, static_cast<uint32_t>(message->wParam), SystemTimeOfDayMs(), record);
        if (outcome.recorded) AddMacroEventLines(g_macroTable, OpenMacroSlot(), static_cast<uint32_t>(outcome.event));
        if (outcome.swallow) return TRUE;
    }
    // Esc and Enter would end the window or press its default button.
    return message->message == WM_KEYDOWN && (message->wParam == VK_ESCAPE || message->wParam == VK_RETURN);
}

void CTEV_KestraDlg::StartOrStopRecording()
{
    if (g_recording == 0)
        StartRecording();
    else
        StopRecording();
}

void CTEV_KestraDlg::StartRecording()
{
    const ListBoxView macros = ListOf(g_macroList);
    if (macros.Count() <= 0) return;
    g_recording = 1;
    if (!g_keyboardHook) g_keyboardHook.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, KeyHookProc, GetModuleHandleW(nullptr), 0));
    const int32_t selected = macros.Selection();
    {
        std::lock_guard lock(g_macroStoreLock);
        g_currentMacro = selected < 0 ? 0 : std::min<uint32_t>(static_cast<uint32_t>(selected), kGroupMacroLimit - 1);
        g_macroRecorder.Start(g_macroTable[g_currentMacro], macros.Text(static_cast<int32_t>(g_currentMacro)));
    }
    // The stored macro stays as it is until the recording stops and replaces it. The keys go to
    // the recording, but the edits' own menus (Paste, Delete, Undo...) would still change the
    // name or the count, and their change would save the record half recorded over it.
    g_nameEditWasEnabled = g_macroNameEdit->Enabled();
    g_countEditWasEnabled = g_repeatCountEdit->Enabled();
    g_macroNameEdit->Enable(false);
    g_repeatCountEdit->Enable(false);
    ShowRepeatCount(u"1");
    ListOf(g_eventList).Clear();
    ListOf(g_lightList).Clear();
}

void CTEV_KestraDlg::StopRecording()
{
    g_recording = 0;
    {
        std::lock_guard lock(g_macroStoreLock);
        g_macroRecorder.Stop(g_macroTable[OpenMacroSlot()]);
    }
    g_keyboardHook.Reset();
    CreateMacroPageControlObjects();
    g_macroNameEdit->Enable(g_nameEditWasEnabled);
    g_repeatCountEdit->Enable(g_countEditWasEnabled);
    // The recording is kept in its group's file at once: nothing else would save it before the
    // next group or macro is opened.
    if (g_macroGroupCount > 0) SaveMacroToFile(GroupFilePath(g_macroFolder, g_currentGroup), OpenMacroSlot());
}
