// The macro page on the real window: its lists and edits, their handlers, the page's presses and
// the macro file commands, checked on the lists, the files on disk and the messages shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/resource_ids.h"
#include "macros/macro_page_text.h"
#include "tests/macros/macro_test_records.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/led_mode_names.h"
#include "ui/macro_page_controls.h"
#include "ui/page_state.h"
#include "ui/skin_layout_win32.h"
#include "ui/window_messages.h"

namespace {

std::vector<std::u16string> Lines(const CEditableListBox& list)
{
    std::vector<std::u16string> lines;
    for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.LineText(i));
    return lines;
}

// A macro with a key, a move, a CPI change and a light event, and its light block.
MacroRecord SampleMacro(std::u16string_view name)
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
        if (window_ && IsWindow(Window())) window_->DestroyMacroPageControls();
        ResetPageState();
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
};

TEST_F(MacroPageTest, ListsOfASampleGroupInBothLanguages)
{
    ASSERT_TRUE(OpenPage());
    ASSERT_GE(g_macroCount, 1);
    const std::vector<std::u16string> english = {u"[↓]A",        u"    50ms", u"[X-]:12,[Y+]:7", u"    15ms",
                                                 u"[DPI]:1600 ", u"    20ms", u"LED-0 ",        u"    30ms",
                                                 u"[↑]Left button "};
    const std::vector<std::u16string> spanish = {u"[↓]A",        u"    50ms", u"[X-]:12,[Y+]:7", u"    15ms",
                                                 u"[DPI]:1600 ", u"    20ms", u"LED-0 ",        u"    30ms",
                                                 u"[↑]Botón Izquierdo"};
    for (uint32_t language : {1u, 0u}) {
        g_languageEnglish = language;
        FillLedModeNames();
        g_macroFolder = g_skinFolder + (language ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
        LoadMacroGroups();
        LoadGroupFile(0, true);
        g_macroTable[1] = SampleMacro(u"Sample");
        g_macroCount = std::max<uint16_t>(g_macroCount, 2);
        SaveAllMacrosToFile(GroupFilePath(g_macroFolder, 0));
        window_->ReloadCurrentGroup();
        window_->UpdateMacroNameEdits();

        ASSERT_EQ(g_macroList->Count(), g_macroCount);
        EXPECT_EQ(g_macroList->LineText(1), u"Sample");
        EXPECT_EQ(g_macroList->Selection(), 0);
        g_macroList->Select(1);
        window_->ShowSelectedMacro();
        EXPECT_EQ(g_currentMacro, 1u);
        EXPECT_EQ(g_macroNameEdit->Text(), u"Sample");
        EXPECT_EQ(Lines(*g_eventList), language ? english : spanish);
        EXPECT_EQ(g_downLineCount, 1);
        EXPECT_EQ(g_upLineCount, 1);
        EXPECT_EQ(g_repeatCountEdit->Text(), u"3");
        EXPECT_TRUE(g_repeatCountEdit->Enabled());
        EXPECT_EQ(g_groupNameEdit->Text(), g_macroGroupNames[0]);

        window_->ShowLightBlockDetails(0);
        const std::vector<std::u16string> light =
            language ? std::vector<std::u16string>{u"[LEN     ]:1", u"[Mode]:Ambilight", u"[Colour]:Define", u"[Time]:2s"}
                     : std::vector<std::u16string>{u"[LEN     ]:1", u"[Modo]: Arco Iris", u"[Colour]:Define",
                                                   u"[Duration]:2s"};
        EXPECT_EQ(Lines(*g_lightList), light);
        EXPECT_EQ(g_lightBlockMode, 7);
        EXPECT_EQ(g_macroTable[1].lightBlocks[0].steps[0].colour, 1);
        window_->ShowLightBlockDetails(200);  // no such block: an empty list, nothing read
        EXPECT_EQ(g_lightList->Count(), 0);
    }
}

TEST_F(MacroPageTest, ControlsAreMadeOnTheLayoutAndGoInOrder)
{
    ASSERT_TRUE(OpenPage());
    const std::pair<const SubclassedControl*, int> controls[] = {
        {g_repeatCountEdit, IDC_REPEAT_COUNT_EDIT}, {g_macroNameEdit, IDC_MACRO_NAME_EDIT},
        {g_groupNameEdit, IDC_GROUP_NAME_EDIT},     {g_macroList, IDC_MACRO_LIST},
        {g_eventList, IDC_EVENT_LIST},              {g_lightList, IDC_LIGHT_LIST}};
    for (const auto& [control, id] : controls) {
        ASSERT_TRUE(control->Exists());
        EXPECT_EQ(GetDlgCtrlID(control->Handle()), id);
        EXPECT_EQ(GetParent(control->Handle()), Window());
    }
    RECT rect{};
    GetWindowRect(g_macroList->Handle(), &rect);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, g_macroListRect.left);
    EXPECT_EQ(rect.top, g_macroListRect.top);
    EXPECT_EQ(SendMessageW(g_groupNameEdit->Handle(), EM_GETLIMITTEXT, 0, 0), 20);
    EXPECT_EQ(SendMessageW(g_macroNameEdit->Handle(), EM_GETLIMITTEXT, 0, 0), 9);
    window_->DestroyMacroPageControls();
    for (const auto& [control, id] : controls) EXPECT_FALSE(control->Exists()) << id;
    // The page can be entered again.
    window_->CreateMacroPageControls();
    window_->RefreshMacroLists();
    EXPECT_EQ(g_macroList->Count(), g_macroCount);
}

}  // namespace
