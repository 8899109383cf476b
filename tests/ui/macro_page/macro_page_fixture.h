#pragma once
// The macro page on the real window, for its tests: the fixture that opens the page, and helpers.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "macros/macro_event_edit.h"
#include "macros/macro_line_codec.h"
#include "macros/macro_page_text.h"
#include "settings/ini_value.h"
#include "tests/macros/macro_test_records.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/led_mode_names.h"
#include "ui/pages/page_state.h"
#include "ui/pages/skin_layout_win32.h"
#include "ui/popups/popup_openers.h"
#include "ui/popups/popup_state.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/window_messages.h"
#include "winlib/wide.h"

namespace {

inline std::vector<std::u16string> Lines(const CEditableListBox& list)
{
    std::vector<std::u16string> lines;
    for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.LineText(i));
    return lines;
}

// A macro with a key, a move, a CPI change and a light event, and its light block.
inline MacroRecord SampleMacro(std::u16string_view name)
{
    MacroRecord record{};
    SetMacroName(record, name);
    record.repeatCount = 3;
    record.eventCount = 5;
    record.moveCount = 1;
    record.cpiCount = 1;
    record.lightCount = 1;
    record.SetEvent(0, {MacroEventAction::Press, 4, 0, 0, 50});
    record.SetEvent(1, {MacroEventAction::MoveMinusXPlusY, MacroEventCode::Move, 12, 7, 15});
    record.SetEvent(2, {MacroEventAction::SetCpi, MacroEventCode::Cpi, 8, 0, 20});
    record.SetEvent(3, {MacroEventAction::LightMode0, MacroEventCode::Light, 0, 0, 30});
    record.SetEvent(4, {MacroEventAction::Release, 0xF1, 0, 0, 40});
    record.lightBlocks[0].stepCount = 1;
    record.lightBlocks[0].steps[0] = {4, 0, 25, 0};
    return record;
}

// Counts the WM_ITEMEDIT_DONE messages the window is sent while it lives.
class DoneCounter {
public:
    DoneCounter() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId())) { count_ = 0; }
    ~DoneCounter() { UnhookWindowsHookEx(hook_); }
    DoneCounter(const DoneCounter&) = delete;
    DoneCounter& operator=(const DoneCounter&) = delete;
    int Take() { return std::exchange(count_, 0); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_ITEMEDIT_DONE &&
            message->wParam == reinterpret_cast<WPARAM>(g_eventList))
            ++count_;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int count_ = 0;
    HHOOK hook_;
};

class MacroPageTest : public MainWindowTest {
protected:
    MacroPageTest()
    {
        ResetPageState();
        g_spareText1.clear();
        g_skipNextChar = 0;
        g_editStartChar = 0;
        g_suppressEditNotify = 0;
    }
    ~MacroPageTest() override
    {
        CloseMenuPopup();
        if (window_ && IsWindow(Window())) window_->DestroyMacroPageControls();
        ResetPageState();
        ResetPopupState();
    }

    // Opens the window and enters the macro page as its tab does.
    bool OpenPage()
    {
        if (!Open()) return false;
        g_page = kPageMacro;
        window_->CreateMacroPageControls();
        window_->RefreshMacroLists();
        return true;
    }
    std::filesystem::path MacroFolder() const
    {
        return folder_ / (g_languageEnglish != 0 ? "skins/INI_EN/macro" : "skins/INI_CN/macro");
    }
    std::u16string Ini(const std::filesystem::path& file, const char16_t* section, const char16_t* key)
    {
        return files_.Get(file.u16string(), section, key, 64);
    }
    // Types a text into an edit as a person does: the edit's text changes and it notifies.
    void SetEdit(const SubclassedControl& edit, const std::u16string& text) { edit.SetText(text); }
    void Press(int macroButton)
    {
        g_hoverMainButton = BUTTON_NONE;
        g_hoverMacroButton = macroButton;
        window_->OnMacroPagePress({0, 0});
    }
    std::u16string LastMessage() const { return prompts_.shown.empty() ? u"" : prompts_.shown.back().text; }
    std::u16string GroupPath(const std::u16string& name) const { return g_macroFolder + name + u".dat"; }
    bool Exists(const std::u16string& path) const { return std::filesystem::exists(std::filesystem::path(path)); }
    std::u16string GroupListEntry(int key)
    {
        return files_.Get(g_macroFolder + u"macroGrp.ini", u"MACRO_GROUP_NAME", FormatIniInt(key), 64);
    }
    std::u16string StoredMacroCount(const std::u16string& path) { return files_.Get(path, u"Macros", u"macroNum", 8); }
    MacroRecord StoredMacro(const std::u16string& path, int index)
    {
        MacroRecord record{};
        DecodeMacroLine(files_.Get(path, u"Macros", FormatIniInt(index), kMacroLineBufferChars), record,
                        MacVkAndText::VkToHidEn);
        return record;
    }
    std::u16string OpenGroupPath() const { return GroupFilePath(g_macroFolder, g_currentGroup); }
};

}  // namespace
