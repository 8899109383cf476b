// The macro page's groups and macros as files: made and deleted up to their limits, imported,
// exported and restored, and the open macro saved before another is chosen.
#include "tests/ui/macro_page/macro_page_fixture.h"

#include "settings/file_write_failure.h"
#include "tests/settings/language_guard.h"
#include "tests/utf16.h"
#include "winlib/unique_handle.h"

namespace {

// The fixture of MacroPageTest under a suite name of its own: each test file has its own copy
// of the anonymous-namespace fixture, and one suite's tests must share one class.
class MacroGroupFilesTest : public MacroPageTest {};

TEST_F(MacroGroupFilesTest, GroupsAndMacrosUpToTheirLimitsAndDeletedAgain)
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

TEST_F(MacroGroupFilesTest, ImportExportAndRestore)
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

    // A new name becomes the last group, copied into the macro folder and opened; a read-only
    // file's copy is not read-only, or every save of the group would fail.
    ASSERT_TRUE(SetFileAttributesW(AsWide(exported), FILE_ATTRIBUTE_READONLY));
    g_popupOwnerButton = 1;
    g_hoverMacroButton = 4;
    prompts_.fileAnswers = {exported};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(GetFileAttributesW(AsWide(GroupPath(u"Foo"))) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesW(AsWide(exported), FILE_ATTRIBUTE_NORMAL);
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

    // Each refusal tells its own one message in either language and changes nothing. A file kept
    // in the macro folder (an export) is never replaced, nor taken as a group's file.
    const std::string kept = "[Macros]\r\nmacroNum=0\r\n";
    folder_.Write("skins/INI_EN/macro/Kept.dat", kept);
    for (const char* name : {"Kept.dat", "Kept.dat.bak"}) std::filesystem::copy_file(std::filesystem::path(exported), folder_ / name);
    struct Refusal {
        std::u16string file;
        std::u16string english;
        std::u16string spanish;
    };
    const Refusal refusals[] = {
        {exported, u"Double name!", u"¡Nombre ya en uso!"},
        {folder_.File("Kept.dat"), u"Double name!", u"¡Nombre ya en uso!"},
        {folder_.File("Kept.dat.bak"), u"Double name!", u"¡Nombre ya en uso!"},
        {folder_.File("Foo.DAT"), u"Error!", u"Error!"},
        {folder_.File("ABCDEFGHIJKLMNOPQRSTU.dat"), u"Error!", u"Error!"},  // the list would cut it
        {folder_.File("Gone.dat"), u"Error!", u"Error!"},                  // a copy that fails says so
    };
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        for (const Refusal& refusal : refusals) {
            const size_t messages = prompts_.shown.size();
            prompts_.fileAnswers = {refusal.file};
            SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
            ASSERT_EQ(prompts_.shown.size(), messages + 1);
            EXPECT_EQ(LastMessage(), language != 0 ? refusal.english : refusal.spanish) << Utf8FromUtf16(refusal.file);
        }
    }
    EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/Kept.dat") == kept);
    EXPECT_FALSE(std::filesystem::exists(MacroFolder() / "Kept.dat.bak"));
    EXPECT_FALSE(Exists(GroupPath(u"Gone")));
    EXPECT_EQ(g_macroGroupCount, 4);
    EXPECT_EQ(g_currentGroup, 3);

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
    {
        LanguageGuard spanish(0);
        SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
        EXPECT_EQ(LastMessage(), u"Más que límite!");
    }
    EXPECT_EQ(prompts_.fileRequests.size(), requests);

    // The factory macros come back whole; the groups that were listed go, files kept there stay.
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_FALSE(Exists(GroupPath(u"Foo")));
    EXPECT_FALSE(Exists(GroupPath(u"Solo")));
    EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/Kept.dat") == kept);
    EXPECT_EQ(g_groupNameEdit->Text(), u"Gaming");
    EXPECT_EQ(g_macroList->Count(), g_macroCount);

