#include <gtest/gtest.h>

#include "macros/macro_file.h"
#include "macros/macro_groups.h"
#include "macros/memory_profile_files.h"
#include "tests/macros/macro_test_records.h"
#include "tests/recording_prompts.h"
#include "settings/ini_value.h"

namespace {
uint8_t Up(uint8_t code) { return static_cast<uint8_t>(code + 1); }
uint8_t Down(uint8_t code) { return static_cast<uint8_t>(code - 1); }
const MacroKeyLayout kLayout{Up, Down};
const uint8_t kKeys[] = {4, 0xF1, 0xF6, 40};
const std::u16string kFile = u"C:\\m\\Group.dat";

class MacroFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (MacroRecord& record : g_macroTable) record = MacroRecord{};
        for (MacroRecord& record : g_constMacroTable) record = MacroRecord{};
        g_macroCount = 0;
        g_constMacroCount = 0;
    }
    void TearDown() override { SetUp(); }

    std::u16string Line(const std::u16string& file, int key)
    {
        return files.Get(file, kMacrosSection, FormatIniInt(key), kMacroLineBufferChars);
    }

    MemoryProfileFiles files;
    RecordingPrompts prompts;
};

TEST_F(MacroFileTest, SaveOneMacroWritesTheCountAndOnlyItsLine)
{
    for (int key = 0; key < 5; ++key) files.Put(kFile, kMacrosSection, FormatIniInt(key), u"untouched");
    g_macroCount = 5;
    g_macroTable[3] = FullMacroRecord(u"Three", kKeys);
    files.writes = 0;

    SaveMacroToFile(files, kLayout, kFile, 3);
    EXPECT_EQ(files.writes, 2);
    EXPECT_EQ(files.Get(kFile, kMacrosSection, kMacroNumKey, kCountBufferChars), u"5");
    EXPECT_EQ(Line(kFile, 3), EncodeMacroLine(g_macroTable[3], Up));
    for (int key : {0, 1, 2, 4}) EXPECT_EQ(Line(kFile, key), u"untouched");

    SaveMacroToFile(files, kLayout, kFile, 13);  // no such slot: nothing written
    EXPECT_EQ(files.writes, 2);
}

TEST_F(MacroFileTest, ReaderStopsAtTwelveAndLeavesSlotTwelveEmpty)
{
    MacroRecord record = FullMacroRecord(u"Many", kKeys);
    files.Put(kFile, kMacrosSection, kMacroNumKey, u"99");
    for (int key = 0; key < 99; ++key) files.Put(kFile, kMacrosSection, FormatIniInt(key), EncodeMacroLine(record, Up));
    ReadMacroFile(files, kLayout, kFile);
    EXPECT_EQ(g_macroCount, 12);
    EXPECT_TRUE(SameStoredFields(g_macroTable[11], record));
    EXPECT_TRUE(SameRecord(g_macroTable[12], MacroRecord{}));

    files.Put(kFile, kMacrosSection, kMacroNumKey, u"-7");
    ReadMacroFile(files, kLayout, kFile);
    EXPECT_EQ(g_macroCount, 0);
}

TEST_F(MacroFileTest, FewerMacrosThanKeysAndZeroMacrosClearTheSlotsBehind)
{
    g_macroTable[1] = FullMacroRecord(u"Keep", kKeys);
    files.Put(kFile, kMacrosSection, kMacroNumKey, u"1");
    files.Put(kFile, kMacrosSection, u"0", u"065");
    files.Put(kFile, kMacrosSection, u"1", u"066");
    ReadMacroFile(files, kLayout, kFile);
    EXPECT_EQ(g_macroCount, 1);
    EXPECT_EQ(g_macroTable[0].name[0], u'A');
    // Slots past the count are cleared: a new macro there must not take the last group's events.
    EXPECT_TRUE(SameRecord(g_macroTable[1], MacroRecord{}));

    files.Put(kFile, kMacrosSection, kMacroNumKey, u"0");
    ReadMacroFile(files, kLayout, kFile);
    EXPECT_EQ(g_macroCount, 0);
    for (const MacroRecord& slot : g_macroTable) EXPECT_TRUE(SameRecord(slot, MacroRecord{}));
}

TEST_F(MacroFileTest, MissingFileIsReportedAndReadsAsAnEmptyGroup)
{
    g_macroCount = 4;
    g_macroTable[0] = FullMacroRecord(u"Stays", kKeys);
    ReadMacroFile(files, kLayout, u"C:\\nowhere.dat");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"找不到配置文件");
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Ok);
    EXPECT_EQ(g_macroCount, 0);
    EXPECT_TRUE(SameRecord(g_macroTable[0], MacroRecord{}));

    ReadConstMacroFile(files, kLayout, u"C:\\constMacro.dat");
    EXPECT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(g_constMacroCount, 0);
}

