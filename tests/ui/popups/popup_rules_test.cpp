#include "ui/popups/popup_rules.h"

#include <gtest/gtest.h>

#include "macros/macro_groups.h"
#include "macros/macro_record.h"
#include "settings/settings_state.h"
#include "tests/tools/program_state.h"
#include "ui/pages/page_state.h"
#include "ui/window/window_messages.h"

namespace {

class PopupRulesTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        ResetProgramState();
        ResetPageState();
        ResetPopupState();
    }
};

using Row = std::array<ButtonAssignmentCode, kMouseButtonCount>;

TEST_F(PopupRulesTest, ChoicesStoreTheCodeAndKeepALeftClickOnTheFirstProfileOnly)
{
    struct Case {
        const char* what;
        uint32_t profile;
        Row before;
        int level;  // 1 function pop-up, 2 second level (parent 8 or 7), 3 macro choice
        int parentOrGroup;
        int row;
        int assignButtonId;
        Row after;
    };
    g_macroGroupCount = 3;
    g_groupMacroCounts = {2, 1, 12};
    const Row onlyButton3 = {2, 2, 2, 1, 2, 2, 2, 2, 2};
    const Row onlyButton8 = {2, 2, 2, 2, 2, 2, 2, 2, 1};
    const Case cases[] = {
        {"guard gives the next button", 0, onlyButton3, 1, 0, 2, 23, {2, 2, 2, 2, 1, 2, 2, 2, 2}},
        {"the last button keeps it", 0, onlyButton8, 1, 0, 2, 28, onlyButton8},
        {"no guard on profile 2", 1, onlyButton3, 1, 0, 2, 23, {2, 2, 2, 2, 2, 2, 2, 2, 2}},
        {"another left click stays", 0, {1, 2, 2, 1, 2, 2, 2, 2, 2}, 1, 0, 5, 23, {1, 2, 2, 5, 2, 2, 2, 2, 2}},
        {"media key row 3", 1, onlyButton3, 2, 8, 3, 22, {2, 2, 24, 1, 2, 2, 2, 2, 2}},
        {"sub-function on the only left click", 0, onlyButton3, 2, 7, 11, 23, {2, 2, 2, 21, 1, 2, 2, 2, 2}},
        {"row 10's last code", 1, onlyButton3, 2, 10, 8, 20, {39, 2, 2, 1, 2, 2, 2, 2, 2}},
        {"first macro of group 1", 1, onlyButton3, 3, 1, 1, 20, {256, 2, 2, 1, 2, 2, 2, 2, 2}},
        {"twelfth macro of group 3", 1, onlyButton3, 3, 3, 12, 20, {779, 2, 2, 1, 2, 2, 2, 2, 2}},
        {"macro on button 8 is not kept", 0, onlyButton8, 3, 1, 2, 28, onlyButton8},
        {"no macro row: guard only", 0, {2, 2, 2, 2, 2, 2, 2, 2, 2}, 3, 2, 2, 24, {2, 2, 2, 2, 2, 1, 2, 2, 2}},
        {"group past the count", 1, onlyButton3, 3, 4, 1, 20, onlyButton3},
        {"row 7 of the function pop-up", 1, onlyButton3, 1, 0, 7, 20, onlyButton3},
        {"no mouse button captured", 0, onlyButton3, 1, 0, 2, BUTTON_NONE, onlyButton3},
        {"no mouse button in the second level", 0, onlyButton3, 2, 8, 1, 0, onlyButton3},
        {"no mouse button in the macro choice", 0, onlyButton3, 3, 1, 1, 255, onlyButton3},
    };
    for (const Case& c : cases) {
        g_currentProfile = c.profile;
        g_buttonAssignments[c.profile] = c.before;
        MenuCapture capture;
        capture.assignButtonId = c.assignButtonId;
        if (c.level == 1) ApplyMenuChoice(kMenuFunctions, c.row, capture);
        if (c.level == 2) ApplySubMenuChoice(c.parentOrGroup, c.row, c.assignButtonId);
        if (c.level == 3) ApplyMacroChoice(c.parentOrGroup, c.row, c.assignButtonId);
        EXPECT_EQ(g_buttonAssignments[c.profile], c.after) << c.what;
    }
}

