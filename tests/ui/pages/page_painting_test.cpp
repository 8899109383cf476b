#include "ui/pages/page_painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <span>

#include "macros/macro_record.h"
#include "settings/settings_state.h"
#include "tests/ui/pages/layout_fixtures.h"
#include "ui/pages/page_state.h"
#include "ui/pages/saturating_sum.h"

namespace {

// Layout tables where id i of every page lies at x = i * 10 (page tables) or 1000 + i * 10 (main).
class PagePaintingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSettingsState();
        ResetPageState();
        g_languageEnglish = 1;
        for (size_t i = 0; i < set.mainPos.size(); ++i) set.mainPos[i] = {1000 + static_cast<int32_t>(i) * 10, 0, 10, 10};
        Fill(set.advancedPos);
        Fill(set.ledPos);
        Fill(set.macroPos);
        for (size_t i = 0; i < set.mainText.size(); ++i) set.mainText[i] = u"main" + std::u16string(1, u'a' + i % 26);
        for (auto& text : set.ledText) text = u"led";
        tables = set.View();
    }
    void TearDown() override
    {
        ResetSettingsState();
        ResetPageState();
        g_currentMacro = 0;
        g_macroTable[0].loopMode = 0;
    }

    template <size_t N>
    static void Fill(std::array<ButtonPos, N>& table)
    {
        for (size_t i = 0; i < N; ++i) table[i] = {static_cast<int32_t>(i) * 10, 100, 10, 20};
    }

    // The copies of a plan as (look, rectangle x).
    static std::vector<std::pair<SkinLook, int32_t>> Copies(const PaintPlan& plan)
    {
        std::vector<std::pair<SkinLook, int32_t>> copies;
        for (const PaintOp& op : plan) {
            if (op.kind == PaintOp::Kind::Copy) copies.emplace_back(op.source, op.rect.x);
        }
        return copies;
    }
    static bool HasCopy(const PaintPlan& plan, SkinLook look, const ButtonPos& rect)
    {
        return std::any_of(plan.begin(), plan.end(), [&](const PaintOp& op) {
            return op.kind == PaintOp::Kind::Copy && op.source == look && op.rect == rect;
        });
    }
    static const PaintOp* TextAt(const PaintPlan& plan, int32_t x)
    {
        for (const PaintOp& op : plan) {
            if (op.kind == PaintOp::Kind::Text && op.rect.x == x) return &op;
        }
        return nullptr;
    }

    LayoutTableSet set;
    SkinTables tables;
};

TEST_F(PagePaintingTest, ExtremeLayoutNumbersPlanEveryPageAtTheRangesEnds)
{
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    for (const int32_t edge : {kMin, kMax}) {
        for (std::span<ButtonPos> table : {std::span<ButtonPos>(set.mainPos), std::span<ButtonPos>(set.advancedPos),
                            std::span<ButtonPos>(set.ledPos), std::span<ButtonPos>(set.macroPos)}) {
            std::fill(table.begin(), table.end(), ButtonPos{edge, edge, edge, edge});
        }
        for (auto& text : set.macroText) text = u"macro";
        for (auto& text : set.advancedText) text = u"1";
        g_dpiBarPos.fill(137);
        for (uint8_t page = 0; page < kSkinPageCount; ++page) {
            g_page = page;
            g_ledMode = 3;
            const PaintPlan plan = PlanPage(tables, page);
            EXPECT_FALSE(plan.empty());
            for (const PaintOp& op : plan) {
                // Held at the ends, never wrapped round to the other one.
                EXPECT_LE(std::llabs(int64_t{op.rect.x} - edge), 3) << int(page);
            }
        }
    }
    EXPECT_EQ(DpiSegmentFillRect({kMax, kMax, kMin, kMin}), (ButtonPos{kMax, kMax, kMin, kMin}));
    EXPECT_EQ(DpiSegmentFillRect({kMax - 1, kMin, kMin + 2, kMax}), (ButtonPos{kMax, kMin + 1, kMin, kMax - 1}));
}

