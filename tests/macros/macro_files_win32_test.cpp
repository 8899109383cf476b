// Macro and group files on disk, through the platform's profile-string functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "macros/macro_commands.h"
#include "macros/win32_profile_files.h"
#include "settings/button_assignment.h"
#include "tests/macros/macro_test_records.h"
#include "tests/recording_prompts.h"
#include "tests/settings/language_guard.h"
#include "tests/temp_folder.h"
#include "settings/file_write_failure.h"
#include "settings/ini_value.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {
const uint8_t kKeys[] = {4, 29, 45, 46, 47, 48, 49, 51, 53, 56, 0xF1, 0xF2, 0xF3, 0xF6, 0xF9, 0, 40, 224};

class MacroFilesWin32 : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = &GetProfileFiles();
        SetProfileFiles(&files_);
        Reset();
        g_skinFolder = folder.File("skins");
        g_macroFolder = g_skinFolder + u"\\INI_EN\\macro\\";
        std::filesystem::create_directories(folder / "skins/INI_EN/macro");
    }
    void TearDown() override
    {
        Reset();
        SetProfileFiles(previous_);
    }
    static void Reset()
    {
        for (MacroRecord& record : g_macroTable) record = MacroRecord{};
        for (MacroRecord& record : g_constMacroTable) record = MacroRecord{};
        g_macroCount = g_constMacroCount = 0;
        g_macroGroupCount = 0;
        g_macroGroupNames.fill(u"");
        g_groupMacroNames.fill(u"");
        g_skinFolder.clear();
        g_macroFolder.clear();
        g_configIniPath.clear();
        g_buttonAssignments = {};
    }

    TempFolder folder;
    RecordingPrompts prompts;

private:
    Win32ProfileFiles files_;
    ProfileFiles* previous_ = nullptr;
};

// The "key=value" line of a file as stored (the files are written in the ANSI code page).
std::string LineOf(const std::string& text, const std::string& key)
{
    const size_t start = text.find("\n" + key + "=");
    if (start == std::string::npos) return "<missing>";
    const size_t end = text.find_first_of("\r\n", start + 1);
    return text.substr(start + 1, end - start - 1);
}

TEST_F(MacroFilesWin32, FullRecordsRoundTripInBothLanguages)
{
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        const std::string name = language ? "en.dat" : "es.dat";
        g_macroCount = 12;
        for (size_t i = 0; i < 12; ++i) g_macroTable[i] = FullMacroRecord(u"Macro_" + FormatIniInt(int(i)), kKeys);
        const auto saved = g_macroTable;
        SaveAllMacrosToFile(folder.File(name));

        const std::string text = folder.Read(name);
        EXPECT_EQ(LineOf(text, "macroNum"), "macroNum=12");
        EXPECT_EQ(LineOf(text, "11").size(), 3 + 5445u);

        for (size_t i = 0; i < 12; ++i) g_macroTable[i] = MacroRecord{};
        ReadMacroFile(folder.File(name));
        ASSERT_EQ(g_macroCount, 12);
        for (size_t i = 0; i < 12; ++i) EXPECT_TRUE(SameStoredFields(g_macroTable[i], saved[i])) << language << " " << i;
        EXPECT_TRUE(SameRecord(g_macroTable[12], MacroRecord{}));
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MacroFilesWin32, SavingOneMacroReplacesOnlyItsLineAndTheCount)
{
    folder.Write("g.dat", "[Other]\r\nkeep=1\r\n[Macros]\r\nmacroNum=2\r\n0=000\r\n1=111\r\n2=222\r\n3=333\r\n4=444\r\n");
    g_macroCount = 5;
    SetMacroName(g_macroTable[3], u"M1");
    SaveMacroToFile(folder.File("g.dat"), 3);

    const std::string text = folder.Read("g.dat");
    EXPECT_EQ(LineOf(text, "macroNum"), "macroNum=5");
    EXPECT_EQ(LineOf(text, "keep"), "keep=1");
    EXPECT_EQ(LineOf(text, "0"), "0=000");
    EXPECT_EQ(LineOf(text, "2"), "2=222");
    EXPECT_EQ(LineOf(text, "4"), "4=444");
    const std::string line3 = LineOf(text, "3");
    EXPECT_EQ(line3.size(), 2 + 5445u);
    EXPECT_EQ(line3.substr(0, 14), "3=077000049000");
}

