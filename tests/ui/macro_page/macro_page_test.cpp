// The macro page on the real window: its lists and edits, their handlers, the page's presses and
// the macro file commands, checked on the lists, the files on disk and the messages shown.
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

TEST_F(MacroPageTest, GroupNamesTypedRenameTheGroupAndItsFile)
{
    ASSERT_TRUE(OpenPage());
    ASSERT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_EQ(g_spareText1, u"Gaming");
    const std::u16string gaming = GroupPath(u"Gaming");
    const std::u16string count = StoredMacroCount(gaming);

    SetEdit(*g_groupNameEdit, u"Gam");
    EXPECT_EQ(g_macroGroupNames[0], u"Gam");
    EXPECT_EQ(GroupListEntry(0), u"Gam");
    EXPECT_FALSE(Exists(gaming));
    EXPECT_EQ(StoredMacroCount(GroupPath(u"Gam")), count);

    // Refused at once: the edit shows the group's name again and nothing on disk moves.
    for (const std::u16string refused : {u"Ga\\m", u"../Gam", u" Gam", u"Gam ", u"", u"   ", u"CON", u"Gam.",
                                         u"ABCDEFGHIJKLMNOPQRSTU"}) {
        SetEdit(*g_groupNameEdit, refused);
        EXPECT_EQ(g_groupNameEdit->Text(), u"Gam");
        EXPECT_EQ(g_macroGroupNames[0], u"Gam");
    }
    EXPECT_TRUE(Exists(GroupPath(u"Gam")));
    EXPECT_FALSE(Exists(g_macroFolder + u"Ga\\m.dat"));

    // Twenty characters are the most the group list keeps: given whole, and found at the next load.
    const std::u16string twenty = u"ABCDEFGHIJKLMNOPQRST";
    SetEdit(*g_groupNameEdit, twenty);
    EXPECT_EQ(g_macroGroupNames[0], twenty);
    EXPECT_TRUE(Exists(GroupPath(twenty)));

    // The name of another group (in any case) renames nothing; the edit keeps the text.
    SetEdit(*g_groupNameEdit, u"office");
    EXPECT_EQ(g_macroGroupNames[0], twenty);
    EXPECT_EQ(g_groupNameEdit->Text(), u"office");
    EXPECT_TRUE(Exists(GroupPath(u"Office")));

    // A copy that fails (a folder stands where the file would go) keeps the old name and file.
    std::filesystem::create_directory(std::filesystem::path(GroupPath(u"Blocked")));
    // (Anything standing under the new name is not replaced: the rename is taken back.)
    SetEdit(*g_groupNameEdit, u"Blocked");
    EXPECT_EQ(g_macroGroupNames[0], twenty);
    EXPECT_EQ(GroupListEntry(0), twenty);
    EXPECT_TRUE(Exists(GroupPath(twenty)));
    EXPECT_EQ(g_groupNameEdit->Text(), twenty);
    EXPECT_EQ(LastMessage(), u"Double name!");
    prompts_.shown.clear();

    // A change of case alone keeps the one file.
    SetEdit(*g_groupNameEdit, u"abcdefghijklmnopqrst");
    EXPECT_EQ(g_macroGroupNames[0], u"abcdefghijklmnopqrst");
    EXPECT_EQ(StoredMacroCount(GroupPath(u"abcdefghijklmnopqrst")), count);

    LoadMacroGroups();
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(g_macroGroupNames[0], u"abcdefghijklmnopqrst");
    EXPECT_TRUE(prompts_.shown.empty());

    // A new group would make its file empty: not over a group named "New" in another case.
    SetEdit(*g_groupNameEdit, u"nEW");
    Press(2);
    EXPECT_EQ(LastMessage(), u"'New' Double name!");
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(StoredMacroCount(GroupPath(u"nEW")), count);
}