TEST(PaintArithmetic, BarsSegmentsCoversAndNames)
{
    struct Bar {
        int64_t value, full;
        int32_t width, fill;
    };
    const Bar bars[] = {
        {150, 300, 200, 100}, {300, 300, 200, 200}, {301, 300, 200, 200}, {0, 300, 200, 0},
        {11, 10, 99, 99},     {5, 10, 99, 49},      {-3, 7, 70, 0},       {7, 7, 70, 70},
        {6, 6, 0, 0},         {1, 6, -5, 0},        {1, 0, 10, 0},        {300, 300, 2147483647, 2147483647},
    };
    for (const Bar& bar : bars) EXPECT_EQ(BarFillWidth(bar.value, bar.full, bar.width), bar.fill) << bar.value << "/" << bar.full;

    EXPECT_EQ(LastFilledDpiSegment(0, 66), 66);
    EXPECT_EQ(LastFilledDpiSegment(0, 77), 77);
    EXPECT_EQ(LastFilledDpiSegment(0, 255), 77);   // never into the next level's segments
    EXPECT_EQ(LastFilledDpiSegment(5, 0), 125);     // below the first: none
    EXPECT_EQ(LastFilledDpiSegment(5, 137), 137);
    EXPECT_EQ(DpiSegmentFillRect({10, 20, 30, 40}), (ButtonPos{11, 21, 28, 39}));

    EXPECT_EQ(std::vector<uint8_t>(LedCoverIds(3).begin(), LedCoverIds(3).end()), (std::vector<uint8_t>{71}));
    EXPECT_EQ(std::vector<uint8_t>(LedCoverIds(9).begin(), LedCoverIds(9).end()),
              (std::vector<uint8_t>{50, 71, 72, 73, 74, 75}));
    EXPECT_TRUE(LedCoverIds(10).empty());
    EXPECT_FALSE(LedTextBlanked(3, 98));
    EXPECT_TRUE(LedTextBlanked(2, 98));
    EXPECT_TRUE(LedTextBlanked(0, 15));
    EXPECT_FALSE(LedTextBlanked(1, 15));
    EXPECT_TRUE(LedTextBlanked(2, 39));
    EXPECT_FALSE(LedTextBlanked(0, 39));
    EXPECT_TRUE(LedTextBlanked(4, 34));
    EXPECT_FALSE(LedTextBlanked(4, 33));
    EXPECT_TRUE(LedTextBlanked(7, 33));
    EXPECT_FALSE(LedTextBlanked(3, 30));
    EXPECT_FALSE(LedTextBlanked(200, 15));

    EXPECT_EQ(CentredOffset(100, 41), 29);
    EXPECT_EQ(CentredOffset(10, 41), -15);

    ResetSettingsState();
    g_languageEnglish = 1;
    g_functionNames[1] = u"Left";
    g_groupMacroNames[2] = u"Macro two";
    g_groupMacroNames[9 * 12 + 11] = u"Last macro";
    EXPECT_EQ(AssignmentDisplayName(1), u"Left");
    EXPECT_EQ(AssignmentDisplayName(0), u"");
    EXPECT_EQ(AssignmentDisplayName(258), u"Macro two");
    EXPECT_EQ(AssignmentDisplayName(0x0A0B), u"Last macro");
    EXPECT_EQ(AssignmentDisplayName(0x0B00), u"");  // group 11 does not exist
    EXPECT_EQ(AssignmentDisplayName(0x010C), u"");  // nor macro 12
    EXPECT_EQ(AssignmentDisplayName(0x10000), u"");
    EXPECT_EQ(AssignmentDisplayName(70 + 44), u"A");  // a keyboard key shows the key's name
    EXPECT_EQ(AssignmentDisplayName(60), u"");
    EXPECT_EQ(AssignmentDisplayName(0xFFFFFFFF), u"");
    ResetSettingsState();
}