TEST_F(MacroFilesWin32, MissingFilesAndTheConstantMacroCut)
{
    ReadMacroFile(folder.File("none.dat"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"找不到配置文件");

    g_macroCount = 1;
    g_macroTable[0] = FullMacroRecord(u"Const", kKeys, 60);
    SaveMacroToFile(folder.File("constMacro.dat"), 0);
    ReadConstMacroFile(folder.File("constMacro.dat"));
    EXPECT_EQ(prompts.shown.size(), 1u);
    ASSERT_EQ(g_constMacroCount, 1);
    const MacroRecord& got = g_constMacroTable[0];
    EXPECT_EQ(got.eventCount, 60);
    EXPECT_EQ(got.delays[55], g_macroTable[0].delays[55]);
    EXPECT_EQ(got.params[56].x, g_macroTable[0].params[56].x);
    EXPECT_EQ(got.delays[56], 0);
    EXPECT_EQ(got.actions[57], 0);
    EXPECT_EQ(got.lightBlocks[0].stepCount, 0);
}

TEST_F(MacroFilesWin32, GroupsWithoutFilesAreDroppedFromTheGroupFile)
{
    // A button of a group behind a dropped one follows it down, in config.ini too.
    g_configIniPath = folder.File("config.ini");
    g_buttonAssignments[2][4] = MakeFileMacroCode(3, 1);
    folder.Write("skins/INI_EN/macro/macroGrp.ini",
                 "[MACRO_GROUP_NUM]\r\nmacGrpNum=4\r\n[MACRO_GROUP_NAME]\r\n0=One\r\n1=Two\r\n2=Three\r\n"
                 "3=ABCDEFGHIJKLMNOPQRST\r\n");
    folder.Write("skins/INI_EN/macro/One.dat", "");
    folder.Write("skins/INI_EN/macro/ABCDEFGHIJKLMNOPQRST.dat", "");
    std::filesystem::create_directories(folder / "skins/INI_EN/macro/Two.dat");  // a folder is not a file

    LoadMacroGroups();
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_EQ(g_macroGroupCount, 2);
    EXPECT_EQ(g_macroGroupNames[0], u"One");
    EXPECT_EQ(g_macroGroupNames[1], u"ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(g_buttonAssignments[2][4], MakeFileMacroCode(1, 1));
    EXPECT_EQ(LineOf(folder.Read("config.ini"), "K4"), "K4=" + std::to_string(MakeFileMacroCode(1, 1)));

    const std::string text = folder.Read("skins/INI_EN/macro/macroGrp.ini");
    EXPECT_EQ(LineOf(text, "macGrpNum"), "macGrpNum=2");
    EXPECT_EQ(LineOf(text, "1"), "1=ABCDEFGHIJKLMNOPQRST");
    for (int key = 2; key < 12; ++key) EXPECT_EQ(LineOf(text, std::to_string(key)), std::to_string(key) + "=");

    // The empty file of a new group: no macros, no names.
    EXPECT_TRUE(LoadGroupFile(0, true));
    EXPECT_EQ(g_macroCount, 0);
    LoadGroupMacroNames();
    EXPECT_EQ(g_groupMacroCounts[0], 0);

    std::filesystem::remove(folder / "skins/INI_EN/macro/macroGrp.ini");
    LoadMacroGroups();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"Can't find the file.");
    EXPECT_EQ(g_macroGroupCount, 0);
}

// Which names name one file is the system's question: the group load asks it as the macro page
// does, so accented Greek and Vietnamese capitals are one file, Turkish ı and İ two.
TEST_F(MacroFilesWin32, GroupNamesNameOneFileByTheSystemsCaseRule)
{
    const std::u16string names[] = {u"Άλφα", u"άλφα", u"Tiếng", u"TIẾNG", u"ılık", u"İlık"};
    std::u16string list = u"\uFEFF[MACRO_GROUP_NUM]\r\nmacGrpNum=6\r\n[MACRO_GROUP_NAME]\r\n";
    for (int i = 0; i < 6; ++i) list += FormatIniInt(i) + u"=" + names[i] + u"\r\n";
    std::string bytes;
    for (char16_t unit : list) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    folder.Write("skins/INI_EN/macro/macroGrp.ini", bytes);
    for (int i : {0, 2, 4, 5}) GetProfileFiles().Put(g_macroFolder + names[i] + u".dat", u"Macros", u"macroNum", u"0");

    LoadMacroGroups();
    ASSERT_EQ(g_macroGroupCount, 4);
    EXPECT_EQ(g_macroGroupNames[0], names[0]);
    EXPECT_EQ(g_macroGroupNames[1], names[2]);
    EXPECT_EQ(g_macroGroupNames[2], names[4]);
    EXPECT_EQ(g_macroGroupNames[3], names[5]);

    // The rule of the files held in memory is the system's for the letters of those scripts:
    // sorted by the system's comparison, equal neighbours are the system's classes.
    std::vector<char16_t> letters;
    for (auto [first, last] : {std::pair{0x20, 0x17F}, {0x1A0, 0x1B0}, {0x386, 0x3CE}, {0x400, 0x52F}, {0x1E00, 0x1EFF}})
        for (int c = first; c <= last; ++c) letters.push_back(static_cast<char16_t>(c));
    auto system = [](char16_t a, char16_t b) {
        return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(&a), 1, reinterpret_cast<const wchar_t*>(&b), 1, TRUE);
    };
    std::sort(letters.begin(), letters.end(), [&](char16_t a, char16_t b) { return system(a, b) == CSTR_LESS_THAN; });
    for (size_t i = 0; i < letters.size(); ++i) {
        for (size_t j = i + 1; j < letters.size() && system(letters[i], letters[j]) == CSTR_EQUAL; ++j)
            EXPECT_TRUE(SameGroupFileName(std::u16string(1, letters[i]), std::u16string(1, letters[j])))
                << std::hex << int(letters[i]) << " " << int(letters[j]);
    }
    // ... and no two of its classes are one of the system's.
    std::vector<char16_t> ruleFirsts;
    size_t systemClasses = 0;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (i == 0 || system(letters[i - 1], letters[i]) != CSTR_EQUAL) ++systemClasses;
        const std::u16string letter(1, letters[i]);
        if (std::none_of(ruleFirsts.begin(), ruleFirsts.end(),
                         [&](char16_t c) { return SameGroupFileName(std::u16string(1, c), letter); }))
            ruleFirsts.push_back(letters[i]);
    }
    EXPECT_EQ(ruleFirsts.size(), systemClasses);
}
struct ProgramEnd {};