TEST_F(MacroPageTest, MacroNamesRepeatCountsAndPlayModesReachTheGroupFile)
{
    ASSERT_TRUE(OpenPage());
    ASSERT_GE(g_macroCount, 2);
    const std::u16string second(MacroName(g_macroTable[1]));
    SetEdit(*g_macroNameEdit, u"Renamed");
    EXPECT_EQ(g_macroList->LineText(0), u"Renamed");
    EXPECT_EQ(g_macroList->Selection(), 0);
    EXPECT_EQ(DecodeMacroLineName(files_.Get(OpenGroupPath(), u"Macros", u"0", kMacroLineBufferChars)), u"Renamed");
    SetEdit(*g_macroNameEdit, u"");
    EXPECT_EQ(g_macroNameEdit->Text(), u"Renamed");
    SetEdit(*g_macroNameEdit, u"TenLetters");  // longer than a record's name: taken back
    EXPECT_EQ(g_macroNameEdit->Text(), u"Renamed");
    SetEdit(*g_macroNameEdit, second);  // another macro's name changes nothing
    EXPECT_EQ(MacroName(g_macroTable[0]), u"Renamed");
    EXPECT_EQ(g_macroNameEdit->Text(), second);

    Press(12);
    EXPECT_EQ(g_macroTable[0].loopMode & 0x0B, 0);
    EXPECT_TRUE(g_repeatCountEdit->Enabled());
    struct Row {
        const char16_t* typed;
        const char16_t* shown;
        uint16_t stored;
    };
    for (const Row& row : {Row{u"0", u"1", 1}, Row{u"65535", u"65535", 65535}, Row{u"65536", u"65535", 65535},
                           Row{u"123456789012345678901234567890", u"65535", 65535}, Row{u"7x", u"7x", 7}}) {
        SetEdit(*g_repeatCountEdit, row.typed);
        EXPECT_EQ(g_repeatCountEdit->Text(), row.shown);
        EXPECT_EQ(g_macroTable[0].repeatCount, row.stored);
        EXPECT_EQ(StoredMacro(OpenGroupPath(), 0).repeatCount, row.stored);
    }
    Press(10);
    EXPECT_EQ(g_macroTable[0].loopMode & 0x07, 2);
    EXPECT_EQ(g_repeatCountEdit->Text(), u"1");
    EXPECT_FALSE(g_repeatCountEdit->Enabled());
    Press(11);
    EXPECT_EQ(g_macroTable[0].loopMode & 0x07, 1);
    EXPECT_EQ(StoredMacro(OpenGroupPath(), 0).loopMode & 0x07, 1);
    EXPECT_EQ(StoredMacro(OpenGroupPath(), 0).repeatCount, 1);
    Press(12);
    EXPECT_EQ(g_repeatCountEdit->Text(), u"1");
    EXPECT_TRUE(g_repeatCountEdit->Enabled());
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MacroPageTest, GroupsAndMacrosUpToTheirLimitsAndDeletedAgain)
{
    ASSERT_TRUE(OpenPage());
    Press(2);
    EXPECT_EQ(g_macroGroupCount, 4);
    EXPECT_EQ(g_currentGroup, 3);
    EXPECT_EQ(g_groupNameEdit->Text(), u"New");
    EXPECT_TRUE(Exists(GroupPath(u"New")));
    EXPECT_EQ(g_macroList->Count(), 0);
    EXPECT_EQ(g_macroCount, 0);
    Press(2);
    EXPECT_EQ(LastMessage(), u"'New' Double name!");
    EXPECT_EQ(g_macroGroupCount, 4);
    EXPECT_EQ(g_currentGroup, 3);
    for (int g = 4; g < 10; ++g) {
        SetEdit(*g_groupNameEdit, u"G" + FormatIniInt(g - 1));
        Press(2);
    }
    EXPECT_EQ(g_macroGroupCount, 10);
    SetEdit(*g_groupNameEdit, u"G9");
    Press(2);
    EXPECT_EQ(LastMessage(), u"More than limit!");
    EXPECT_EQ(g_macroGroupCount, 10);

    // Twelve macros in the new group, then the limit.
    for (int m = 0; m < 12; ++m) {
        Press(6);
        EXPECT_EQ(g_macroCount, m + 1);
        EXPECT_EQ(g_macroNameEdit->Text(), u"New");
        SetEdit(*g_macroNameEdit, u"M" + FormatIniInt(m));
    }
    Press(6);
    EXPECT_EQ(LastMessage(), u"More than limit!");
    EXPECT_EQ(g_macroCount, 12);
    EXPECT_EQ(g_skipNextChar, 1u);

    // Deleting macro 5: the file follows the table, the assignments follow their macros.
    const uint8_t group = g_currentGroup;
    g_buttonAssignments[0][7] = MakeFileMacroCode(group, 5);
    g_buttonAssignments[1][7] = MakeFileMacroCode(group, 7);
    g_buttonAssignments[2][7] = MakeFileMacroCode(0, 7);
    g_macroList->Select(5);
    Press(7);
    EXPECT_EQ(g_macroCount, 11);
    EXPECT_EQ(g_currentMacro, 4u);
    EXPECT_EQ(g_macroNameEdit->Text(), u"M4");
    EXPECT_EQ(StoredMacroCount(OpenGroupPath()), u"11");
    for (int m = 0; m < 11; ++m)
        EXPECT_EQ(MacroName(StoredMacro(OpenGroupPath(), m)), u"M" + FormatIniInt(m < 5 ? m : m + 1));
    EXPECT_EQ(g_buttonAssignments[0][7], 0u);
    EXPECT_EQ(g_buttonAssignments[1][7], MakeFileMacroCode(group, 6));
    EXPECT_EQ(g_buttonAssignments[2][7], MakeFileMacroCode(0, 7));
    EXPECT_EQ(files_.Get(g_configIniPath, u"Config2", u"K7", 16), FormatIniInt(static_cast<int32_t>(MakeFileMacroCode(group, 6))));
    // No selection: nothing is deleted.
    g_macroList->Select(-1);
    Press(7);
    EXPECT_EQ(g_macroCount, 11);

    // Deleting groups: the open one goes with its file; assignments of later groups move down.
    g_buttonAssignments[0][6] = MakeFileMacroCode(4, 1);
    Press(3);
    EXPECT_EQ(g_macroGroupCount, 9);
    EXPECT_EQ(g_currentGroup, 0);
    EXPECT_FALSE(Exists(GroupPath(u"G9")));
    EXPECT_EQ(g_buttonAssignments[1][7], 0u);
    EXPECT_EQ(g_buttonAssignments[0][6], MakeFileMacroCode(4, 1));
    EXPECT_EQ(g_groupNameEdit->Text(), u"Gaming");
    Press(3);
    EXPECT_EQ(g_buttonAssignments[0][6], MakeFileMacroCode(3, 1));
    EXPECT_EQ(g_buttonAssignments[2][7], 0u);
    while (g_macroGroupCount > 0) Press(3);
    EXPECT_EQ(g_macroList->Count() + g_eventList->Count() + g_lightList->Count(), 0);
    EXPECT_EQ(g_macroCount, 0);
    EXPECT_EQ(g_groupNameEdit->Text(), u"");
    const size_t messages = prompts_.shown.size();
    g_skipNextChar = 0;
    for (int button : {1, 3, 6, 7, 5, 10}) Press(button);
    EXPECT_EQ(prompts_.shown.size(), messages);
    EXPECT_EQ(g_skipNextChar, 1u);
    EXPECT_EQ(g_macroGroupCount, 0);
    SetEdit(*g_groupNameEdit, u"Nothing");
    EXPECT_FALSE(Exists(GroupPath(u"Nothing")));
}

