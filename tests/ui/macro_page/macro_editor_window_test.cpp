// The macro editor on the real window: the context menu's commands, the in-place edits they start
// and the recording of keys, checked on the event list, the record and the group file.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "macros/macro_editor_state.h"
#include "macros/macro_line_codec.h"
#include "macros/macro_page_text.h"
#include "settings/key_vocabulary.h"
#include "sim/simulated_mouse_text.h"
#include "tests/macros/macro_test_records.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/macro_page/macro_event_editing.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/led_mode_names.h"
#include "ui/pages/page_state.h"
#include "ui/popups/menu_dlg.h"
#include "ui/popups/popup_openers.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/window_messages.h"

namespace {
using Lines = std::vector<std::u16string>;

Lines LinesOf(const CEditableListBox& list)
{
    Lines lines;
    for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.LineText(i));
    return lines;
}

class MacroEditorTest : public MainWindowTest {
protected:
    ~MacroEditorTest() override
    {
        if (window_ && IsWindow(Window())) window_->DestroyMacroPageControls();
    }

    // The window on the macro page of `language`, macro 1 of the first group being [↓]A, 50 ms, [↑]A
    // and selected.
    bool OpenSample(uint32_t language)
    {
        if (!Open()) return false;
        g_languageEnglish = language;
        FillLedModeNames();
        g_macroFolder = g_skinFolder + (language ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
        g_page = kPageMacro;
        window_->CreateMacroPageControls();
        ResetSample();
        return true;
    }
    void ResetSample()
    {
        LoadMacroGroups();
        LoadGroupFile(0, true);
        MacroRecord sample{};
        SetMacroName(sample, u"Sample");
        sample.eventCount = 2;
        sample.SetEvent(0, {MacroEventAction::Press, 4, 0, 0, 50});
        sample.SetEvent(1, {MacroEventAction::Release, 4, 0, 0, 60});
        g_macroTable[1] = sample;
        g_macroCount = std::max<uint16_t>(g_macroCount, 2);
        SaveAllMacrosToFile(GroupFilePath(g_macroFolder, 0));
        window_->ReloadCurrentGroup();
        g_macroList->Select(1);
        window_->ShowSelectedMacro();
    }
    // A right-click on the event list with `line` selected, then the menu's command.
    Lines Command(int32_t line, UINT command)
    {
        g_eventList->Select(line);
        ChooseFromEventMenu(command);
        return LinesOf(*g_eventList);
    }
    std::u16string LastMessage() const { return prompts_.shown.empty() ? u"" : prompts_.shown.back().text; }
};

TEST_F(MacroEditorTest, MenuCommandsEditTheEventListInBothLanguages)
{
    for (uint32_t language : {1u, 0u}) {
        ASSERT_TRUE(OpenSample(language));
        const std::u16string left = GetKeyDisplayName(0xF1), middle = GetKeyDisplayName(0xF2),
                             right = GetKeyDisplayName(0xF3);
        struct Row {
            UINT command;
            int32_t line;
            Lines expected;
        };
        const Row rows[] = {
            {ID_INSERT_BEFORE_LEFT_DOWN, 0, {u"[↓]" + left, u"    5ms", u"[↓]A", u"    50ms", u"[↑]A"}},
            {ID_INSERT_BEFORE_RIGHT_UP, 2, {u"[↓]A", u"    50ms", u"[↑]" + right, u"    5ms", u"[↑]A"}},
            {ID_INSERT_AFTER_MIDDLE_DOWN, 1, {u"[↓]A", u"    50ms", u"[↓]" + middle, u"    5ms", u"[↑]A"}},
            {ID_INSERT_AFTER_LEFT_UP, 2, {u"[↓]A", u"    50ms", u"[↑]A", u"    60ms", u"[↑]" + left}},
            {ID_INSERT_XY_POS_NEG, 0, {u"[↓]A", u"    50ms", u"[X+]:10,[Y-]:10", u"    5ms", u"[↑]A"}},
            {ID_INSERT_SET_CPI, 0, {u"[↓]A", u"    50ms", u"[DPI]:800 ", u"    5ms", u"[↑]A"}},
            {ID_INSERT_RESET_CPI, 0, {u"[↓]A", u"    50ms", u"[DPI]:Reset", u"    5ms", u"[↑]A"}},
            {ID_INSERT_LIGHT, 0, {u"[↓]A", u"    50ms", u"LED-0 ", u"    5ms", u"[↑]A"}},
            {ID_INSERT_DELAY, 0, {u"[↓]A", u"    50ms", u"[Delay]", u"    5ms", u"[↑]A"}},
            {ID_DELETE_EVENT, 2, {u"[↓]A"}},
            {ID_DELETE_EVENT, -1, {u"[↑]A"}},  // no line selected: the first event
        };
        for (const Row& row : rows) {
            ResetSample();
            EXPECT_EQ(Command(row.line, row.command), row.expected) << row.command << " language " << language;
        }
        // The selection follows the insert: two lines below the old one.
        ResetSample();
        Command(0, ID_INSERT_AFTER_LEFT_DOWN);
        EXPECT_EQ(g_eventList->Selection(), 2);

        // The sixth light event is refused with the language's message.
        ResetSample();
        g_macroTable[1].lightCount = 5;
        prompts_.shown.clear();
        EXPECT_EQ(Command(0, ID_INSERT_LIGHT).size(), 3u);
        EXPECT_EQ(LastMessage(), language ? u"More than limit!" : u"Más que límite");

        // "Modify delay" opens the editor on a delay line only; the typed delay is clamped.
        ResetSample();
        Command(0, ID_MODIFY_DELAY);
        EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
        Command(1, ID_MODIFY_DELAY);
        ASSERT_NE(g_eventList->EditorWindow(), nullptr);
        SetWindowTextW(g_eventList->EditorWindow(), L"20000");
        SendMessageW(g_eventList->Handle(), WM_ITEMEDIT_FINISH, 1, 0);
        EXPECT_EQ(LastMessage(), language ? u"More than limit!" : u"Más que límite");
        EXPECT_EQ(g_macroTable[1].delays[0], 10000);
        EXPECT_EQ(LinesOf(*g_eventList), (Lines{u"[↓]A", u"    10000ms", u"[↑]A"}));

        // "Change parameters" edits moves, CPI changes and light events, not keys.
        Command(0, ID_CHANGE_PARAMETERS);
        EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
        Command(0, ID_INSERT_SET_CPI);
        Command(2, ID_CHANGE_PARAMETERS);
        ASSERT_NE(g_eventList->EditorWindow(), nullptr);
        SetWindowTextW(g_eventList->EditorWindow(), L"[DPI]:1500");
        SendMessageW(g_eventList->Handle(), WM_ITEMEDIT_FINISH, 1, 0);
        EXPECT_EQ(LastMessage(), u"CPI(:200/400/600/800/1000/1200/1600/2000/2400/3200/4000/4800)");
        EXPECT_EQ(g_eventList->LineText(2), u"[DPI]:800 ");

        window_->DestroyMacroPageControls();
        window_.reset();
    }
}

TEST_F(MacroEditorTest, RecordedKeysBecomeEventsAndReachTheGroupFile)
{
    ASSERT_TRUE(OpenSample(1));
    // The hook hands every key to the window and to nobody else.
    KBDLLHOOKSTRUCT key{'B', 0, 0, 0, 0};
    EXPECT_EQ(KeyHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key)), 1);
    MSG posted{};
    ASSERT_TRUE(PeekMessageW(&posted, Window(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>('B'));

    // Until the recording stops the macro stays as stored, in its file and in the mouse: an apply
    // (a power broadcast) while it runs sends what the one before it sent.
    const std::u16string file = GroupFilePath(g_macroFolder, 0);
    const std::u16string stored = files_.Get(file, u"Macros", u"1", kMacroLineBufferChars);
    g_buttonAssignments[0][8] = MakeFileMacroCode(0, 1);
    SendMessageW(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    const std::string applied = MemoryRowsText(mouse_);
    window_->StartOrStopRecording();
    ASSERT_EQ(g_recording, 1u);
    EXPECT_EQ(g_eventList->Count(), 0);
    EXPECT_EQ(files_.Get(file, u"Macros", u"1", kMacroLineBufferChars), stored);
    auto key_message = [&](UINT message, WPARAM vk) {
        MSG msg{Window(), message, vk, 0, 0, {}};
        return window_->PreTranslateMessage(&msg);
    };
    // A device thread holding the macro store does not hold up the filter, on which the
    // system-wide keyboard hook waits.
    std::promise<void> taken;
    std::atomic<bool> filtered{false};
    bool heldToTheEnd = true;
    std::thread device([&] {
        std::lock_guard lock(g_macroStoreLock);
        taken.set_value();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!filtered && std::chrono::steady_clock::now() < deadline) Sleep(1);
        heldToTheEnd = filtered;
    });
    taken.get_future().wait();
    EXPECT_FALSE(key_message(WM_KEYDOWN, 'Q'));
    filtered = true;
    device.join();
    EXPECT_TRUE(heldToTheEnd);
    EXPECT_FALSE(key_message(WM_KEYDOWN, 'Q'));  // key repeat
    EXPECT_TRUE(key_message(WM_KEYDOWN, VK_RETURN));
    // The dialog loop's keyboard handling hands its messages to the same filter.
    MSG up{Window(), WM_KEYUP, 'Q', 0, 0, {}};
    IsDialogMessageW(Window(), &up);
    EXPECT_FALSE(key_message(WM_KEYUP, VK_RETURN));
    // Menu commands do nothing while recording. The name and count edits take no input, and a
    // change that reaches them still (their menus' Cut, Delete, Paste, Undo, a text set) is put
    // back: it would save the record half recorded.
    SendMessageW(Window(), WM_COMMAND, ID_INSERT_DELAY, 0);
    for (CEdit* edit : {g_repeatCountEdit, g_macroNameEdit}) {
        EXPECT_FALSE(edit->Enabled());
        for (UINT message : {WM_CUT, WM_PASTE, WM_CLEAR, EM_UNDO}) {
            edit->Send(EM_SETSEL, 0, -1);
            edit->Send(message);
        }
        edit->SetText(u"7");
    }
    EXPECT_EQ(g_repeatCountEdit->Text(), u"1");
    EXPECT_EQ(g_macroNameEdit->Text(), u"Sample");
    SendMessageW(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(mouse_.ApplyCount(), 2);
    EXPECT_EQ(MemoryRowsText(mouse_), applied);
    EXPECT_EQ(files_.Get(file, u"Macros", u"1", kMacroLineBufferChars), stored);
    const Lines lines = LinesOf(*g_eventList);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], u"[↓]Q");
    EXPECT_EQ(lines[4], u"[↑]Q");
    EXPECT_EQ(lines[6], u"[↑]" + GetKeyDisplayName(VkToHidUsage(VK_RETURN)));
    EXPECT_EQ(g_eventList->Selection(), 6);

    window_->StartOrStopRecording();
    EXPECT_EQ(g_recording, 0u);
    EXPECT_TRUE(g_repeatCountEdit->Enabled() && g_macroNameEdit->Enabled());
    EXPECT_EQ(g_repeatCountEdit->Text(), u"1");
    EXPECT_EQ(g_macroNameEdit->Text(), u"Sample");
    EXPECT_EQ(g_macroTable[1].eventCount, 4);
    EXPECT_EQ(std::u16string(g_macroTable[1].name.data()), u"Sample");
    // The recording is in the group file: reading the file again gives it back.
    g_macroTable[1] = MacroRecord{};
    LoadGroupFile(0, true);
    EXPECT_EQ(g_macroTable[1].eventCount, 4);
    EXPECT_EQ(g_macroTable[1].codes[0], VkToHidUsage('Q'));
    EXPECT_EQ(g_macroTable[1].delays[3], 20);
}
}  // namespace