TEST_F(PagePaintingTest, MainPageShowsTabLanguageAndButtonNames)
{
    g_languageEnglish = 0;
    g_currentProfile = 2;
    g_profileNames[2] = u"Perfil 3";
    g_functionNames[5] = u"Adelante";
    g_buttonAssignments[2][3] = 5;
    g_buttonAssignments[2][4] = 70 + 16;  // '2'
    g_buttonAssignments[2][5] = 200;       // no name
    g_hoverMainButton = 23;
    const PaintPlan plan = PlanPage(tables, kPageMain);
    EXPECT_EQ(Copies(plan), (std::vector<std::pair<SkinLook, int32_t>>{
                                {SkinLook::Hovered, 1230}, {SkinLook::Pressed, 1040}, {SkinLook::Pressed, 1060}}));
    EXPECT_EQ(TextAt(plan, 1110)->text, u"Perfil 3");
    EXPECT_EQ(TextAt(plan, 1230)->text, u"Adelante");
    EXPECT_EQ(TextAt(plan, 1230)->colour, MakeColorRef(255, 0, 0));
    EXPECT_EQ(TextAt(plan, 1240)->text, u"2");
    EXPECT_EQ(TextAt(plan, 1240)->colour, MakeColorRef(255, 255, 255));
    EXPECT_EQ(TextAt(plan, 1250), nullptr);
    EXPECT_FALSE(TextAt(plan, 1010)->largeFont);
    EXPECT_TRUE(TextAt(plan, 1020)->largeFont);
    EXPECT_TRUE(TextAt(plan, 1100)->largeFont);  // the large font stays selected

    // A held frame button shows pressed; English shows button 5; page 3's tab.
    g_languageEnglish = 1;
    g_hoverMainButton = 3;
    g_buttonDown = 1;
    PaintPlan frame;
    PlanFrameButtons(frame, set.mainPos, 9, TakePaintSettings());
    EXPECT_EQ(Copies(frame), (std::vector<std::pair<SkinLook, int32_t>>{
                                 {SkinLook::Pressed, 1030}, {SkinLook::Pressed, 1050}, {SkinLook::Pressed, 1090}}));
}

TEST_F(PagePaintingTest, AdvancedPageDrawsDpiLevelsBarsAndNumbers)
{
    g_page = kPageAdvanced;
    g_dpiLevel = 2;
    g_dpiColourRefs[0] = MakeColorRef(255, 0, 0);
    g_dpiBarPos[0] = 66 + 3;
    g_dpiBarPos[1] = 500;  // out of range: level 1's twelve segments, no more
    g_dpiBarPos[2] = 0;
    g_dpiSetEnabled[0] = 1;
    g_pointerSpeed = 11;
    g_wheelSpeed = 5;
    g_fireTime = 150;
    g_hoverAdvancedButton = 31;
    g_buttonDown = 1;
    const PaintPlan plan = PlanPage(tables, kPageAdvanced);
    EXPECT_TRUE(HasCopy(plan, SkinLook::Hovered, set.advancedPos[31]));  // a held bar keeps its hovered look
    EXPECT_TRUE(HasCopy(plan, SkinLook::Pressed, set.advancedPos[62]));
    EXPECT_TRUE(HasCopy(plan, SkinLook::Pressed, set.advancedPos[47]));
    EXPECT_FALSE(HasCopy(plan, SkinLook::Pressed, set.advancedPos[48]));
    EXPECT_TRUE(HasCopy(plan, SkinLook::Pressed, (ButtonPos{10, 100, 10, 20})));   // pointer 11 of 10: whole
    EXPECT_TRUE(HasCopy(plan, SkinLook::Pressed, (ButtonPos{180, 100, 5, 20})));   // wheel 5 of 10: half
    EXPECT_TRUE(HasCopy(plan, SkinLook::Pressed, (ButtonPos{310, 100, 5, 20})));   // fire 150 of 300: half
    std::vector<int32_t> level0, level1, level2;
    for (const PaintOp& op : plan) {
        if (op.kind != PaintOp::Kind::Fill) continue;
        if (op.rect.x == 411) {
            EXPECT_EQ(op.colour, MakeColorRef(255, 0, 0));
        }
        const int id = (op.rect.x - 1) / 10;
        if (id >= 66 && id < 78) level0.push_back(id);
        if (id >= 78 && id < 90) level1.push_back(id);
        if (id >= 90 && id < 102) level2.push_back(id);
    }
    EXPECT_EQ(level0, (std::vector<int32_t>{66, 67, 68, 69}));
    EXPECT_EQ(level1.size(), 12u);
    EXPECT_TRUE(level2.empty());
    EXPECT_EQ(TextAt(plan, 20)->text, u"11");
    EXPECT_EQ(TextAt(plan, 320)->text, u"150ms");
    EXPECT_EQ(set.advancedText[32], u"150ms");
    EXPECT_EQ(TextAt(plan, 320)->colour, MakeColorRef(255, 255, 255));
}