// The files written as before, key by key in place; or ended (a throw) after `writesLeft` writes.
class InPlaceFiles : public Win32ProfileFiles {
public:
    bool Rewrite(const std::u16string&, const std::function<bool()>& writes) override { return writes(); }
};
class EndingFiles : public Win32ProfileFiles {
public:
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override
    {
        if (key == failingKey) return false;
        if (writesLeft-- == 0) throw ProgramEnd{};
        return Win32ProfileFiles::Put(file, section, key, value);
    }
    int writesLeft = -1;
    std::u16string failingKey;
};

TEST_F(MacroFilesWin32, ListAndGroupRewritesAreWholeOrNothingWithTheBytesOfTheKeyByKeyWrites)
{
    const std::string list = "[MACRO_GROUP_NUM]\r\nmacGrpNum=3\r\n; kept\r\n[MACRO_GROUP_NAME]\r\n0=A\r\n1=B\r\n2=C\r\n";
    folder.Write("skins/INI_EN/macro/macroGrp.ini", list);
    folder.Write("inplace/macroGrp.ini", list);
    g_macroGroupCount = 2;
    g_macroGroupNames[0] = u"A";
    g_macroGroupNames[1] = u"C";
    InPlaceFiles inPlace;
    SaveMacroGroups(inPlace, folder.File("inplace") + u"\\");
    EndingFiles ending;
    ending.writesLeft = 2;
    EXPECT_THROW(SaveMacroGroups(ending, g_macroFolder), ProgramEnd);
    EXPECT_EQ(folder.Read("skins/INI_EN/macro/macroGrp.ini"), list);
    SaveMacroGroups();
    EXPECT_EQ(folder.Read("skins/INI_EN/macro/macroGrp.ini"), folder.Read("inplace/macroGrp.ini"));

    // A group written whole after a macro delete, ended after its count and first line.
    g_macroCount = 3;
    for (uint16_t m = 0; m < 3; ++m) g_macroTable[m] = FullMacroRecord(u"M" + FormatIniInt(m), kKeys);
    SaveAllMacrosToFile(folder.File("g.dat"));
    const std::string group = folder.Read("g.dat");
    g_macroTable[0] = g_macroTable[1];
    g_macroTable[1] = g_macroTable[2];
    g_macroCount = 2;
    ending.writesLeft = 2;
    EXPECT_THROW(SaveAllMacrosToFile(ending, kEnglishMacroKeys, folder.File("g.dat")), ProgramEnd);
    EXPECT_EQ(folder.Read("g.dat"), group);
    EXPECT_TRUE(prompts.shown.empty());

    // A line that cannot be written into the copy, or a group file another program holds, takes
    // no edit, and the user is told once, by its name.
    ending.writesLeft = -1;
    ending.failingKey = u"1";
    SaveAllMacrosToFile(ending, kEnglishMacroKeys, folder.File("g.dat"));
    {
        const UniqueHandle locked(
            CreateFileW(AsWide(folder.File("g.dat")), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        SaveMacroToFile(folder.File("g.dat"), 1);
    }
    EXPECT_EQ(folder.Read("g.dat"), group);
    ASSERT_EQ(prompts.shown.size(), 2u);
    for (const RecordingPrompts::Shown& shown : prompts.shown)
        EXPECT_EQ(shown.text, WriteFailureText(folder.File("g.dat"), g_languageEnglish != 0));
    EXPECT_FALSE(std::filesystem::exists(folder / "g.dat.tmp"));
}

}  // namespace