namespace {
TEST_F(MacroEditorTest, HidingTheWindowStopsAndSavesARunningRecording)
{
    ASSERT_TRUE(OpenSample(1));
    const ButtonPos& minimise = window_->m_mainPos[0];
    const LPARAM onMinimise = MAKELPARAM(minimise.x + minimise.width / 2, minimise.y + minimise.height / 2);
    // Frame button 0 (let through while recording), the system menu's minimise and its close.
    const std::vector<std::function<void()>> hides = {
        [&] {
            for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(Window(), message, 0, onMinimise);
        },
        [&] { SendMessageW(Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0); },
        [&] { SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t road = 0; road < hides.size(); ++road) {
        ShowWindow(Window(), SW_RESTORE);
        // The count edit, disabled for a macro played in loop mode 1, stays so after the recording.
        g_macroTable[1].loopMode = road == 1 ? 1 : 0;
        g_macroList->Select(1);
        window_->ShowSelectedMacro();
        window_->StartOrStopRecording();
        ASSERT_EQ(g_recording, 1u);
        MSG key{Window(), WM_KEYDOWN, 'Z', 0, 0, {}};
        window_->PreTranslateMessage(&key);
        key.message = WM_KEYUP;
        window_->PreTranslateMessage(&key);
        hides[road]();
        EXPECT_TRUE(IsIconic(Window())) << road;
        EXPECT_EQ(g_recording, 0u) << road;
        EXPECT_TRUE(g_macroNameEdit->Enabled()) << road;
        EXPECT_EQ(g_repeatCountEdit->Enabled(), road != 1) << road;
        // Saved: the group file gives the recorded key back.
        g_macroTable[1] = MacroRecord{};
        LoadGroupFile(0, true);
        EXPECT_EQ(g_macroTable[1].eventCount, 2) << road;
        EXPECT_EQ(g_macroTable[1].codes[0], VkToHidUsage('Z')) << road;
    }
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MacroEditorTest, LightEventsShowTheirBlockWhosePopUpsAndTimeEditTheBlock)
{
    ASSERT_TRUE(OpenSample(1));
    Command(0, ID_INSERT_LIGHT);
    auto notify = [&](int control, int code, HWND list) {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(control, code), reinterpret_cast<LPARAM>(list));
    };
    g_eventList->Select(2);
    notify(IDC_EVENT_LIST, LBN_SELCHANGE, g_eventList->Handle());
    ASSERT_EQ(g_lightList->Count(), 4);
    EXPECT_EQ(g_lightList->LineText(0), u"[LEN     ]:1");
    EXPECT_EQ(g_lightList->LineText(3), u"[Time]:0s");

    // A right-click on the mode line opens the mode pop-up; a new selection closes it.
    RECT rect{};
    GetClientRect(g_lightList->Handle(), &rect);
    MapWindowPoints(g_lightList->Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    const int32_t height = static_cast<int32_t>(SendMessageW(g_lightList->Handle(), LB_GETITEMHEIGHT, 0, 0));
    auto rightClickRow = [&](int row) {
        MSG click{g_lightList->Handle(), WM_RBUTTONUP, 0, 0, 0, {rect.left + 4, rect.top + row * height + 2}};
        window_->PreTranslateMessage(&click);
    };
    rightClickRow(1);
    EXPECT_EQ(g_lightList->Selection(), 1);
    EXPECT_TRUE(MenuPopupShown());
    EXPECT_EQ(g_menuMode, kMenuLightModes);
    notify(IDC_LIGHT_LIST, LBN_SELCHANGE, g_lightList->Handle());
    EXPECT_FALSE(MenuPopupShown());
    // Another macro opened from the macro list closes it too: a mode chosen after would go into
    // the macro left while the save follows the one open. Chosen if it stays, it is in the file.
    const uint8_t shownMode = g_macroTable[1].lightBlocks[0].steps[0].mode;
    rightClickRow(1);
    ASSERT_TRUE(MenuPopupShown());
    g_macroList->Select(0);
    notify(IDC_MACRO_LIST, LBN_SELCHANGE, g_macroList->Handle());
    if (MenuPopupShown()) {
        const int32_t row = g_pMenuPopup->RowHeight();
        SendMessageW(g_pMenuPopup->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 3 * row + row / 2));
        SendMessageW(g_pMenuPopup->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 3 * row + row / 2));
    }
    const uint8_t mode = g_macroTable[1].lightBlocks[0].steps[0].mode;
    if (mode != shownMode) {
        MacroRecord stored{};
        EXPECT_EQ(LoadMacroFromFile(stored, 0, 1).lightBlocks[0].steps[0].mode, mode);
    }
    g_macroList->Select(1);
    notify(IDC_MACRO_LIST, LBN_SELCHANGE, g_macroList->Handle());
    g_eventList->Select(2);
    notify(IDC_EVENT_LIST, LBN_SELCHANGE, g_eventList->Handle());
    // The colour of a block in mode 6 is not chosen.
    g_macroTable[1].lightBlocks[0].steps[0].mode = 6;
    rightClickRow(2);
    EXPECT_FALSE(MenuPopupShown());
    rightClickRow(2 + 10);  // below the last line
    EXPECT_FALSE(MenuPopupShown());

    // A chosen mode shows the block again and leaves no pop-up owner.
    g_popupOwnerButton = 35;
    EXPECT_EQ(SendMessageW(Window(), WM_LIGHTMODE_CHOSEN, 0, 0), 0);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);

    // A double-click on the time line edits it: 3 seconds are 30 tenths.
    g_lightList->Select(3);
    notify(IDC_LIGHT_LIST, LBN_DBLCLK, g_lightList->Handle());
    ASSERT_NE(g_lightList->EditorWindow(), nullptr);
    SetWindowTextW(g_lightList->EditorWindow(), L"[Time]:3s");
    SendMessageW(g_lightList->Handle(), WM_ITEMEDIT_FINISH, 1, 0);
    EXPECT_EQ(g_macroTable[1].lightBlocks[0].steps[0].time, 30);
    EXPECT_EQ(g_lightList->LineText(3), u"[Time]:3s");
}
}  // namespace