TEST_F(PopupRulesTest, EachModeWritesItsSettingAndNamesItsMessage)
{
    g_macroGroupCount = 3;
    g_currentGroup = 1;
    g_currentMacro = 4;

    MenuChoice choice = ApplyMenuChoice(kMenuProfiles, 3, {});
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(g_currentProfile, 2u);
    EXPECT_EQ(choice.message.message, WM_PROFILE_CHOSEN);

    EXPECT_FALSE(ApplyMenuChoice(kMenuMacroGroups, 4, {}).chosen);
    EXPECT_EQ(g_currentGroup, 1);
    choice = ApplyMenuChoice(kMenuMacroGroups, 3, {});
    // The open group changes with its table, when the window opens the choice.
    EXPECT_EQ(g_currentGroup, 1);
    EXPECT_EQ(g_chosenMacroGroup, 2);
    EXPECT_EQ(choice.message.message, WM_MACROGROUP_CHOSEN);
    EXPECT_EQ(choice.message.wParam, 1u);
    EXPECT_EQ(choice.message.lParam, 4);

    choice = ApplyMenuChoice(kMenuFileCommands, 2, {});
    EXPECT_EQ(choice.message.message, WM_MACROFILE_COMMAND);
    EXPECT_EQ(choice.message.wParam, 2u);

    g_hoverLedButton = 35;
    g_popupOwnerButton = 35;
    choice = ApplyMenuChoice(kMenuLedEffects, 9, {});
    EXPECT_EQ(g_ledMode, 8);
    EXPECT_EQ(g_ledType, 8);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
    EXPECT_TRUE(choice.repaintOwner);
    EXPECT_EQ(choice.message.message, 0u);

    // The reaction type goes to the button captured at the opening, whatever is hovered now.
    MenuCapture capture;
    capture.ledButtonId = 63;
    g_hoverLedButton = BUTTON_NONE;
    EXPECT_TRUE(ApplyMenuChoice(kMenuReactionTypes, 4, capture).chosen);
    EXPECT_EQ(g_ledReactType[2][2], 3u);
    capture.ledButtonId = BUTTON_NONE;
    EXPECT_FALSE(ApplyMenuChoice(kMenuReactionTypes, 2, capture).chosen);
    capture.ledButtonId = 70;
    EXPECT_FALSE(ApplyMenuChoice(kMenuReactionTypes, 2, capture).chosen);
    capture.ledButtonId = 60;
    EXPECT_FALSE(ApplyMenuChoice(kMenuReactionTypes, 2, capture).chosen);
    EXPECT_EQ(g_ledReactType[2], (std::array<uint32_t, 9>{0, 0, 3, 0, 0, 0, 0, 0, 0}));
    // The first and the last reaction button.
    capture.ledButtonId = 61;
    EXPECT_TRUE(ApplyMenuChoice(kMenuReactionTypes, 2, capture).chosen);
    capture.ledButtonId = 69;
    EXPECT_TRUE(ApplyMenuChoice(kMenuReactionTypes, 3, capture).chosen);
    EXPECT_EQ(g_ledReactType[2], (std::array<uint32_t, 9>{1, 0, 3, 0, 0, 0, 0, 0, 2}));
    g_ledReactType[2] = {0, 0, 3, 0, 0, 0, 0, 0, 0};

    capture.macroSlot = 1;
    capture.lightBlock = 2;
    choice = ApplyMenuChoice(kMenuLightModes, 4, capture);
    EXPECT_EQ(g_macroTable[1].lightBlocks[2].steps[0].mode, 6);
    EXPECT_EQ(choice.message.message, WM_LIGHTMODE_CHOSEN);
    EXPECT_EQ(choice.message.wParam, 3u);
    choice = ApplyMenuChoice(kMenuLightColours, 7, capture);
    EXPECT_EQ(g_macroTable[1].lightBlocks[2].steps[0].colour, 7);
    EXPECT_EQ(choice.message.message, WM_LIGHTCOLOUR_CHOSEN);
    EXPECT_EQ(choice.message.wParam, 7u);
    // A block or slot past the macro's arrays is not written.
    capture.lightBlock = kLightBlockCount;
    EXPECT_FALSE(ApplyMenuChoice(kMenuLightModes, 1, capture).chosen);
    capture.lightBlock = 0;
    capture.macroSlot = kMacroTableSlots;
    EXPECT_FALSE(ApplyMenuChoice(kMenuLightColours, 1, capture).chosen);

    for (int mode = 0; mode < kMenuModeCount + 1; ++mode) {
        EXPECT_FALSE(ApplyMenuChoice(mode, BUTTON_NONE, capture).chosen) << mode;
        EXPECT_FALSE(ApplyMenuChoice(mode, 0, capture).chosen) << mode;
    }
}