TEST_F(PagePaintingTest, MacroAndLightingPagesFollowTheirState)
{
    g_recording = 1;
    g_currentMacro = 0;
    g_macroTable[0].loopMode = 0x05;  // play mode 1
    const PaintPlan macro = PlanPage(tables, kPageMacro);
    EXPECT_EQ(Copies(macro), (std::vector<std::pair<SkinLook, int32_t>>{
                                 {SkinLook::Pressed, 50}, {SkinLook::Pressed, 110}, {SkinLook::Pressed, 1050}, {SkinLook::Pressed, 1080}}));
    EXPECT_EQ(TextAt(macro, 47)->text, u"Stop");
    EXPECT_EQ(TextAt(macro, 47)->colour, MakeColorRef(1, 255, 246));

    g_ledMode = g_ledType = 3;
    g_ledTypeNames[3] = u"Wave";
    g_ledBrightness = 9;  // beyond the darkest: no fill
    g_ledCycleTime = 2;
    g_ledDirection = 7;   // no such direction
    g_cycleColourEnabled = {1, 0, 0, 0, 0, 0, 1};
    g_ledUserColourEnabled = 1;
    g_ledUserColourRefs[6] = MakeColorRef(1, 2, 3);
    g_currentProfile = 1;
    g_ledReactEnabled[1][8] = 1;
    g_hoverLedButton = 20;
    g_buttonDown = 1;
    const PaintPlan led = PlanPage(tables, kPageLighting);
    EXPECT_TRUE(HasCopy(led, SkinLook::Hovered, set.ledPos[20]));
    EXPECT_TRUE(HasCopy(led, SkinLook::Pressed, (ButtonPos{410, 100, 5, 20})));  // speed 2 of 0..5
    EXPECT_FALSE(HasCopy(led, SkinLook::Pressed, (ButtonPos{400, 100, 0, 20})));
    EXPECT_TRUE(HasCopy(led, SkinLook::Pressed, set.ledPos[7]));
    EXPECT_TRUE(HasCopy(led, SkinLook::Pressed, set.ledPos[13]));
    EXPECT_TRUE(HasCopy(led, SkinLook::Pressed, set.ledPos[59]));
    EXPECT_TRUE(HasCopy(led, SkinLook::Pressed, set.ledPos[14]));
    EXPECT_TRUE(HasCopy(led, SkinLook::Cover, set.ledPos[71]));
    EXPECT_FALSE(HasCopy(led, SkinLook::Cover, set.ledPos[50]));
    const auto fill = std::find_if(led.begin(), led.end(), [](const PaintOp& op) { return op.kind == PaintOp::Kind::Fill; });
    ASSERT_NE(fill, led.end());
    EXPECT_EQ(fill->rect, set.ledPos[0]);
    EXPECT_EQ(std::count_if(led.begin(), led.end(), [](const PaintOp& op) { return op.kind == PaintOp::Kind::Fill; }), 2);
    EXPECT_EQ(TextAt(led, 350)->text, u"Wave");
    EXPECT_NE(TextAt(led, 980), nullptr);
    EXPECT_EQ(TextAt(led, 400)->rect.width, -20);  // centred left of the bar's number place

    g_ledMode = g_ledType = 8;
    g_ledReactType[1][0] = 2;
    g_ledReactType[1][1] = 9;
    const PaintPlan effect8 = PlanPage(tables, kPageLighting);
    EXPECT_EQ(TextAt(effect8, 980), nullptr);
    EXPECT_EQ(TextAt(effect8, 150), nullptr);
    EXPECT_EQ(TextAt(effect8, 610)->text, u"Comet tail");
    EXPECT_EQ(TextAt(effect8, 620)->text, u"led");
}

}  // namespace
