// Edits of the open macro reach its group file the moment they are made, and nothing else writes
// it: each kind of edit read back from the disk at once (what a program killed then leaves), each
// kind followed by a new macro, a page change and an apply as a person goes on (the mouse must hold
// what the apply probe computes for the saved folder), an in-place edit left open while the open
// macro or group changes, and views of a group that write nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "device/program_device_link.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_event_edit.h"
#include "macros/macro_line_codec.h"
#include "settings/ini_value.h"
#include "sim/simulated_mouse_text.h"
#include "tests/macros/macro_test_records.h"
#include "tests/tools/apply_probe_run.h"
#include "tests/ui/window/main_window_fixture.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/popups/popup_rules.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/window_messages.h"
#include "winlib/wide.h"

namespace {

constexpr int kMacroTab = 8;
constexpr int kMainTab = 6;
constexpr int kNewMacroButton = 6;
constexpr uint32_t kEditedSlot = 1;
constexpr uint16_t kTypedDelay = 4321;

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MacroEditsSavedTest : public MainWindowTest {
protected:
    ~MacroEditsSavedTest() override
    {
        if (window_ && IsWindow(Window())) window_->DestroyMacroPageControls();
        g_skipNextChar = 0;  // left by the new macro for the next list edit
    }

    void ClickTab(int id)
    {
        const ButtonPos& r = window_->m_mainPos[static_cast<size_t>(id)];
        const LPARAM at = MAKELPARAM(r.x + r.width / 2, r.y + r.height / 2);
        SendMessageW(Window(), WM_MOUSEMOVE, 0, at);
        SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Window(), WM_LBUTTONUP, 0, at);
    }

    // The macro page with macro 1 of the first group open, bound to the first profile's last button.
    bool OpenEditedMacro()
    {
        if (!Open()) return false;
        ClickTab(kMacroTab);
        if (g_macroList->Count() <= static_cast<int32_t>(kEditedSlot)) return false;
        g_macroList->Select(kEditedSlot);
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_MACRO_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(g_macroList->Handle()));
        g_buttonAssignments[0][8] = MakeFileMacroCode(g_currentGroup, kEditedSlot);
        return g_currentMacro == kEditedSlot;
    }

    void Command(UINT id, int32_t event)
    {
        g_selectedEvent = event;
        SendMessageW(Window(), WM_COMMAND, id, 0);
    }

    void Press(int macroButton)
    {
        g_hoverMainButton = BUTTON_NONE;
        g_hoverMacroButton = macroButton;
        window_->OnMacroPagePress({0, 0});
    }

    // "Modify delay" on a delay line, the first unless told, and `text` typed into its editor, not
    // yet ended.
    HWND BeginDelayEdit(const std::u16string& text, int32_t line = 1)
    {
        g_eventList->Select(line);
        g_eventLine = line;
        g_eventLineCount = g_eventList->Count();
        SendMessageW(Window(), WM_COMMAND, ID_MODIFY_DELAY, 0);
        const HWND editor = g_eventList->EditorWindow();
        if (editor != nullptr) SetWindowTextW(editor, AsWide(text));
        return editor;
    }

    // Every macro file and group list of both languages.
    std::map<fs::path, std::string> Snapshot()
    {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder_ / "skins"))
            if (entry.path().extension() == ".dat" || entry.path().filename() == "macroGrp.ini")
                files[entry.path()] = FileBytes(entry.path());
        return files;
    }

    // New macro, back to the main page, and an apply.
    void NewPageChangeAndApply()
    {
        Press(kNewMacroButton);
        ClickTab(kMainTab);
        SendMessageW(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        ASSERT_EQ(mouse_.ApplyCount(), 1);
    }

    MacroRecord Stored(uint32_t slot)
    {
        MacroRecord record{};
        DecodeMacroLine(files_.Get(GroupFilePath(g_macroFolder, 0), u"Macros", FormatIniInt(static_cast<int32_t>(slot)),
                                   kMacroLineBufferChars),
                        record, MacVkAndText::VkToHidEn);
        return record;
    }

    // The mouse's memory after the window's apply, against one apply of the folder as saved.
    void ExpectMouseAsTheSavedFolderGives()
    {
        const std::string memory = MemoryRowsText(mouse_);
        window_->DestroyMacroPageControls();
        window_.reset();
        const std::string probe = RunApplyProbe(folder_.Path().u16string());
        const size_t rows = probe.find("memory\n");
        ASSERT_NE(rows, std::string::npos);
        EXPECT_EQ(memory, probe.substr(rows + 7));
    }
};