TEST_F(PopupRulesTest, RowsPlacesAndNamesStayInsideTheirTables)
{
    // Rows: band [(r - 1) h, r h), right and bottom edges outside.
    EXPECT_EQ(RowAt(0, 0, 180, 26, 4), 1);
    EXPECT_EQ(RowAt(179, 25, 180, 26, 4), 1);
    EXPECT_EQ(RowAt(10, 26, 180, 26, 4), 2);
    EXPECT_EQ(RowAt(10, 104, 180, 26, 4), BUTTON_NONE);
    EXPECT_EQ(RowAt(180, 10, 180, 26, 4), BUTTON_NONE);
    EXPECT_EQ(RowAt(-1, 10, 180, 26, 4), BUTTON_NONE);
    EXPECT_EQ(RowAt(10, 10, 180, 0, 4), BUTTON_NONE);
    EXPECT_EQ(RowTextY(2, 26, 13), 32);
    EXPECT_EQ(RowTextY(1, 10, 13), -1);
    EXPECT_EQ(MenuTextX(kMenuProfiles, 180, 60), 52);
    EXPECT_EQ(MenuTextX(kMenuLedEffects, 180, 60), 38);
    EXPECT_EQ(MenuTextX(kMenuFunctions, 180, 61), 59);
    EXPECT_EQ(MenuTextX(kMenuFunctions, 100, 141), -20);
    EXPECT_EQ(MenuRowHeight(kMenuProfiles, 390), 39);
    EXPECT_EQ(MenuRowHeight(kMenuFileCommands, 90), 30);
    EXPECT_EQ(MenuRowHeight(kMenuLightColours, 390), 26);

    // Second level beside rows 7 to 10; with five groups row 9's opens six rows down.
    EXPECT_EQ(SubMenuTop(7, 100, 28, 5), 128);
    EXPECT_EQ(SubMenuTop(8, 100, 28, 5), 44);
    EXPECT_EQ(SubMenuTop(9, 100, 28, 5), 100 + 6 * 28);
    EXPECT_EQ(SubMenuTop(10, 100, 28, 5), 156);
    EXPECT_EQ(SubMenuRowCount(7, 3), 11);
    EXPECT_EQ(SubMenuRowCount(8, 3), 10);
    EXPECT_EQ(SubMenuRowCount(9, 0), 0);
    EXPECT_EQ(SubMenuRowCount(10, 3), 8);
    EXPECT_EQ(SubMenuCode(7, 12), 0u);
    EXPECT_EQ(SubMenuCode(9, 1), 0u);

    // Seven macros in the third group: one row above the second level's top.
    g_macroGroupCount = 3;
    g_groupMacroCounts = {0, 40, 7};
    g_macroGroupNames[2] = u"Third";
    g_groupMacroNames[2 * 12] = u"m1";
    EXPECT_EQ(MacroChoiceTop(3, 200, 26), 174);
    EXPECT_EQ(MacroChoiceRowCount(1), 0);
    EXPECT_EQ(MacroChoiceRowCount(2), 12);
    EXPECT_EQ(MacroChoiceRowText(3, 1), u"m1");
    EXPECT_EQ(SubMenuRowText(9, 3), u"Third");
    // A group row that names no group (the pointer on no row) reads no table.
    for (int group : {0, 4, 11, BUTTON_NONE}) {
        EXPECT_EQ(MacroChoiceRowCount(group), 0) << group;
        EXPECT_EQ(MacroChoiceRowText(group, 1), u"") << group;
        EXPECT_EQ(SubMenuRowText(9, group), u"") << group;
        EXPECT_EQ(MenuRowText(kMenuMacroGroups, group), u"") << group;
    }
    g_languageEnglish = 0;
    EXPECT_EQ(MenuRowText(kMenuFileCommands, 3), u"Reiniciar");
    EXPECT_EQ(MenuRowText(kMenuFileCommands, 4), u"");
    EXPECT_EQ(MenuRowText(kMenuLightColours, 1), u"");
}

}  // namespace
