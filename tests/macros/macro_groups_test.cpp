#include <gtest/gtest.h>

#include "macros/macro_group_change.h"
#include "macros/macro_groups.h"
#include "macros/memory_profile_files.h"
#include "tests/macros/macro_test_records.h"
#include "tests/lock_probe.h"
#include "tests/recording_prompts.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"

namespace {
uint8_t Same(uint8_t code) { return code; }
const MacroKeyLayout kLayout{Same, Same};
const std::u16string kFolder = u"C:\\skins\\INI_CN\\macro\\";
const std::u16string kGroupFile = kFolder + u"macroGrp.ini";
const std::u16string kConfig = u"C:\\skins\\config\\config.ini";

class MacroGroupsTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        g_macroGroupCount = 0;
        g_macroGroupNames.fill(u"");
        g_currentGroup = 0;
        g_groupMacroCounts.fill(0);
        g_groupMacroNames.fill(u"");
        g_macroCount = 0;
        for (MacroRecord& record : g_macroTable) record = MacroRecord{};
        g_buttonAssignments = {};
        g_configIniPath.clear();
    }

    void WriteGroupFile(const std::u16string& count, std::initializer_list<std::u16string> names)
    {
        files.Put(kGroupFile, kGroupCountSection, kGroupCountKey, count);
        int key = 0;
        for (const std::u16string& name : names) files.Put(kGroupFile, kGroupNameSection, FormatIniInt(key++), name);
    }
    std::u16string Stored(const std::u16string& section, const std::u16string& key)
    {
        return files.files[kGroupFile].Value(section, key).value_or(u"<missing>");
    }
    void WriteMacros(const std::u16string& group, std::u16string count, std::initializer_list<std::u16string> names)
    {
        const std::u16string path = kFolder + group + u".dat";
        files.Put(path, kMacrosSection, kMacroNumKey, count);
        int key = 0;
        for (const std::u16string& name : names) {
            MacroRecord record{};
            SetMacroName(record, name);
            files.Put(path, kMacrosSection, FormatIniInt(key++), EncodeMacroLine(record, Same));
        }
    }

    MemoryProfileFiles files;
    RecordingPrompts prompts;
};

TEST_F(MacroGroupsTest, SavingNoGroupsWritesZeroAndTwelveEmptyKeys)
{
    SaveMacroGroups(files, kFolder);
    EXPECT_EQ(Stored(kGroupCountSection, kGroupCountKey), u"0");
    for (int key = 0; key < 12; ++key) EXPECT_EQ(Stored(kGroupNameSection, FormatIniInt(key)), u"") << key;
    EXPECT_EQ(Stored(kGroupNameSection, u"12"), u"<missing>");
    EXPECT_EQ(files.writes, 13);
}

TEST_F(MacroGroupsTest, NamesThatLeaveTheMacroFolderAreGroupsWithoutFiles)
{
    WriteGroupFile(u"5", {u"..\\..\\config\\config", u"Fine", u"a/b", u"C:x", u"D:\\x"});
    for (const char16_t* name : {u"..\\..\\config\\config", u"Fine", u"a/b", u"C:x", u"D:\\x"})
        WriteMacros(name, u"1", {u"M"});
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 1);
    EXPECT_EQ(g_macroGroupNames[0], u"Fine");
    // The step download finds its macro through the file too: nothing outside is read.
    files.Put(kGroupFile, kGroupNameSection, u"0", u"..\\..\\config\\config");
    MacroRecord out{};
    SetMacroName(out, u"Old");
    EXPECT_EQ(LoadMacroFromFile(files, kLayout, kFolder, out, 0, 0).name[0], 0);
}

