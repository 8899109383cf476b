#include "ui/pages/skin_layout.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/ini_value.h"
#include "settings/settings_state.h"
#include "tests/recording_prompts.h"
#include "tests/ui/pages/layout_fixtures.h"
#include "ui/pages/skin_layout_record.h"

namespace {

class SkinLayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSettingsState();
        g_skinFolder = u"C:\\prog\\skins";
        g_languageEnglish = 1;
    }
    void TearDown() override { ResetSettingsState(); }

    RecordingPrompts prompts;
    MemoryLayoutFiles files;
};

TEST(LayoutRecord, SplitsAtTheFirstSixCommas)
{
    struct Row {
        std::u16string value;
        LayoutFields fields;
        bool tooMany;
    };
    const Row rows[] = {
        {u"", {}, false},
        {u"Left click", {u"Left click"}, false},
        {u"lbl,10,20,30,40,Text,", {u"lbl", u"10", u"20", u"30", u"40", u"Text", u""}, false},
        {u"lbl,10,20,30,40,Text,rest", {u"lbl", u"10", u"20", u"30", u"40", u"Text", u"rest"}, false},
        {u"a,1,2,3,4,T,x,y", {u"a", u"1", u"2", u"3", u"4", u"T", u"x,y"}, true},
        {u",,,,,,,,", {u"", u"", u"", u"", u"", u"", u",,"}, true},
        {u"Name,with comma", {u"Name", u"with comma"}, false},
        {u"a,1,2", {u"a", u"1", u"2"}, false},
        {u" x , -5 ,+7,9z,,Ñandú,", {u" x ", u" -5 ", u"+7", u"9z", u"", u"Ñandú", u""}, false},
    };
    for (const Row& row : rows) {
        const LayoutRecord record = SplitLayoutRecord(row.value);
        EXPECT_EQ(record.fields, row.fields) << std::string(row.value.begin(), row.value.end());
        EXPECT_EQ(record.tooManyCommas, row.tooMany);
    }
    EXPECT_EQ(LayoutRecordPos(SplitLayoutRecord(u" x , -5 ,+7,9z,,T,").fields), (ButtonPos{-5, 7, 9, 0}));
    EXPECT_EQ(ToSkinRect({10, 20, 30, 40}), (SkinRect{10, 20, 40, 60}));
    EXPECT_EQ(ToSkinRect({2147483000, -2147483000, 1000, -1000}), (SkinRect{2147483000, -2147483000, 2147483647, -2147483648}));
}

TEST(LayoutRecord, ReadsIntoTheFixedBufferAndWarnsOfSurplusCommas)
{
    RecordingPrompts prompts;
    MemoryIniFile ini(u"[S]\n1=" + std::u16string(300, u'x') + u"\n2=a,1,2,3,4,T,x,y\n");
    LayoutFields fields;
    ReadIniRecord(ini, u"S", 1, fields);
    EXPECT_EQ(fields[0], std::u16string(kLayoutValueChars - 1, u'x'));
    EXPECT_TRUE(prompts.shown.empty());
    ReadIniRecord(ini, u"S", 2, fields);
    EXPECT_EQ(fields[6], u"x,y");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"加载ini错误！");
    ReadIniRecord(ini, u"S", 3, fields);
    EXPECT_EQ(fields, LayoutFields{});
}

