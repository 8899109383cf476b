// The lines of the macro page's lists, in both languages, and what its edits accept.
#include <gtest/gtest.h>

#include "macros/macro_page_rules.h"
#include "macros/macro_page_text.h"
#include "tests/settings/language_guard.h"

namespace {

struct EventLine {
    uint8_t code;
    uint8_t action;
    uint16_t x;
    uint16_t y;
    const char16_t* english;
    const char16_t* spanish;
};

const EventLine kEventLines[] = {
    {0xF6, 3, 12, 7, u"[X-]:12,[Y-]:7", u"[X-]:12,[Y-]:7"},
    {0xF6, 4, 1, 2, u"[X-]:1,[Y+]:2", u"[X-]:1,[Y+]:2"},
    {0xF6, 5, 100, 0, u"[X+]:100,[Y-]:0", u"[X+]:100,[Y-]:0"},
    {0xF6, 6, 65535, 3, u"[X+]:65535,[Y+]:3", u"[X+]:65535,[Y+]:3"},
    {0xF6, 1, 1, 1, u"[X]:eeror,[Y]:eeror", u"[X]:eeror,[Y]:eeror"},
    {0xF8, 9, 1, 0, u"[DPI]:200 ", u"[DPI]:200 "},
    {0xF8, 9, 6, 0, u"[DPI]:1200 ", u"[DPI]:1200 "},
    {0xF8, 9, 8, 0, u"[DPI]:1600 ", u"[DPI]:1600 "},
    {0xF8, 9, 10, 0, u"[DPI]:2000 ", u"[DPI]:2000 "},
    {0xF8, 9, 12, 0, u"[DPI]:2400 ", u"[DPI]:2400 "},
    {0xF8, 9, 15, 0, u"[DPI]:4800 ", u"[DPI]:4800 "},
    {0xF8, 9, 0, 0, u"[DPI]:800 ", u"[DPI]:800 "},
    {0xF8, 9, 16, 0, u"[DPI]:800 ", u"[DPI]:800 "},
    {0xF8, 10, 0, 0, u"[DPI]:Reset", u"[DPI]:Reset"},
    {0xF8, 1, 0, 0, u"[DPI]:Error", u"[DPI]:Error"},
    {0xF9, 13, 0, 0, u"LED-0 ", u"LED-0 "},
    {0xF9, 15, 4, 0, u"LED-4 ", u"LED-4 "},
    {0xF9, 12, 0, 0, u"[LED0/1/2]:error", u"[LED0/1/2]:error"},
    {0x00, 7, 0, 0, u"[Delay]", u"[Delay]"},
    {0xF1, 1, 0, 0, u"[↓]Left button ", u"[↓]Botón Izquierdo"},
    {0xF3, 2, 0, 0, u"[↑]Right button", u"[↑]Botón Derecho"},
    {0xF2, 0, 0, 0, u"Middle button", u"Botón Medio"},
    {4, 1, 0, 0, u"[↓]A", u"[↓]A"},
    {29, 2, 0, 0, u"[↑]Z", u"[↑]Z"},
    {58, 1, 0, 0, u"[↓]F1", u"[↓]F1"},
};

TEST(MacroPageText, EveryEventLineInBothLanguages)
{
    for (uint32_t language : {1u, 0u}) {
        LanguageGuard guard(language);
        for (const EventLine& row : kEventLines) {
            const MacroEvent event{row.action, row.code, row.x, row.y, 0};
            EXPECT_EQ(MacroEventLineText(event), language ? row.english : row.spanish)
                << int(row.code) << " " << int(row.action) << " language " << language;
        }
    }
    EXPECT_EQ(MacroDelayLineText(0), u"    0ms");
    EXPECT_EQ(MacroDelayLineText(65535), u"    65535ms");
}

TEST(MacroPageText, EventListKeepsEventsEvenAndDelaysOddWithoutTheLastDelay)
{
    LanguageGuard guard(1);
    MacroRecord record{};
    EXPECT_TRUE(MacroEventListLines(record).empty());
    record.eventCount = 1;
    record.SetEvent(0, {1, 4, 0, 0, 50});
    EXPECT_EQ(MacroEventListLines(record), std::vector<std::u16string>{u"[↓]A"});
    record.eventCount = 3;
    record.SetEvent(1, {2, 4, 0, 0, 70});
    record.SetEvent(2, {9, 0xF8, 8, 0, 90});
    const std::vector<std::u16string> lines = {u"[↓]A", u"    50ms", u"[↑]A", u"    70ms", u"[DPI]:1600 "};
    EXPECT_EQ(MacroEventListLines(record), lines);
    EXPECT_EQ(MacroEventLines(record, 2), (std::vector<std::u16string>{u"    70ms", u"[DPI]:1600 "}));
    EXPECT_TRUE(MacroEventLines(record, 3).empty());
    record.eventCount = 60000;  // a count past the arrays stops at their end
    EXPECT_EQ(MacroEventListLines(record).size(), 2 * kMaxMacroEvents - 1);
}

TEST(MacroPageText, LightListLinesAndTheStepTheyLeave)
{
    const std::array<std::u16string, 9> english = {u"Breathing", u"Constantly", u"Comet tail", u"Neon", u"Ambilight",
                                                   u"Cycle breath", u"Flow water", u"Comet tail", u"Single water"};
    const std::array<std::u16string, 9> spanish = {u"Respiración", u"Color constante", u"Flujo simple", u"Neon",
                                                   u" Arco Iris", u"Respiración en ciclo", u"Flujo de agua",
                                                   u"Cola de cometa", u"Flujo simple"};
    struct Row {
        uint8_t steps, mode, colour, time;
        std::vector<std::u16string> en, es;
        uint8_t modeAfter, colourAfter;
    };
    const Row rows[] = {
        {0, 3, 0, 0, {u"[LEN     ]:0"}, {u"[LEN     ]:0"}, 3, 0},
        {1, 4, 0, 25,
         {u"[LEN     ]:1", u"[Mode]:Ambilight", u"[Colour]:Define", u"[Time]:2s"},
         {u"[LEN     ]:1", u"[Modo]: Arco Iris", u"[Colour]:Define", u"[Duration]:2s"}, 7, 1},
        {1, 1, 3, 9,
         {u"[LEN     ]:1", u"[Mode]:Breathing", u"[Colour]:Colour3", u"[Time]:0s"},
         {u"[LEN     ]:1", u"[Modo]:Respiración", u"[Colour]:Colour3", u"[Duration]:0s"}, 1, 3},
        {2, 6, 5, 255,
         {u"[LEN     ]:2", u"[Mode]:Neon", u"[Colour]:Define", u"[Time]:25s"},
         {u"[LEN     ]:2", u"[Modo]:Neon", u"[Colour]:Define", u"[Duration]:25s"}, 6, 5},
        {1, 9, 7, 30,
         {u"[LEN     ]:1", u"[Mode]:Cycle breath", u"[Colour]:Colour7", u"[Time]:3s"},
         {u"[LEN     ]:1", u"[Modo]:Respiración en ciclo", u"[Colour]:Colour7", u"[Duration]:3s"}, 9, 7},
        {1, 2, 1, 10,
         {u"[LEN     ]:1", u"[Mode]:Constantly", u"[Colour]:Colour1", u"[Time]:1s"},
         {u"[LEN     ]:1", u"[Modo]:Color constante", u"[Colour]:Colour1", u"[Duration]:1s"}, 2, 1},
    };
    for (const Row& row : rows) {
        for (bool isEnglish : {true, false}) {
            LightBlock block{};
            block.stepCount = row.steps;
            block.steps[0] = {row.mode, row.colour, row.time, 0};
            const LightBlockLines shown = ShowLightBlock(block, isEnglish, isEnglish ? english : spanish);
            EXPECT_EQ(shown.lines, isEnglish ? row.en : row.es) << int(row.mode);
            EXPECT_EQ(shown.mode, row.modeAfter);
            EXPECT_EQ(block.steps[0].mode, row.modeAfter);
            EXPECT_EQ(block.steps[0].colour, row.colourAfter);
        }
    }
}

TEST(MacroPageRules, GroupAndMacroNamesTheEditsTake)
{
    struct Row {
        std::u16string text;
        bool groupRejected;
    };
    const Row rows[] = {
        {u"Ab", false},         {u"A b", false},        {u"", true},          {u"   ", true},
        {u" Ab", true},         {u"Ab ", true},         {u"a\\b", true},      {u"a/b", true},
        {u"..", true},          {u".x", true},          {u"x.", true},        {u"a:b", true},
        {u"a*b", true},         {u"a?b", true},         {u"a\"b", true},      {u"a<b", true},
        {u"a>b", true},         {u"a|b", true},         {u"a\tb", true},      {u"CON", true},
        {u"nul", true},         {u"com1", true},        {u"LPT9", true},      {u"COM0", false},
        {u"CONSOLE", false},    {u"a.b", false},        {u"Más", false},
        {u"ABCDEFGHIJKLMNOPQRST", false},  {u"ABCDEFGHIJKLMNOPQRSTU", true},
        {std::u16string(20, u' '), true},
    };
    for (const Row& row : rows) EXPECT_EQ(GroupNameTextRejected(row.text, u"Zz"), row.groupRejected) << "'" << std::string(row.text.begin(), row.text.end()) << "'";
    // One blank before or behind the last accepted name is taken back; inside it is a new name.
    EXPECT_TRUE(GroupNameTextRejected(u" Ab", u"Ab"));
    EXPECT_FALSE(GroupNameTextRejected(u"A b", u"Ab"));

    EXPECT_TRUE(MacroNameTextRejected(u""));
    EXPECT_TRUE(MacroNameTextRejected(u"         "));
    EXPECT_TRUE(MacroNameTextRejected(u"TenLetters"));
    EXPECT_FALSE(MacroNameTextRejected(u"NineChars"));
    EXPECT_FALSE(MacroNameTextRejected(u" x"));
}

TEST(MacroPageRules, RepeatCountsSaturate)
{
    struct Row {
        std::u16string text;
        uint16_t value;
        bool rewrite;
    };
    const Row rows[] = {
        {u"0", 1, true},        {u"", 1, true},           {u"abc", 1, true},  {u"-4", 1, true},
        {u"1", 1, false},       {u"65535", 65535, false}, {u"65536", 65535, true},
        {u"123456789012345678901234567890", 65535, true},  {u"12ab", 12, false}, {u" 7", 7, false},
    };
    for (const Row& row : rows) {
        const RepeatCountInput input = ReadRepeatCount(row.text);
        EXPECT_EQ(input.value, row.value) << std::string(row.text.begin(), row.text.end());
        EXPECT_EQ(input.rewrite, row.rewrite) << std::string(row.text.begin(), row.text.end());
    }
}

TEST(MacroPageRules, ImportedFileNames)
{
    EXPECT_EQ(ImportGroupName(u"Foo.dat"), u"Foo");
    EXPECT_EQ(ImportGroupName(u"Foo.DAT"), u"");
    EXPECT_EQ(ImportGroupName(u".dat"), u"");
    EXPECT_EQ(ImportGroupName(u"x.dat.bak"), u"x");
    EXPECT_EQ(ImportGroupName(u"noext"), u"");
}

TEST(MacroPageRules, AssignmentsFollowDeletedMacrosAndGroups)
{
    const uint32_t g1m0 = MakeFileMacroCode(1, 0), g1m2 = MakeFileMacroCode(1, 2), g1m3 = MakeFileMacroCode(1, 3);
    const uint32_t g0m2 = MakeFileMacroCode(0, 2), g2m2 = MakeFileMacroCode(2, 2), g3m5 = MakeFileMacroCode(3, 5);
    ProfileButtonTable table{};
    table[0] = {1, g1m0, g1m2, g1m3, g0m2, g2m2, 40, 32, 75};
    table[3] = {g1m3, 0, 0, 0, 0, 0, 0, 0, g3m5};

    ProfileButtonTable afterMacro = table;
    EXPECT_TRUE(FollowDeletedMacro(afterMacro, 1, 2));
    EXPECT_EQ(afterMacro[0], (std::array<uint32_t, 9>{1, g1m0, 0, MakeFileMacroCode(1, 2), g0m2, g2m2, 40, 32, 75}));
    EXPECT_EQ(afterMacro[3][0], MakeFileMacroCode(1, 2));
    ProfileButtonTable unchanged = table;
    EXPECT_FALSE(FollowDeletedMacro(unchanged, 5, 0));
    EXPECT_EQ(unchanged, table);

    ProfileButtonTable afterGroup = table;
    EXPECT_TRUE(FollowDeletedGroup(afterGroup, 1));
    EXPECT_EQ(afterGroup[0], (std::array<uint32_t, 9>{1, 0, 0, 0, g0m2, MakeFileMacroCode(1, 2), 40, 32, 75}));
    EXPECT_EQ(afterGroup[3], (std::array<uint32_t, 9>{0, 0, 0, 0, 0, 0, 0, 0, MakeFileMacroCode(2, 5)}));
}

}  // namespace