TEST_F(MacroGroupsTest, GroupsWithoutFilesAreDroppedAndTheListRewritten)
{
    WriteGroupFile(u"4", {u"One", u"Two", u"Three", u"Four"});
    files.Touch(kFolder + u"One.dat");
    files.Touch(kFolder + u"Four.dat");
    g_currentGroup = 3;

    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(g_macroGroupCount, 2);
    EXPECT_EQ(g_currentGroup, 0);
    EXPECT_EQ(g_macroGroupNames[0], u"One");
    EXPECT_EQ(g_macroGroupNames[1], u"Four");
    for (size_t i = 2; i < kMaxMacroGroups; ++i) EXPECT_EQ(g_macroGroupNames[i], u"") << i;
    EXPECT_EQ(Stored(kGroupCountSection, kGroupCountKey), u"2");
    EXPECT_EQ(Stored(kGroupNameSection, u"0"), u"One");
    EXPECT_EQ(Stored(kGroupNameSection, u"1"), u"Four");
    for (int key = 2; key < 12; ++key) EXPECT_EQ(Stored(kGroupNameSection, FormatIniInt(key)), u"") << key;
    EXPECT_EQ(g_macroCount, 0);  // checking a file does not read it
}

TEST_F(MacroGroupsTest, NamesThatDifferOnlyInCaseShareOneFileAndTheLaterIsDropped)
{
    // Windows finds gaming.dat, ÉTÉ.dat, άλφα.dat and TIẾNG.dat under the earlier names too: the
    // later names own no file, and deleting or renaming them would take the earlier group's.
    // Dotless ı and dotted İ are capitals of no other letter there: ılık and İlık are two files.
    WriteGroupFile(u"9", {u"Gaming", u"été", u"gaming", u"ÉTÉ", u"Άλφα", u"άλφα", u"Tiếng", u"TIẾNG", u"ılık"});
    files.Put(kGroupFile, kGroupNameSection, u"9", u"İlık");
    files.Put(kGroupFile, kGroupCountSection, kGroupCountKey, u"10");
    for (const char16_t* name :
         {u"Gaming", u"été", u"gaming", u"ÉTÉ", u"Άλφα", u"άλφα", u"Tiếng", u"TIẾNG", u"ılık", u"İlık"})
        files.Touch(kFolder + name + u".dat");
    // A button of a dropped name loses its macro; the buttons of the groups behind it follow
    // them down, and only their keys are written.
    g_configIniPath = kConfig;
    g_buttonAssignments[0][1] = MakeFileMacroCode(0, 2);
    g_buttonAssignments[0][2] = MakeFileMacroCode(2, 0);
    g_buttonAssignments[1][3] = MakeFileMacroCode(4, 1);
    g_buttonAssignments[3][8] = MakeFileMacroCode(9, 5);
    LoadMacroGroups(files, kLayout, kFolder);
    ASSERT_EQ(g_macroGroupCount, 6);
    EXPECT_EQ(g_macroGroupNames[0], u"Gaming");
    EXPECT_EQ(g_macroGroupNames[1], u"été");
    EXPECT_EQ(g_macroGroupNames[2], u"Άλφα");
    EXPECT_EQ(g_macroGroupNames[3], u"Tiếng");
    EXPECT_EQ(g_macroGroupNames[4], u"ılık");
    EXPECT_EQ(g_macroGroupNames[5], u"İlık");
    EXPECT_EQ(Stored(kGroupCountSection, kGroupCountKey), u"6");
    EXPECT_EQ(Stored(kGroupNameSection, u"5"), u"İlık");
    EXPECT_EQ(Stored(kGroupNameSection, u"6"), u"");
    EXPECT_EQ(g_buttonAssignments[0][1], MakeFileMacroCode(0, 2));
    EXPECT_EQ(g_buttonAssignments[0][2], 0u);
    EXPECT_EQ(g_buttonAssignments[1][3], MakeFileMacroCode(2, 1));
    EXPECT_EQ(g_buttonAssignments[3][8], MakeFileMacroCode(5, 5));
    const MemoryIniFile& config = files.files[kConfig];
    EXPECT_EQ(config.Value(u"Config1", u"K2").value_or(u"<missing>"), u"0");
    EXPECT_EQ(config.Value(u"Config2", u"K3"), FormatIniInt(static_cast<int32_t>(MakeFileMacroCode(2, 1))));
    EXPECT_EQ(config.Value(u"Config4", u"K8"), FormatIniInt(static_cast<int32_t>(MakeFileMacroCode(5, 5))));
    EXPECT_FALSE(config.Value(u"Config1", u"K1").has_value());
    EXPECT_FALSE(config.Value(u"Config1", u"K0").has_value());
    EXPECT_TRUE(SameGroupFileName(u"Игры", u"иГРЫ"));
    EXPECT_FALSE(SameGroupFileName(u"Gaming", u"Gamine"));
    EXPECT_FALSE(SameGroupFileName(u"Gaming", u"Gaming2"));
    EXPECT_FALSE(SameGroupFileName(u"ılık", u"ILIK"));
}