// Each kind of edit on its own, the group file read back at once: its count and every line are
// what the editor holds.
TEST_F(MacroEditsSavedTest, EachEditIsOnDiskTheMomentItIsMade)
{
    ASSERT_TRUE(OpenEditedMacro());
    const fs::path file = fs::path(GroupFilePath(g_macroFolder, 0));
    struct Row {
        const char* edit;
        std::function<void()> make;
    };
    const Row rows[] = {
        {"event delete", [&] { Command(ID_DELETE_EVENT, 0); }},
        {"delay", [&] { SendMessageW(BeginDelayEdit(u"4321"), WM_KEYUP, VK_RETURN, 0); }},
        {"name", [&] { g_macroNameEdit->SetText(u"Typed"); }},
        {"play mode", [&] { Press(10); }},
        {"light choice", [&] {
             Command(ID_INSERT_LIGHT, 0);
             ASSERT_TRUE(ApplyMenuChoice(kMenuLightModes, 2, {0, 0, kEditedSlot, 0}).chosen);
             SendMessageW(Window(), WM_LIGHTMODE_CHOSEN, 1, 0);
         }},
        {"repeat count", [&] {
             Press(12);
             g_repeatCountEdit->SetText(u"9");
         }},
        {"new macro", [&] { Press(kNewMacroButton); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edit);
        const std::string before = FileBytes(file);
        row.make();
        EXPECT_NE(FileBytes(file), before);
        EXPECT_EQ(files_.Get(file.u16string(), u"Macros", u"macroNum", 16), FormatIniInt(g_macroCount));
        for (uint32_t i = 0; i < g_macroCount; ++i) EXPECT_TRUE(SameStoredFields(Stored(i), g_macroTable[i])) << i;
    }
    EXPECT_EQ(g_macroTable[kEditedSlot].delays[0], kTypedDelay);
    EXPECT_EQ(g_macroTable[kEditedSlot].repeatCount, 9);
}

// Showing macros and groups writes nothing, not even the count of a group whose file says more
// than the twelve the editor shows.
TEST_F(MacroEditsSavedTest, ViewsWriteNothing)
{
    const fs::path gaming = folder_ / "skins" / "INI_EN" / "macro" / "Gaming.dat";
    std::string text = FileBytes(gaming);
    const size_t count = text.find("macroNum=6");
    ASSERT_NE(count, std::string::npos);
    text.replace(count, 10, "macroNum=13");
    const size_t first = text.find("0=");
    const std::string line = text.substr(first + 2, text.find('\n', first) - first - 2);
    for (int i = 6; i < 13; ++i) text += std::to_string(i) + "=" + line + "\n";
    std::ofstream(gaming, std::ios::binary) << text;
    const auto shipped = Snapshot();

    ASSERT_TRUE(OpenEditedMacro());
    ASSERT_EQ(g_macroCount, 12);
    ASSERT_TRUE(ApplyMenuChoice(kMenuMacroGroups, 3, {}).chosen);
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, kEditedSlot);
    ASSERT_TRUE(ApplyMenuChoice(kMenuMacroGroups, 1, {}).chosen);
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 2, 0);
    ClickTab(kMainTab);
    ClickTab(kMacroTab);
    SendMessageW(Window(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(mouse_.ApplyCount(), 1);
    EXPECT_TRUE(Snapshot() == shipped);
}

// An in-place edit still open when a press of the window's own buttons or a choice in the event
// list's menu (neither takes the focus) changes the open macro, its group or its events: it lands
// in the macro and the event it began on, or nowhere.
enum class OpenMacroChange { DeleteMacro, DeleteGroup, NewMacro, Record, GroupChoice, Language, MenuDelete, MenuInsertBefore };

std::string ChangeName(const testing::TestParamInfo<OpenMacroChange>& info)
{
    constexpr const char* kNames[] = {"DeleteMacro", "DeleteGroup", "NewMacro",   "Record",
                                      "GroupChoice", "Language",    "MenuDelete", "MenuInsertBefore"};
    return kNames[static_cast<int>(info.param)];
}

class EditAcrossAChangeTest : public MacroEditsSavedTest, public testing::WithParamInterface<OpenMacroChange> {};

TEST_P(EditAcrossAChangeTest, LandsInTheMacroItBeganOn)
{
    ASSERT_TRUE(OpenEditedMacro());
    // The insert on the second event: the menu's command is on the line the edit was on.
    const HWND editor = BeginDelayEdit(u"4321", GetParam() == OpenMacroChange::MenuInsertBefore ? 3 : 1);
    ASSERT_NE(editor, nullptr);
    bool kept = true;
    // The edited macro's delays as its group file holds them afterwards, where the change says.
    std::vector<uint16_t> delays;
    switch (GetParam()) {
    case OpenMacroChange::DeleteMacro: Press(7); kept = false; break;
    case OpenMacroChange::DeleteGroup: Press(3); kept = false; break;
    case OpenMacroChange::NewMacro: Press(kNewMacroButton); break;
    case OpenMacroChange::Record: Press(5); break;
    case OpenMacroChange::GroupChoice:
        Press(1);
        ASSERT_TRUE(ApplyMenuChoice(kMenuMacroGroups, 3, {}).chosen);
        SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, kEditedSlot);
        break;
    case OpenMacroChange::Language:
        g_hoverMacroButton = BUTTON_NONE;
        g_hoverMainButton = 4;
        window_->OnMacroPagePress({0, 0});
        window_->SwitchToSpanish();
        break;
    case OpenMacroChange::MenuDelete: ChooseFromEventMenu(ID_DELETE_EVENT); kept = false; delays = {40, 30, 0}; break;
    case OpenMacroChange::MenuInsertBefore:
        ChooseFromEventMenu(ID_INSERT_BEFORE_LEFT_DOWN);
        delays = {30, kNewEventDelay, kTypedDelay, 30, 0};
        break;
    }
    if (IsWindow(editor)) SendMessageW(editor, WM_KEYUP, VK_RETURN, 0);

    // Every stored macro of both languages with the typed delay.
    std::vector<std::string> found;
    for (const char* language : {"INI_EN", "INI_CN"}) {
        for (const auto& entry : fs::directory_iterator(folder_ / "skins" / language / "macro")) {
            if (entry.path().extension() != ".dat") continue;
            const std::u16string path = entry.path().u16string();
            const int32_t macros = ParseIniInt(files_.Get(path, u"Macros", u"macroNum", 16));
            for (int32_t m = 0; m < macros; ++m) {
                MacroRecord record{};
                DecodeMacroLine(files_.Get(path, u"Macros", FormatIniInt(m), kMacroLineBufferChars), record,
                                MacVkAndText::VkToHidEn);
                for (uint16_t k = 0; k < std::min<uint16_t>(record.eventCount, kMaxMacroEvents); ++k)
                    if (record.delays[k] == kTypedDelay)
                        found.push_back(entry.path().filename().string() + " " + std::to_string(m));
            }
        }
    }
    EXPECT_EQ(found, kept ? std::vector<std::string>{"Gaming.dat 1"} : std::vector<std::string>{});
    if (!delays.empty()) {
        const MacroRecord stored = Stored(kEditedSlot);
        EXPECT_EQ(std::vector<uint16_t>(stored.delays.begin(), stored.delays.begin() + stored.eventCount), delays);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryChange, EditAcrossAChangeTest,
                         testing::Values(OpenMacroChange::DeleteMacro, OpenMacroChange::DeleteGroup,
                                         OpenMacroChange::NewMacro, OpenMacroChange::Record,
                                         OpenMacroChange::GroupChoice, OpenMacroChange::Language,
                                         OpenMacroChange::MenuDelete, OpenMacroChange::MenuInsertBefore),
                         ChangeName);

TEST_F(MacroEditsSavedTest, EveryEventDeletedStaysDeleted)
{
    ASSERT_TRUE(OpenEditedMacro());
    ASSERT_GT(g_macroTable[kEditedSlot].eventCount, 0);
    while (g_macroTable[kEditedSlot].eventCount > 0) Command(ID_DELETE_EVENT, 0);
    NewPageChangeAndApply();
    EXPECT_EQ(Stored(kEditedSlot).eventCount, 0);
    ExpectMouseAsTheSavedFolderGives();
}

TEST_F(MacroEditsSavedTest, ChosenLightModeAndColourStayChosen)
{
    ASSERT_TRUE(OpenEditedMacro());
    Command(ID_INSERT_LIGHT, 0);
    const MacroRecord& record = g_macroTable[kEditedSlot];
    ASSERT_EQ(record.lightCount, 1);
    // Mode row 2 and colour row 4 of the light list's pop-ups, as their choice sends them.
    const MenuCapture capture{0, 0, kEditedSlot, 0};
    ASSERT_TRUE(ApplyMenuChoice(kMenuLightModes, 2, capture).chosen);
    SendMessageW(Window(), WM_LIGHTMODE_CHOSEN, 1, 0);
    ASSERT_TRUE(ApplyMenuChoice(kMenuLightColours, 4, capture).chosen);
    SendMessageW(Window(), WM_LIGHTCOLOUR_CHOSEN, 4, 0);
    const LightStep chosen = record.lightBlocks[0].steps[0];
    EXPECT_EQ(chosen.colour, 4);

    NewPageChangeAndApply();
    const MacroRecord stored = Stored(kEditedSlot);
    EXPECT_EQ(stored.lightCount, 1);
    EXPECT_EQ(stored.lightBlocks[0].steps[0].mode, chosen.mode);
    EXPECT_EQ(stored.lightBlocks[0].steps[0].colour, 4);
    ExpectMouseAsTheSavedFolderGives();
}

TEST_F(MacroEditsSavedTest, NameEditedInTheMacroListStaysEdited)
{
    ASSERT_TRUE(OpenEditedMacro());
    const auto slot = static_cast<int32_t>(kEditedSlot);
    g_macroList->DeleteLine(slot);
    g_macroList->InsertLine(slot, u"Renamed");
    g_macroList->Select(slot);
    SendMessageW(Window(), WM_ITEMEDIT_DONE, reinterpret_cast<WPARAM>(g_macroList), 0);
    ASSERT_EQ(std::u16string(MacroName(g_macroTable[kEditedSlot])), u"Renamed");

    NewPageChangeAndApply();
    EXPECT_EQ(std::u16string(MacroName(Stored(kEditedSlot))), u"Renamed");
    ExpectMouseAsTheSavedFolderGives();
}

// The end of the in-place rename reads the stored name under the macro store: a thread writing
// the record under it meanwhile (a step download of the open macro), the typed name there until it
// lets go, does not make the end take the name as unchanged and leave the file unsaved.
TEST_F(MacroEditsSavedTest, NameEditEndReadsTheNameBesideAStepOfTheMacro)
{
    if (!ThreadsRunHere()) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    ASSERT_TRUE(OpenEditedMacro());
    const auto slot = static_cast<int32_t>(kEditedSlot);
    g_macroList->DeleteLine(slot);
    g_macroList->InsertLine(slot, u"Renamed");
    g_macroList->Select(slot);
    std::promise<void> held;
    std::thread step([&] {
        std::lock_guard lock(g_macroStoreLock);
        MacroRecord& record = g_macroTable[kEditedSlot];
        const MacroRecord before = record;
        SetMacroName(record, u"Renamed");
        held.set_value();
        Sleep(300);
        record = before;
    });
    held.get_future().wait();
    SendMessageW(Window(), WM_ITEMEDIT_DONE, reinterpret_cast<WPARAM>(g_macroList), 0);
    step.join();
    EXPECT_EQ(std::u16string(MacroName(g_macroTable[kEditedSlot])), u"Renamed");
    EXPECT_EQ(std::u16string(MacroName(Stored(kEditedSlot))), u"Renamed");
}

TEST_F(MacroEditsSavedTest, NewMacroInASmallerGroupStartsEmpty)
{
    ASSERT_TRUE(OpenEditedMacro());
    const uint16_t larger = g_macroCount;
    // The group pop-up's choice of the third group, smaller than the first.
    ASSERT_TRUE(ApplyMenuChoice(kMenuMacroGroups, 3, {}).chosen);
    SendMessageW(Window(), WM_MACROGROUP_CHOSEN, 0, kEditedSlot);
    ASSERT_EQ(g_currentGroup, 2);
    const uint16_t smaller = g_macroCount;
    ASSERT_LT(smaller, larger);
    NewPageChangeAndApply();
    EXPECT_EQ(g_macroCount, smaller + 1);
    MacroRecord expected{};
    SetMacroName(expected, u"New");
    EXPECT_TRUE(SameRecord(g_macroTable[smaller], expected));
    MacroRecord stored{};
    DecodeMacroLine(files_.Get(GroupFilePath(g_macroFolder, 2), u"Macros", FormatIniInt(smaller), kMacroLineBufferChars),
                    stored, MacVkAndText::VkToHidEn);
    EXPECT_TRUE(SameStoredFields(stored, expected));
}

// A step from the mouse on the macro open in the editor steps the editor's record, unsaved edits
// and all, saves it, and the event list shows the result.
TEST_F(MacroEditsSavedTest, StepOnTheOpenMacroShowsInItsEventList)
{
    ASSERT_TRUE(OpenEditedMacro());
    Command(ID_INSERT_XY_POS_POS, 0);
    ASSERT_EQ(g_eventList->LineText(2), u"[X+]:10,[Y+]:10");
    g_macroTable[kEditedSlot].delays[0] = 1234;  // in the table only
    g_buttonAssignments[g_currentProfile & 3][0] = MakeFileMacroCode(0, kEditedSlot);
    AdjustMacroStepAndDownload(true);
    MSG message{};
    for (int i = 0; i < 100 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageW(&message);
    EXPECT_EQ(g_eventList->LineText(2), u"[X+]:10,[Y+]:11");
    const MacroRecord stored = Stored(kEditedSlot);
    EXPECT_EQ(stored.params[1].y, 11);
    EXPECT_EQ(stored.delays[0], 1234);
}

// Group names and files that are not the command's own: a name the group list's code page cannot
// hold, a copy onto another group's file, a rename or a new group over a file kept in the folder.
TEST_F(MacroEditsSavedTest, GroupCommandsNeverTakeAFileThatIsNotTheirs)
{
    ASSERT_TRUE(OpenEditedMacro());
    namespace fs = std::filesystem;
    const fs::path macros = fs::path(g_macroFolder);
    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto message = [&] { return prompts_.shown.empty() ? std::u16string() : prompts_.shown.back().text; };

    // Renamed to "A.dat": its file is A.dat.dat, which an import of a file of that name must not
    // replace.
    g_groupNameEdit->SetText(u"A.dat");
    ASSERT_EQ(g_macroGroupNames[0], u"A.dat");
    const std::string own = read(macros / "A.dat.dat");
    std::ofstream(folder_ / "A.dat.dat") << "[Macros]\r\nmacroNum=0\r\n";
    prompts_.fileAnswers = {(folder_ / "A.dat.dat").u16string()};
    SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
    EXPECT_EQ(message(), u"Double name!");
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(read(macros / "A.dat.dat"), own);

    // A file kept in the macro folder (an exported group) is neither renamed over nor emptied.
    const std::string kept = "[Macros]\r\nmacroNum=1\r\n0=077\r\n";
    std::ofstream(macros / "Ra.dat", std::ios::binary) << kept;
    std::ofstream(macros / "New.dat", std::ios::binary) << kept;
    g_groupNameEdit->SetText(u"R");
    EXPECT_EQ(g_macroGroupNames[0], u"R");
    prompts_.shown.clear();
    g_groupNameEdit->SetText(u"Ra");
    EXPECT_EQ(message(), u"Double name!");
    EXPECT_EQ(g_groupNameEdit->Text(), u"R");
    EXPECT_EQ(g_macroGroupNames[0], u"R");
    EXPECT_EQ(GroupFilePath(g_macroFolder, 0), g_macroFolder + u"R.dat");
    EXPECT_EQ(read(macros / "Ra.dat"), kept);
    EXPECT_TRUE(fs::exists(macros / "R.dat"));
    g_hoverMainButton = BUTTON_NONE;
    g_hoverMacroButton = 2;
    window_->OnMacroPagePress({0, 0});
    EXPECT_EQ(message(), u"'New' Double name!");
    EXPECT_EQ(g_macroGroupCount, 3);
    EXPECT_EQ(read(macros / "New.dat"), kept);

    // A name the system's code page cannot hold would come back from macroGrp.ini as another.
    if (GetACP() != CP_UTF8) {
        g_groupNameEdit->SetText(u"Игры");
        EXPECT_EQ(g_groupNameEdit->Text(), u"R");
        EXPECT_EQ(g_macroGroupNames[0], u"R");
        const fs::path russian = folder_.Path() / fs::path(u"Игры.dat");
        std::ofstream(russian) << "[Macros]\r\nmacroNum=0\r\n";
        prompts_.fileAnswers = {russian.u16string()};
        SendMessageW(Window(), WM_MACROFILE_COMMAND, 1, 0);
        EXPECT_EQ(message(), u"Error!");
        EXPECT_EQ(g_macroGroupCount, 3);
        EXPECT_FALSE(fs::exists(macros / fs::path(u"Игры.dat")));
    }
}

// A deleted macro's assignments follow it into config.ini, and nothing else does: settings
// changed on other pages but never applied stay out of the file.
TEST_F(MacroEditsSavedTest, DeletedMacroStoresOnlyTheAssignmentsThatFollowedIt)
{
    ASSERT_TRUE(OpenEditedMacro());
    const std::u16string config = g_configIniPath;
    const std::u16string fireTime = files_.Get(config, u"Config1", u"FIRE_TIME", 16);
    const std::u16string dpiSet = files_.Get(config, u"Config2", u"DPI_SET0", 16);
    g_fireTime = 77;
    g_dpiSet[0] = 9;
    g_buttonAssignments[1][7] = MakeFileMacroCode(0, kEditedSlot + 1);
    g_hoverMainButton = BUTTON_NONE;
    g_hoverMacroButton = 7;
    window_->OnMacroPagePress({0, 0});
    EXPECT_EQ(files_.Get(config, u"Config1", u"K8", 16), u"0");
    EXPECT_EQ(files_.Get(config, u"Config2", u"K7", 16), FormatIniInt(static_cast<int32_t>(MakeFileMacroCode(0, kEditedSlot))));
    EXPECT_EQ(files_.Get(config, u"Config1", u"FIRE_TIME", 16), fireTime);
    EXPECT_EQ(files_.Get(config, u"Config2", u"DPI_SET0", 16), dpiSet);
}

}  // namespace