    // A file kept under a factory group's name (an export, once the group was deleted) is no
    // file the restore may replace: it is refused before anything changes.
    g_currentGroup = 2;
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, 0);
    ASSERT_EQ(g_groupNameEdit->Text(), u"Browser");
    Press(3);
    ASSERT_EQ(g_macroGroupCount, 2);
    prompts_.fileAnswers = {GroupPath(u"Browser")};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 2, 0);
    const std::string browserExport = folder_.Read("skins/INI_EN/macro/Browser.dat");
    const std::string twoGroups = folder_.Read("skins/INI_EN/macro/macroGrp.ini");
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(LastMessage(), u"Double name!");
    EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/Browser.dat") == browserExport);
    EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/macroGrp.ini") == twoGroups);
    EXPECT_EQ(g_macroGroupCount, 2);

    // A factory file already in place (a restore cut short) is no kept file. A group file another
    // program holds (sharing reads and writes, not deletion: the copy is put in place whole or
    // not at all) ends the restore there, told once by its name, its old bytes whole; a group list
    // that cannot be replaced is told likewise, and no group it names loses its file.
    const std::string factoryBrowser = folder_.Read("skins/INI_EN/macroReset/Browser.dat");
    folder_.Write("skins/INI_EN/macro/Browser.dat", factoryBrowser);
    const std::string factoryGaming = folder_.Read("skins/INI_EN/macroReset/Gaming.dat");
    const std::string editedGaming = factoryGaming + "; edited\r\n";
    folder_.Write("skins/INI_EN/macro/Gaming.dat", editedGaming);
    prompts_.fileAnswers = {exported};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    ASSERT_EQ(g_macroGroupNames[2], u"Foo");
    for (const std::u16string& held : {GroupPath(u"Gaming"), g_macroFolder + u"macroGrp.ini"}) {
        const size_t shown = prompts_.shown.size();
        {
            const UniqueHandle locked(CreateFileW(AsWide(held), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(locked);
            SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
        }
        ASSERT_EQ(prompts_.shown.size(), shown + 1);
        EXPECT_EQ(LastMessage(), WriteFailureText(held, true));
        EXPECT_EQ(g_macroGroupCount, 3);
        EXPECT_EQ(GroupListEntry(2), u"Foo");
        EXPECT_TRUE(Exists(GroupPath(u"Foo")));
        EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/Gaming.dat") == (held == GroupPath(u"Gaming") ? editedGaming : factoryGaming));
        EXPECT_FALSE(Exists(held + u".tmp"));
    }
    // A copy an earlier restore left behind, read-only, is no obstacle and does not stay.
    folder_.Write("skins/INI_EN/macro/Office.dat.tmp", "[Macros]\r\nmacroNum=12\r\n0=0770");
    ASSERT_TRUE(SetFileAttributesW(AsWide(GroupPath(u"Office") + u".tmp"), FILE_ATTRIBUTE_READONLY));
    const size_t shown = prompts_.shown.size();
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(prompts_.shown.size(), shown);
    EXPECT_EQ(g_macroGroupCount, 3);
    for (uint8_t g = 0; g < g_macroGroupCount; ++g) EXPECT_TRUE(Exists(GroupFilePath(g_macroFolder, g)));
    EXPECT_EQ(g_macroGroupNames[2], u"Browser");
    EXPECT_TRUE(folder_.Read("skins/INI_EN/macro/Browser.dat") == factoryBrowser);
    EXPECT_FALSE(Exists(GroupPath(u"Foo")));
    EXPECT_FALSE(Exists(g_macroFolder + u"macroGrp.ini.tmp"));
    EXPECT_FALSE(Exists(GroupPath(u"Office") + u".tmp"));

    // A restore without its factory list changes nothing.
    std::filesystem::remove(folder_ / "skins/INI_EN/macroReset/macroGrp.ini");
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 3, 0);
    EXPECT_EQ(LastMessage(), u"Can't find the file.");
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_TRUE(Exists(GroupPath(u"Gaming")));
}

TEST_F(MacroGroupFilesTest, GroupChoiceAndListChangeWriteNothing)
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

    // Every edit is saved when made: what the table alone holds is no edit.
    g_macroTable[0].repeatCount = 444;
    g_macroList->Select(1);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_MACRO_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_macroList->Handle()));
    EXPECT_EQ(g_currentMacro, 1u);
    EXPECT_NE(StoredMacro(GroupPath(u"Gaming"), 0).repeatCount, 444);

    g_macroTable[1].repeatCount = 555;
    g_currentGroup = 1;
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, 1);
    EXPECT_NE(StoredMacro(GroupPath(u"Gaming"), 1).repeatCount, 555);
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

}  // namespace