struct ProgramEnd {};

// Macro files whose writes stop short: the program ends (a throw) after `writesLeft` writes, or a
// write of key `failingKey` fails as on a read-only file or a full disk.
class EndingFiles : public MemoryProfileFiles {
public:
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override
    {
        if (key == failingKey) return false;
        if (writesLeft-- == 0) throw ProgramEnd{};
        return MemoryProfileFiles::Put(file, section, key, value);
    }
    int writesLeft = -1;
    std::u16string failingKey;
};

TEST_F(MacroGroupsTest, RewritesCutShortOrFailingLeaveTheWholeOldFileAndAreToldOnce)
{
    WriteGroupFile(u"3", {u"A", u"B", u"C"});
    WriteMacros(u"A", u"0", {});
    WriteMacros(u"B", u"3", {u"M1", u"M2", u"M3"});
    WriteMacros(u"C", u"0", {});
    EndingFiles ending;
    ending.files = files.files;
    const std::u16string groupFile = kFolder + kMacroGroupFileName;
    const std::u16string b = kFolder + u"B.dat";
    const std::u16string oldList = ending.files[groupFile].Text();
    const std::u16string oldB = ending.files[b].Text();
    LoadMacroGroups(ending, kLayout, kFolder);
    ASSERT_EQ(g_macroGroupCount, 3);

    // The list after a delete, ended between the count and the names.
    ending.writesLeft = 2;
    g_currentGroup = 1;
    EXPECT_THROW(DeleteOpenGroup(ending, kLayout, kFolder, [](const std::u16string&) {}), ProgramEnd);
    EXPECT_EQ(ending.files[groupFile].Text(), oldList);
    // The group after a macro delete, ended after the count and the first line: never [M2, M2].
    LoadMacroGroups(ending, kLayout, kFolder);
    ASSERT_TRUE(LoadGroupFile(ending, kLayout, kFolder, 1, true));
    g_currentGroup = 1;
    ending.writesLeft = 2;
    EXPECT_THROW(DeleteOpenMacro(ending, kLayout, kFolder, 0), ProgramEnd);
    EXPECT_EQ(ending.files[b].Text(), oldB);
    EXPECT_TRUE(prompts.shown.empty());

    // A key that cannot be written: each save leaves its file whole and tells of it once.
    ending.writesLeft = -1;
    ending.failingKey = u"1";
    ASSERT_TRUE(LoadGroupFile(ending, kLayout, kFolder, 1, true));
    SaveMacroGroups(ending, kFolder);
    DeleteOpenMacro(ending, kLayout, kFolder, 0);
    // A new macro: its count must not go in without its line.
    ASSERT_TRUE(LoadGroupFile(ending, kLayout, kFolder, 1, true));
    g_macroCount = 4;
    ending.failingKey = u"3";
    SaveMacroToFile(ending, kLayout, b, 3);
    EXPECT_EQ(ending.files[groupFile].Text(), oldList);
    EXPECT_EQ(ending.files[b].Text(), oldB);
    std::vector<std::u16string> shown;
    for (const RecordingPrompts::Shown& message : prompts.shown) shown.push_back(message.text);
    const bool english = g_languageEnglish != 0;
    EXPECT_EQ(shown, (std::vector<std::u16string>{WriteFailureText(groupFile, english), WriteFailureText(b, english),
                                                  WriteFailureText(b, english)}));
}

