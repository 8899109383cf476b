// The macro page on the real window: its lists and edits, their handlers, the page's presses and
// the macro file commands, checked on the lists, the files on disk and the messages shown.
#include "tests/ui/macro_page/macro_page_fixture.h"

#include "settings/file_write_failure.h"
#include "winlib/unique_handle.h"

namespace {

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

    // A list that cannot be written (held by another program) keeps the group's old name and file,
    // and says so once.
    const std::u16string list = g_macroFolder + u"macroGrp.ini";
    {
        const UniqueHandle held(CreateFileW(AsWide(list), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        SetEdit(*g_groupNameEdit, u"Held");
    }
    EXPECT_EQ(g_macroGroupNames[0], twenty);
    EXPECT_EQ(GroupListEntry(0), twenty);
    EXPECT_EQ(StoredMacroCount(GroupPath(twenty)), count);
    EXPECT_FALSE(Exists(GroupPath(u"Held")));
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(LastMessage(), WriteFailureText(list, g_languageEnglish != 0));
    prompts_.shown.clear();
    // So does a group file that cannot be copied to its new name.
    {
        const UniqueHandle held(
            CreateFileW(AsWide(GroupPath(twenty)), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        SetEdit(*g_groupNameEdit, u"Held");
    }
    EXPECT_EQ(GroupListEntry(0), twenty);
    EXPECT_FALSE(Exists(GroupPath(u"Held")));
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(LastMessage(), WriteFailureText(GroupPath(u"Held"), g_languageEnglish != 0));
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