TEST_F(MacroPageTest, ImportExportAndRestore)
{
    ASSERT_TRUE(OpenPage());
    const std::u16string exported = (folder_ / "Foo.dat").u16string();
    prompts_.fileAnswers = {exported};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 2, 0);
    ASSERT_EQ(prompts_.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts_.fileRequests[0].save);
    EXPECT_EQ(prompts_.fileRequests[0].defaultExtension, u"dat");
    EXPECT_EQ(prompts_.fileRequests[0].filter, u"All Files(*.dat)|*.dat||");
    EXPECT_EQ(StoredMacroCount(exported), FormatIniInt(g_macroCount));
    const uint16_t gamingMacros = g_macroCount;

    // A new name becomes the last group, copied into the macro folder and opened.
    g_popupOwnerButton = 1;
    g_hoverMacroButton = 4;
    prompts_.fileAnswers = {exported};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(prompts_.fileRequests[1].flags, FileDialogFlag::ReadOnly | FileDialogFlag::HideReadOnly);
    EXPECT_EQ(prompts_.fileRequests[1].initialFolder, g_macroFolder);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
    EXPECT_EQ(g_hoverMacroButton, BUTTON_NONE);
    EXPECT_EQ(g_macroGroupCount, 4);
    EXPECT_EQ(g_currentGroup, 3);
    EXPECT_EQ(g_macroGroupNames[3], u"Foo");
    EXPECT_TRUE(Exists(GroupPath(u"Foo")));
    EXPECT_EQ(g_macroCount, gamingMacros);
    EXPECT_EQ(g_groupNameEdit->Text(), u"Foo");

    prompts_.fileAnswers = {exported};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(LastMessage(), u"Double name!");
    prompts_.fileAnswers = {(folder_ / "Foo.DAT").u16string()};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(LastMessage(), u"Error!");
    prompts_.fileAnswers = {(folder_ / "ABCDEFGHIJKLMNOPQRSTU.dat").u16string()};  // the list would cut it
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(LastMessage(), u"Error!");
    const size_t messages = prompts_.shown.size();
    prompts_.fileAnswers = {(folder_ / "Gone.dat").u16string()};  // a copy that fails says so
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    ASSERT_EQ(prompts_.shown.size(), messages + 1);
    EXPECT_EQ(LastMessage(), u"Error!");
    EXPECT_FALSE(Exists(GroupPath(u"Gone")));
    EXPECT_EQ(g_macroGroupCount, 4);

    // A file of the macro folder itself is listed again, its bytes untouched.
    std::filesystem::copy_file(std::filesystem::path(exported), MacroFolder() / "Solo.dat");
    auto soloBytes = [&] {
        std::ifstream file(MacroFolder() / "Solo.dat", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    const std::string bytes = soloBytes();
    prompts_.fileAnswers = {GroupPath(u"Solo")};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(g_macroGroupNames[4], u"Solo");
    EXPECT_EQ(soloBytes(), bytes);

    // Up to ten groups, then the limit.
    for (int i = 5; i < 10; ++i) {
        const std::filesystem::path copy = folder_ / ("I" + std::to_string(i) + ".dat");
        std::filesystem::copy_file(std::filesystem::path(exported), copy);
        prompts_.fileAnswers = {copy.u16string()};
        SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    }
    EXPECT_EQ(g_macroGroupCount, 10);
    const size_t requests = prompts_.fileRequests.size();
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(LastMessage(), u"More than limit!");
    EXPECT_EQ(prompts_.fileRequests.size(), requests);

    // The factory macros come back whole; nothing else stays in the macro folder.
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_FALSE(Exists(GroupPath(u"Foo")));
    EXPECT_FALSE(Exists(GroupPath(u"Solo")));
    EXPECT_EQ(g_groupNameEdit->Text(), u"Gaming");
    EXPECT_EQ(g_macroList->Count(), g_macroCount);

    // Only the macro folder is ever emptied.
    folder_.Write("keep/file.txt", "x");
    DeleteFolderRecursive((folder_ / "keep").u16string());
    EXPECT_TRUE(std::filesystem::exists(folder_ / "keep/file.txt"));
    // A restore without its factory list changes nothing.
    std::filesystem::remove(folder_ / "skins/INI_EN/macroReset/macroGrp.ini");
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(LastMessage(), u"Can't find the file.");
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_TRUE(Exists(GroupPath(u"Gaming")));
}

TEST_F(MacroPageTest, GroupChoiceAndListChangeSaveTheOpenMacroFirst)
{
    ASSERT_TRUE(OpenPage());
    ASSERT_GE(g_macroCount, 2);
    // The group and file-command buttons open their pop-ups; the group pop-up keeps its owner.
    Press(1);
    EXPECT_TRUE(MenuPopupShown());
    EXPECT_EQ(g_menuMode, kMenuMacroGroups);
    EXPECT_EQ(g_popupOwnerButton, 1);
    Press(4);
    EXPECT_TRUE(MenuPopupShown());
    EXPECT_EQ(g_menuMode, kMenuFileCommands);
    CloseMenuPopup();

    g_macroTable[0].repeatCount = 444;  // changed in the table only
    g_macroList->Select(1);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_MACRO_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_macroList->Handle()));
    EXPECT_EQ(g_currentMacro, 1u);
    EXPECT_EQ(StoredMacro(GroupPath(u"Gaming"), 0).repeatCount, 444);

    g_macroTable[1].repeatCount = 555;
    g_currentGroup = 1;
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, 1);
    EXPECT_EQ(StoredMacro(GroupPath(u"Gaming"), 1).repeatCount, 555);
    EXPECT_EQ(g_groupNameEdit->Text(), u"Office");
    EXPECT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_EQ(g_macroList->Count(), g_macroCount);

    g_recording = 1;
    g_macroList->Select(0);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_MACRO_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_macroList->Handle()));
    EXPECT_EQ(LastMessage(), u"Recording");
    EXPECT_EQ(g_macroList->Selection(), static_cast<int32_t>(g_currentMacro));
    g_recording = 0;
}