TEST_F(MacroFileTest, ConstantMacroLinesAreCutInsideEvent56)
{
    const std::u16string constFile = u"C:\\constMacro.dat";
    MacroRecord record = FullMacroRecord(u"Const", kKeys, 60);
    files.Put(constFile, kMacrosSection, kMacroNumKey, u"20");
    for (int key = 0; key < 20; ++key)
        files.Put(constFile, kMacrosSection, FormatIniInt(key), EncodeMacroLine(record, Up));
    ReadConstMacroFile(files, kLayout, constFile);
    EXPECT_EQ(g_constMacroCount, 13);  // the table's size

    const MacroRecord& got = g_constMacroTable[12];
    EXPECT_EQ(got.name, record.name);
    EXPECT_EQ(got.eventCount, 60);
    EXPECT_EQ(got.lightCount, record.lightCount);
    for (size_t i = 0; i < 56; ++i) {
        EXPECT_EQ(got.actions[i], record.actions[i]) << i;
        EXPECT_EQ(got.codes[i], record.codes[i]) << i;
        EXPECT_EQ(got.params[i].x, record.params[i].x) << i;
        EXPECT_EQ(got.params[i].y, record.params[i].y) << i;
        EXPECT_EQ(got.delays[i], record.delays[i]) << i;
    }
    // Event 56: action, code and X whole; the low byte of Y from the first two of its digits.
    EXPECT_EQ(got.actions[56], record.actions[56]);
    EXPECT_EQ(got.codes[56], record.codes[56]);
    EXPECT_EQ(got.params[56].x, record.params[56].x);
    const std::u16string yLow = AppendNumber3(u"", record.params[56].y & 0xFF);
    EXPECT_EQ(got.params[56].y, ParseIniInt(yLow.substr(0, 2)));
    EXPECT_EQ(got.delays[56], 0);
    for (size_t i = 57; i < kMaxMacroEvents; ++i) {
        EXPECT_EQ(got.actions[i], 0) << i;
        EXPECT_EQ(got.params[i].x, 0) << i;
        EXPECT_EQ(got.codes[i], Down(0)) << i;  // an absent code still goes through the layout
    }
    for (const LightBlock& block : got.lightBlocks) EXPECT_EQ(block.stepCount, 0);
}

TEST_F(MacroFileTest, LoadMacroFromFileFindsTheMacroThroughTheGroupFile)
{
    const std::u16string folder = u"C:\\skins\\INI_EN\\macro\\";
    const std::u16string groupFile = folder + u"macroGrp.ini";
    files.Put(groupFile, kGroupCountSection, kGroupCountKey, u"2");
    files.Put(groupFile, kGroupNameSection, u"0", u"First");
    files.Put(groupFile, kGroupNameSection, u"1", u"Second");
    files.Put(groupFile, kGroupNameSection, u"2", u"Hidden");
    const MacroRecord wanted = FullMacroRecord(u"Wanted", kKeys);
    for (const char16_t* name : {u"First", u"Second", u"Hidden"}) {
        const std::u16string path = folder + name + u".dat";
        files.Put(path, kMacrosSection, kMacroNumKey, u"3");
        for (int key = 0; key < 4; ++key) files.Put(path, kMacrosSection, FormatIniInt(key), EncodeMacroLine(wanted, Up));
    }

    MacroRecord out = FullMacroRecord(u"Junk", kKeys);
    EXPECT_EQ(&LoadMacroFromFile(files, kLayout, folder, out, 1, 2), &out);
    EXPECT_TRUE(SameStoredFields(out, wanted));
    EXPECT_TRUE(SameRecord(g_macroTable[0], MacroRecord{}));  // no global state written

    for (auto [group, macro] : {std::pair<uint32_t, uint32_t>{2, 0}, {1, 3}, {0xFFFFFFFF, 0}, {0, 0xFFFFFFFF}}) {
        out = wanted;
        LoadMacroFromFile(files, kLayout, folder, out, group, macro);
        EXPECT_TRUE(SameRecord(out, MacroRecord{})) << group << " " << macro;
    }
    out = wanted;
    LoadMacroFromFile(files, kLayout, u"C:\\elsewhere\\", out, 0, 0);
    EXPECT_TRUE(SameRecord(out, MacroRecord{}));
    EXPECT_TRUE(prompts.shown.empty());
}
}  // namespace
