// A step from the mouse that arrives while the editor changes its open group: run at the point
// where each change is half made (the group-change seam), it must leave every group file as a
// step that comes after the whole change does, and write only its own macro's line.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "device/macro_step_download.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_group_change.h"
#include "tests/device/device_threads_fixture.h"
#include "tests/lock_probe.h"

namespace {

MacroRecord Moves(const std::u16string& name, uint16_t y)
{
    return MakeMacro(name, {{6, MacroEventCode::Move, 4, y, 20}, {1, 0x04, 0, 0, 20}});
}

class GroupChangeStepTest : public DeviceThreadsTest {
protected:
    void SetUp() override
    {
        DeviceThreadsTest::SetUp();
        current_ = this;
        SetGroupChangeSeam(&AtSeam);
    }
    void TearDown() override
    {
        SetGroupChangeSeam(nullptr);
        current_ = nullptr;
        DeviceThreadsTest::TearDown();
    }

    // English groups Big (three macros) and Same, Spanish groups Other and Same; the English
    // Big is open with its second macro, which holds an edit not yet saved.
    void Start()
    {
        ResetMacroStores();
        files = MemoryProfileFiles{};
        folder = kSpanish;
        SetGroups({{u"Other", {Moves(u"O0", 15)}}, {u"Same", {Moves(u"S0", 25)}}});
        folder = kEnglish;
        SetGroups({{u"Big", {Moves(u"B0", 1), Moves(u"B1", 2), Moves(u"B2", 3)}}, {u"Same", {Moves(u"E0", 20)}}});
        g_currentMacro = 1;
        g_macroTable[1].repeatCount = 7;
        g_buttonAssignments = {};
    }

    // The editor on English Same instead, its only macro open.
    void OpenSame()
    {
        g_currentGroup = 1;
        g_currentMacro = 0;
        ReadMacroFile(files, layout_, kEnglish + u"Same.dat");
    }

    // Every file of the two folders, line by line.
    std::vector<std::u16string> AllLines()
    {
        std::vector<std::u16string> lines;
        for (const auto& [path, file] : files.files) {
            lines.push_back(u"== " + path);
            const std::u16string text = file.Text();
            size_t start = 0;
            while (start < text.size()) {
                const size_t end = text.find(u"\r\n", start);
                lines.push_back(text.substr(start, end - start));
                start = end == std::u16string::npos ? text.size() : end + 2;
            }
        }
        return lines;
    }

    void Step()
    {
        MacroFilesAccess access{files, {MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn}, stepFolder_};
        AdjustMacroStepAndDownload(access, true);
    }

    // At the seam: a step that can take the macro store now runs there, on the input thread's
    // behalf; one that cannot waits, as the input thread would, and runs once the change is done.
    static void AtSeam()
    {
        GroupChangeStepTest& test = *current_;
        if (!test.stepPending_) return;
        if (!FreeForAnotherThread(g_macroStoreLock) || !FreeForAnotherThread(g_settingsMutex)) return;
        test.stepPending_ = false;
        std::thread input([&test] { test.Step(); });
        input.join();
    }

    // Files after `change` with a step at its seam, and after the change followed by the step.
    void ExpectStepDuringEqualsStepAfter(uint32_t assignment, const std::u16string& stepFolder,
                                         const std::function<void()>& change)
    {
        stepFolder_ = stepFolder;
        Start();
        g_buttonAssignments[0][0] = assignment;
        change();
        Step();
        const std::vector<std::u16string> after = AllLines();

        Start();
        g_buttonAssignments[0][0] = assignment;
        stepPending_ = true;
        change();
        if (stepPending_) Step();
        stepPending_ = false;
        EXPECT_EQ(AllLines(), after);
    }

