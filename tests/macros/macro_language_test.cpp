#include <gtest/gtest.h>

#include "macros/macro_commands.h"
#include "macros/memory_profile_files.h"
#include "tests/macros/macro_test_records.h"
#include "tests/recording_prompts.h"
#include "tests/settings/language_guard.h"
#include "settings/ini_value.h"

namespace {
// Keys that convert differently in the two layouts, letters, mouse buttons and special codes.
const uint8_t kKeys[] = {4, 29, 30, 45, 46, 47, 48, 49, 51, 53, 56, 0xF1, 0xF2, 0xF3, 0xF6, 0xF9, 0, 224};

class ScopedProfileFiles {
public:
    explicit ScopedProfileFiles(ProfileFiles& files) : previous_(&GetProfileFiles()) { SetProfileFiles(&files); }
    ~ScopedProfileFiles() { SetProfileFiles(previous_); }

private:
    ProfileFiles* previous_;
};

class MacroLanguageTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        for (MacroRecord& record : g_macroTable) record = MacroRecord{};
        g_macroCount = 0;
        g_macroGroupCount = 0;
        g_macroGroupNames.fill(u"");
        g_skinFolder.clear();
        g_macroFolder.clear();
    }

    // The code field of event i of the stored line of key 0.
    std::u16string StoredCode(const std::u16string& path, size_t event)
    {
        return files.Get(path, kMacrosSection, u"0", kMacroLineBufferChars).substr((35 + 8 * event + 1) * 3, 3);
    }

    MemoryProfileFiles files;
    ScopedProfileFiles scoped{files};
    RecordingPrompts prompts;
};

TEST_F(MacroLanguageTest, KeysAreStoredAsVirtualKeysOfTheLanguage)
{
    const std::u16string path = u"C:\\g.dat";
    g_macroCount = 1;
    MacroRecord& record = g_macroTable[0];
    const uint8_t codes[] = {4, 45, 0xF1, 0xF3, 0xF2, 0xF6, 0};
    for (size_t i = 0; i < std::size(codes); ++i) record.SetEvent(i, {1, codes[i], 0, 0, 0});

    struct Expected {
        uint32_t language;
        const char16_t* fields[7];
    };
    for (const Expected& expected : {Expected{1, {u"065", u"189", u"240", u"241", u"242", u"246", u"000"}},
                                     Expected{0, {u"065", u"219", u"240", u"241", u"242", u"246", u"000"}}}) {
        LanguageGuard language(expected.language);
        SaveMacroToFile(path, 0);
        for (size_t i = 0; i < std::size(codes); ++i) EXPECT_EQ(StoredCode(path, i), expected.fields[i]) << i;
        g_macroTable[0].codes = {};
        ReadMacroFile(path);
        for (size_t i = 0; i < std::size(codes); ++i) EXPECT_EQ(record.codes[i], codes[i]) << i;
    }
}

TEST_F(MacroLanguageTest, FullRecordsRoundTripInBothLanguages)
{
    const std::u16string path = u"C:\\all.dat";
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        g_macroCount = 12;
        for (size_t i = 0; i < 12; ++i) g_macroTable[i] = FullMacroRecord(u"M" + FormatIniInt(int(i)), kKeys);
        const auto saved = g_macroTable;
        SaveAllMacrosToFile(path);
        Reset();
        ReadMacroFile(path);
        ASSERT_EQ(g_macroCount, 12);
        for (size_t i = 0; i < 12; ++i) EXPECT_TRUE(SameStoredFields(g_macroTable[i], saved[i])) << language << i;
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MacroLanguageTest, AFileWrittenInOneLanguageReadsOtherPunctuationInTheOther)
{
    const std::u16string path = u"C:\\mixed.dat";
    g_macroCount = 1;
    g_macroTable[0].SetEvent(0, {1, 45, 0, 0, 0});  // "-" on the US layout
    {
        LanguageGuard english(1);
        SaveMacroToFile(path, 0);
    }
    LanguageGuard spanish(0);
    ReadMacroFile(path);
    EXPECT_EQ(g_macroTable[0].codes[0], 56);  // VK 0xBD is "-" on the Spanish layout
}

TEST_F(MacroLanguageTest, PlaybackLoaderUsesTheLanguageFolder)
{
    g_skinFolder = u"C:\\prog\\skins";
    const MacroRecord wanted = FullMacroRecord(u"Play", kKeys);
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        g_macroFolder = g_skinFolder + (language ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
        g_macroGroupCount = 1;
        g_macroGroupNames[0] = language ? u"English" : u"Spanish";
        SaveMacroGroups();
        g_macroCount = 1;
        g_macroTable[0] = wanted;
        SaveMacroToFile(GroupFilePath(g_macroFolder, 0), 0);
        g_macroTable[0] = MacroRecord{};

        MacroRecord out{};
        LoadMacroFromFile(out, 0, 0);
        EXPECT_TRUE(SameStoredFields(out, wanted)) << language;
        EXPECT_TRUE(LoadGroupFile(0, true));
        EXPECT_TRUE(SameStoredFields(g_macroTable[0], wanted)) << language;
        LoadGroupMacroNames();
        EXPECT_EQ(g_groupMacroNames[0], u"Play");
    }
    // Each language found its own group.
    EXPECT_TRUE(files.FileExists(u"C:\\prog\\skins\\INI_EN\\macro\\English.dat"));
    EXPECT_TRUE(files.FileExists(u"C:\\prog\\skins\\INI_CN\\macro\\Spanish.dat"));
}
}  // namespace