TEST_F(MacroPageTest, InPlaceEditBegunWithCharacterOneEndsByEnterEscAndFocus)
{
    ASSERT_TRUE(OpenPage());
    ASSERT_GE(g_eventList->Count(), 2);
    HWND list = g_eventList->Handle();
    const std::u16string delay = g_eventList->LineText(1);

    // No selection, Insert and a swallowed character start nothing.
    g_eventList->Select(-1);
    SendMessageW(list, WM_CHAR, 1, 0);
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    g_eventList->Select(1);
    SendMessageW(list, WM_KEYUP, VK_INSERT, 0);
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    g_skipNextChar = 1;
    SendMessageW(list, WM_CHAR, 1, 0);
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    EXPECT_EQ(g_skipNextChar, 0u);

    auto begin = [&] {
        SendMessageW(list, WM_CHAR, 1, 0);
        HWND editor = g_eventList->EditorWindow();
        EXPECT_NE(editor, nullptr);
        EXPECT_EQ(g_eventList->EditIndex(), 1);
        return editor;
    };
    HWND editor = begin();
    wchar_t text[64] = {};
    GetWindowTextW(editor, text, 64);
    EXPECT_EQ(FromWide(text), delay);
    EXPECT_EQ(SendMessageW(editor, EM_GETSEL, 0, 0), MAKELRESULT(0, delay.size()));
    SetWindowTextW(editor, L"    99ms");
    DoneCounter done;
    SendMessageW(editor, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    EXPECT_EQ(g_eventList->LineText(1), delay);
    // Every end is told, a cancelled one too (twice when the editor loses the focus as it goes).
    EXPECT_GE(done.Take(), 1);

    editor = begin();
    SetWindowTextW(editor, L"    99ms");
    SendMessageW(editor, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    EXPECT_EQ(g_eventList->EditIndex(), -1);
    EXPECT_EQ(g_eventList->LineText(1), u"    99ms");
    EXPECT_EQ(g_eventList->Selection(), 1);
    EXPECT_GE(done.Take(), 1);

    editor = begin();
    SetWindowTextW(editor, L"    77ms");
    SetFocus(Window());
    EXPECT_EQ(g_eventList->EditorWindow(), nullptr);
    EXPECT_EQ(g_eventList->LineText(1), u"    77ms");
    EXPECT_EQ(g_eventList->Count(), 2 * g_macroTable[g_currentMacro].eventCount - 1);
    EXPECT_GE(done.Take(), 1);

    // Leaving the page: the edit ends with the line's text, the window is not told.
    editor = begin();
    SetWindowTextW(editor, L"    55ms");
    g_suppressEditNotify = 1;
    window_->DestroyMacroPageControls();
    EXPECT_EQ(done.Take(), 0);
}

TEST_F(MacroPageTest, LanguageSwitchOnTheMacroPageShowsTheNewLanguagesFirstGroup)
{
    ASSERT_TRUE(OpenPage());
    g_macroList->Select(1);
    window_->ShowSelectedMacro();
    window_->SwitchToSpanish();
    EXPECT_EQ(g_groupNameEdit->Text(), u"Juegos");
    ASSERT_EQ(g_macroList->Count(), g_macroCount);
    EXPECT_EQ(g_macroList->LineText(0), g_groupMacroNames[0]);
    EXPECT_EQ(g_macroNameEdit->Text(), g_groupMacroNames[g_currentMacro]);
    window_->SwitchToEnglish();
    EXPECT_EQ(g_groupNameEdit->Text(), u"Gaming");
    EXPECT_EQ(g_macroList->LineText(0), g_groupMacroNames[0]);
}

}  // namespace