TEST_F(MacroGroupsTest, LastGroupMissingAndNothingMissing)
{
    WriteGroupFile(u"2", {u"A", u"B"});
    files.Touch(kFolder + u"A.dat");
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 1);
    EXPECT_EQ(g_macroGroupNames[1], u"");

    files.Touch(kFolder + u"B.dat");
    WriteGroupFile(u"2", {u"A", u"B"});
    files.writes = 0;
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 2);
    EXPECT_EQ(files.writes, 0);  // nothing dropped, nothing rewritten
}

TEST_F(MacroGroupsTest, MissingGroupFileIsReportedAndGivesNoGroups)
{
    g_currentGroup = 4;
    LoadMacroGroups(files, kLayout, kFolder);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"Can't find the file.");
    EXPECT_EQ(g_macroGroupCount, 0);
    EXPECT_EQ(g_currentGroup, 4);  // kept when there is no group
    EXPECT_FALSE(files.FileExists(kGroupFile));  // and not created
}

TEST_F(MacroGroupsTest, OddGroupCountsStayInsideTheTable)
{
    std::initializer_list<std::u16string> twelve = {u"g0", u"g1", u"g2", u"g3", u"g4", u"g5",
                                                    u"g6", u"g7", u"g8", u"g9", u"g10", u"g11"};
    for (const std::u16string& name : twelve) files.Touch(kFolder + name + u".dat");
    WriteGroupFile(u"99", twelve);
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 10);
    EXPECT_EQ(g_macroGroupNames[9], u"g9");

    for (const char16_t* garbage : {u"-1", u"x3", u"", u"300"}) {
        WriteGroupFile(garbage, {});
        LoadMacroGroups(files, kLayout, kFolder);
        // "300" is read through two digits: 30, more than the table holds.
        EXPECT_EQ(g_macroGroupCount, garbage == std::u16string(u"300") ? 10 : 0) << std::string(garbage, garbage + 0);
    }
}

TEST_F(MacroGroupsTest, TwentyCharacterGroupNamesSurviveASaveAndLoad)
{
    const std::u16string name = u"ABCDEFGHIJKLMNOPQRST";
    ASSERT_EQ(name.size(), kMaxGroupNameChars);
    g_macroGroupCount = 1;
    g_macroGroupNames[0] = name;
    SaveMacroGroups(files, kFolder);
    files.Touch(kFolder + name + u".dat");
    g_macroGroupNames[0].clear();
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 1);
    EXPECT_EQ(g_macroGroupNames[0], name);
}

TEST_F(MacroGroupsTest, LoadGroupFileChecksOrReads)
{
    g_macroGroupCount = 2;
    g_macroGroupNames[0] = u"Here";
    g_macroGroupNames[1] = u"Gone";
    WriteMacros(u"Here", u"2", {u"m1", u"m2"});
    EXPECT_TRUE(LoadGroupFile(files, kLayout, kFolder, 0, false));
    EXPECT_EQ(g_macroCount, 0);
    EXPECT_TRUE(LoadGroupFile(files, kLayout, kFolder, 0, true));
    EXPECT_EQ(g_macroCount, 2);
    EXPECT_EQ(g_macroTable[1].name[1], u'2');
    EXPECT_FALSE(LoadGroupFile(files, kLayout, kFolder, 1, true));
    EXPECT_FALSE(LoadGroupFile(files, kLayout, kFolder, 200, false));  // ".dat" in the folder
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MacroGroupsTest, MacroNamesOfEveryGroup)
{
    g_macroGroupCount = 4;
    g_macroGroupNames = {u"Full", u"Empty", u"TooMany", u"New"};
    WriteMacros(u"Full", u"3", {u"Ninechars", u"", u"x"});
    WriteMacros(u"Empty", u"0", {u"unseen"});
    WriteMacros(u"TooMany", u"13", {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"l", u"m"});
    files.Touch(kFolder + u"New.dat");  // the empty file of a new group
    g_groupMacroNames[1 * 12] = u"stale";

    LoadGroupMacroNames(files, kFolder);
    EXPECT_EQ(g_groupMacroCounts[0], 3);
    EXPECT_EQ(g_groupMacroNames[0], u"Ninechars");
    EXPECT_EQ(g_groupMacroNames[1], u"");
    EXPECT_EQ(g_groupMacroNames[2], u"x");
    EXPECT_EQ(g_groupMacroCounts[1], 0);
    EXPECT_EQ(g_groupMacroNames[12], u"stale");  // past a group's count nothing is touched
    EXPECT_EQ(g_groupMacroCounts[2], 12);
    EXPECT_EQ(g_groupMacroNames[2 * 12 + 11], u"l");
    EXPECT_EQ(g_groupMacroNames[3 * 12], u"");  // not the next group's first
    EXPECT_EQ(g_groupMacroCounts[3], 0);
}