    const MacroKeyLayout layout_{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn};
    static inline const std::u16string kEnglish = u"C:\\kestra\\skins\\INI_EN\\macro\\";
    static inline const std::u16string kSpanish = u"C:\\kestra\\skins\\INI_CN\\macro\\";
    static inline GroupChangeStepTest* current_ = nullptr;
    std::u16string stepFolder_;
    bool stepPending_ = false;
};

TEST_F(GroupChangeStepTest, StepDuringEachGroupChangeWritesWhatAStepAfterItWrites)
{
    // The pop-up's choice of Same while Big's second macro is open, its edit saved as every edit is.
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 1), kEnglish, [&] {
        SaveMacroToFile(files, layout_, kEnglish + u"Big.dat", 1);
        ChooseOpenGroup(files, layout_, kEnglish, 1);
    });
    EXPECT_EQ(StoredMacro(u"Big", 1).params[0].y, 3);
    EXPECT_EQ(StoredMacro(u"Big", 1).repeatCount, 7);

    // An import and a restore read the list anew and open its last or first group, while the
    // table still holds Same.
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 0), kEnglish, [&] {
        OpenSame();
        files.Put(kEnglish + u"Foo.dat", kMacrosSection, kMacroNumKey, u"0");
        ImportGroupAndOpen(files, layout_, kEnglish, u"Foo");
    });
    EXPECT_EQ(StoredMacro(u"Big", 0).params[0].y, 2);
    EXPECT_EQ(StoredMacro(u"Big", 0).name[0], u'B');
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 0), kEnglish, [&] {
        OpenSame();
        ReloadGroupsAndOpen(files, layout_, kEnglish, GroupPick::First);
    });
    EXPECT_EQ(StoredMacro(u"Big", 0).params[0].y, 2);

    // Big deleted while open: Same moves to its place, and the step names Same's macro.
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 0), kEnglish, [&] {
        DeleteOpenGroup(files, layout_, kEnglish, [&](const std::u16string& path) { files.files.erase(path); });
    });
    EXPECT_EQ(StoredMacro(u"Same", 0).params[0].y, 21);
    EXPECT_EQ(StoredMacro(u"Same", 0).name[1], u'0');

    // The language switch from English Same to Spanish, whose second group is also Same.
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(1, 0), kSpanish, [&] {
        OpenSame();
        SwitchMacroFolders(files, layout_, kSpanish, u"C:\\kestra\\skins\\INI_CN\\macroReset\\");
    });
    folder = kSpanish;
    EXPECT_EQ(StoredMacro(u"Same", 0).params[0].y, 26);
    EXPECT_EQ(StoredMacro(u"Same", 0).name[0], u'S');
    folder = kEnglish;

    // A new group, and a macro of the open group deleted.
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 2), kEnglish, [&] {
        AddOpenGroup(files, kEnglish, u"New", [&](const std::u16string& path) {
            files.Touch(path);
            return true;
        });
    });
    ExpectStepDuringEqualsStepAfter(MakeFileMacroCode(0, 2), kEnglish, [&] { DeleteOpenMacro(files, layout_, kEnglish, 0); });
}

TEST_F(GroupChangeStepTest, StepWritesOnlyItsOwnLineAndKeepsTheEditorsWork)
{
    stepFolder_ = kEnglish;
    Start();
    // A new macro made in the editor and not saved yet: the file still counts three.
    g_macroTable[3] = Moves(u"New", 9);
    g_macroCount = 4;
    g_buttonAssignments[0][0] = MakeFileMacroCode(0, 1);
    Step();
    EXPECT_EQ(files.Get(kEnglish + u"Big.dat", kMacrosSection, kMacroNumKey, 3), u"3");
    // The open macro is stepped as the editor holds it, its unsaved edit kept and saved with it.
    EXPECT_EQ(g_macroTable[1].params[0].y, 3);
    EXPECT_EQ(StoredMacro(u"Big", 1).params[0].y, 3);
    EXPECT_EQ(StoredMacro(u"Big", 1).repeatCount, 7);

    // While that macro is being recorded the step is dropped: nothing stepped, nothing written.
    const int writes = files.writes;
    g_macroRecorder.Start(g_macroTable[1], u"B1");
    g_macroTable[1] = Moves(u"B1", 5);  // what the recording holds so far
    Step();
    EXPECT_EQ(g_macroTable[1].params[0].y, 5);
    g_macroRecorder.Stop(g_macroTable[1]);
    EXPECT_EQ(files.writes, writes);
    EXPECT_EQ(StoredMacro(u"Big", 1).params[0].y, 3);
}

// The macro page beside steps of its open macro: each of its readings of the table is a copy or
// a section under the macro store lock (the thread stage runs this under ThreadSanitizer).
TEST_F(GroupChangeStepTest, PageReadsBesideStepsOfTheOpenMacro)
{
    stepFolder_ = kEnglish;
    Start();
    g_buttonAssignments[0][0] = MakeFileMacroCode(0, 1);
    const std::vector<std::u16string> modeNames(6, u"mode");
    std::atomic<bool> stepping{true};
    std::thread input([&] {
        for (int i = 0; i < 30; ++i) Step();
        stepping = false;
    });
    size_t lines = 0;
    do {
        lines = MacroEventListLines(MacroTableCopy(1)).size();
        ShowMacroTableLightBlock(1, 0, true, modeNames);
        EXPECT_EQ(FindMacroTableName(3, u"B1"), 1u);
    } while (stepping);
    input.join();
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(MacroTableCopy(1).params[0].y, 30);
}

}  // namespace