TEST_F(SkinLayoutTest, LoadsEveryTableOfTheCurrentLanguage)
{
    std::u16string main = u"[BUTTONPOS]\n0=hide,1,2,3,4,Hide,\n28=b9,5,6,7,8,Button 9,\n[FUN_STRING]\n1=Left click\n";
    for (int key = 18; key <= 21; ++key) main += FormatIniInt(key) + u"=Profile " + FormatIniInt(key - 17) + u",x\n";
    main += u"47=Last\n";
    files.files[u"C:\\prog\\skins\\INI_EN\\skin_main_en.ini"] = main;
    files.files[u"C:\\prog\\skins\\INI_CN\\skin_main.ini"] = u"[FUN_STRING]\n1=Clic izquierdo\n";
    files.files[u"C:\\prog\\skins\\INI_EN\\skin_mac_en.ini"] =
        u"[BUTTONPOS]\n5=rec,100,200,50,20,Record,\n[EDIT]\n0=g,1,2,3,4,,\n1=m,5,6,7,8,,\n2=r,9,10,11,12,,\n"
        u"[MACRODISPLAY]\n1=l,20,30,40,50,,\n2=e,1,1,1,1,,\n3=x,0,0,2,2,,\n";
    files.files[u"C:\\prog\\skins\\INI_EN\\skin_advance_en.ini"] = u"[BUTTONPOS]\n137=last,1,2,3,4,T,\n";
    files.files[u"C:\\prog\\skins\\INI_EN\\skin_color_en.ini"] = u"[BUTTONPOS]\n102=last,4,3,2,1,L,\n";
    files.files[u"C:\\prog\\skins\\INI_EN\\LBWarning_en.ini"] = u"[BUTTONPOS]\n2=msg,0,0,300,80,Sure?,\n";

    LayoutTableSet t;
    auto& [mainPos, mainText, advancedPos, advancedText, ledPos, ledText, macroPos, macroText, controls] = t;
    mainPos[1] = {9, 9, 9, 9};
    mainText[1] = u"stale";
    ASSERT_TRUE(t.LoadPages(files));
    ASSERT_TRUE(LoadWarningLayout(files));
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_EQ(mainPos[0], (ButtonPos{1, 2, 3, 4}));
    EXPECT_EQ(mainText[0], u"Hide");
    EXPECT_EQ(mainPos[28], (ButtonPos{5, 6, 7, 8}));
    EXPECT_EQ(mainText[28], u"Button 9");
    EXPECT_EQ(mainPos[1], (ButtonPos{}));  // a missing key is overwritten with nothing
    EXPECT_EQ(mainText[1], u"");
    EXPECT_EQ(g_functionNames[0], u"");
    EXPECT_EQ(g_functionNames[1], u"Left click");
    EXPECT_EQ(g_functionNames[47], u"Last");
    EXPECT_EQ(g_profileNames, (std::array<std::u16string, 4>{u"Profile 1", u"Profile 2", u"Profile 3", u"Profile 4"}));
    EXPECT_EQ(advancedPos[137], (ButtonPos{1, 2, 3, 4}));
    EXPECT_EQ(ledText[102], u"L");
    EXPECT_EQ(macroText[5], u"Record");
    EXPECT_EQ(controls, (MacroControlRects{SkinRect{1, 2, 4, 6}, {5, 6, 12, 14}, {9, 10, 20, 22}, {20, 30, 60, 80},
                                            {1, 1, 2, 2}, {0, 0, 2, 2}}));
    EXPECT_EQ(g_warningPos[2], (ButtonPos{0, 0, 300, 80}));
    EXPECT_EQ(g_warningTexts[2], u"Sure?");

    // Spanish reads the other folder; a missing file empties its tables and is reported to the
    // window, which shows the one message and ends.
    g_languageEnglish = 0;
    EXPECT_TRUE(LoadSkinMainLayout(files, mainPos, mainText));
    EXPECT_EQ(g_functionNames[1], u"Clic izquierdo");
    EXPECT_EQ(g_profileNames[0], u"");
    EXPECT_FALSE(LoadSkinMacroLayout(files, macroPos, macroText, controls));
    EXPECT_FALSE(LoadWarningLayout(files));
    EXPECT_EQ(macroText[5], u"");
    EXPECT_EQ(controls[kMacroListRect], (SkinRect{}));
    EXPECT_EQ(g_warningTexts[2], u"");
    files.files.clear();
    EXPECT_FALSE(LoadSkinMainLayout(files, mainPos, mainText));
    EXPECT_EQ(g_functionNames[1], u"");
    EXPECT_EQ(mainPos[0], (ButtonPos{}));
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