TEST_F(MacroGroupsTest, ReadWidthsCutLongValues)
{
    // Group names through 21 characters: a longer name reads as its first 20.
    WriteGroupFile(u"1", {u"ABCDEFGHIJKLMNOPQRSTUVW"});
    files.Touch(kFolder + u"ABCDEFGHIJKLMNOPQRST.dat");
    LoadMacroGroups(files, kLayout, kFolder);
    EXPECT_EQ(g_macroGroupCount, 1);
    EXPECT_EQ(g_macroGroupNames[0], u"ABCDEFGHIJKLMNOPQRST");

    // "macroNum" through three characters: 105 reads as 10, for the editor and the name lister.
    WriteMacros(u"ABCDEFGHIJKLMNOPQRST", u"105", {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k"});
    LoadGroupFile(files, kLayout, kFolder, 0, true);
    EXPECT_EQ(g_macroCount, 10);
    EXPECT_EQ(g_macroTable[9].name[0], u'j');
    EXPECT_EQ(g_macroTable[10].name[0], u'\0');
    LoadGroupMacroNames(files, kFolder);
    EXPECT_EQ(g_groupMacroCounts[0], 10);
    EXPECT_EQ(g_groupMacroNames[10], u"");
}

// The device input thread reads the group list to find a macro's file: every read and write of
// the group loads happens with g_macroStoreLock held.
class LockProbeFiles : public MemoryProfileFiles {
public:
    std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                       size_t bufferChars) override
    {
        Probe();
        return MemoryProfileFiles::Get(file, section, key, bufferChars);
    }
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override
    {
        Probe();
        return MemoryProfileFiles::Put(file, section, key, value);
    }
    bool probing = false;
    int probes = 0;
    int freeAtAccess = 0;

private:
    void Probe()
    {
        if (!probing) return;
        ++probes;
        if (FreeForAnotherThread(g_macroStoreLock)) ++freeAtAccess;
    }
};

TEST_F(MacroGroupsTest, GroupLoadsWriteTheListUnderTheMacroStoreLock)
{
    LockProbeFiles probed;
    probed.Put(kGroupFile, kGroupCountSection, kGroupCountKey, u"3");
    for (const char16_t* name : {u"Kept", u"Gone", u"Also"}) {
        probed.Put(kGroupFile, kGroupNameSection, FormatIniInt(probed.probes++), name);
    }
    probed.Touch(kFolder + u"Kept.dat");
    probed.Touch(kFolder + u"Also.dat");
    probed.probes = 0;
    probed.probing = true;
    LoadMacroGroups(probed, kLayout, kFolder);  // drops "Gone" and rewrites the list
    LoadGroupMacroNames(probed, kFolder);
    EXPECT_EQ(g_macroGroupCount, 2);
    EXPECT_GT(probed.probes, 15);
    EXPECT_EQ(probed.freeAtAccess, 0);
}
}  // namespace
