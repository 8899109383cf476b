// The skinned pop-ups and the warning box over the real main window: opened as the presses open
// them, driven with pointer messages at their rows, checked in the settings, in what reached the
// main window and in what was painted.
#include "tests/ui/popups/popups_fixture.h"

namespace {

TEST_F(PopupsTest, MainAndLightingPageModesOpenBelowTheirButtonAndAChosenRowIsStored)
{
    // Mode 0, the profiles, below rectangle 11.
    OpenProfilePopup(*window_);
    ExpectOpen(kMenuProfiles, 4);
    const RECT main = ScreenRect(Window());
    const ButtonPos& profileRect = window_->m_mainPos[11];
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).left, main.left + profileRect.x);
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).top, main.top + profileRect.y + profileRect.height);
    EXPECT_EQ(g_popupOwnerButton, 11);
    HWND popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 2);
    ExpectClosed(popup);
    EXPECT_EQ(g_currentProfile, 1u);
    ASSERT_EQ(spy_.messages.size(), 1u);
    EXPECT_EQ(spy_.messages[0].message, WM_PROFILE_CHOSEN);

    // Mode 1 on a button whose profile keeps another left click: no warning box.
    g_currentProfile = 0;
    OpenFunctionPopup(*window_, 22);
    ExpectOpen(kMenuFunctions, 10);
    EXPECT_EQ(prompts_.warningBoxes, 0);
    EXPECT_EQ(g_popupOwnerButton, 22);
    EXPECT_EQ(g_menuPopupOpen, 1);
    popup = g_pMenuPopup->Handle();
    // Rows 7 to 10 have their own pop-up; a release there stores nothing and keeps it open.
    Choose(*g_pMenuPopup, 7);
    EXPECT_TRUE(IsWindow(popup));
    Choose(*g_pMenuPopup, 5);
    ExpectClosed(popup);
    EXPECT_EQ(g_buttonAssignments[0][2], 5u);

    // Mode 4: row 9 is "Button response".
    OpenLedEffectPopup(*window_);
    ExpectOpen(kMenuLedEffects, 10);
    EXPECT_EQ(g_popupOwnerButton, 35);
    popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 9);
    ExpectClosed(popup);
    EXPECT_EQ(g_ledMode, 8);
    EXPECT_EQ(g_ledType, 8);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);

    // Mode 5 keeps the button it was opened for, although the pointer has left it since.
    g_hoverLedButton = 63;
    OpenReactionPopup(*window_, 63);
    ExpectOpen(kMenuReactionTypes, 4);
    g_hoverLedButton = BUTTON_NONE;
    popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 4);
    ExpectClosed(popup);
    EXPECT_EQ(g_ledReactType[0][2], 3u);
    EXPECT_EQ(spy_.messages.size(), 1u);
}

TEST_F(PopupsTest, MacroPageModesSendTheirMessageWhileThePopupIsHidden)
{
    const PopupPlace place{100, 100, 200, 360};
    ASSERT_EQ(g_macroGroupCount, 3);

    // Mode 2: three groups, three rows.
    OpenMenuPopup(Window(), kMenuMacroGroups, place);
    ExpectOpen(kMenuMacroGroups, 3);
    spy_.watched = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 3);
    ExpectClosed(spy_.watched);
    EXPECT_EQ(g_currentGroup, 2);

    // Mode 3: the file command may open a file dialog; the pop-up is out of the way first.
    OpenMenuPopup(Window(), kMenuFileCommands, place);
    ExpectOpen(kMenuFileCommands, 3);
    spy_.watched = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 1);
    ExpectClosed(spy_.watched);

    // Modes 6 and 7 write the block chosen when they opened.
    g_currentMacro = 0;
    g_lightBlockIndex = 1;
    OpenMenuPopup(Window(), kMenuLightModes, place);
    ExpectOpen(kMenuLightModes, 5);
    g_lightBlockIndex = 200;
    Choose(*g_pMenuPopup, 5);
    g_lightBlockIndex = 1;
    OpenMenuPopup(Window(), kMenuLightColours, place);
    ExpectOpen(kMenuLightColours, 7);
    Choose(*g_pMenuPopup, 3);
    EXPECT_EQ(g_macroTable[0].lightBlocks[1].steps[0].mode, 7);
    EXPECT_EQ(g_macroTable[0].lightBlocks[1].steps[0].colour, 3);

    ASSERT_EQ(spy_.messages.size(), 4u);
    EXPECT_EQ(spy_.messages[0].message, WM_MACROGROUP_CHOSEN);
    EXPECT_EQ(spy_.messages[0].wParam, 0u);
    EXPECT_EQ(spy_.messages[1].message, WM_MACROFILE_COMMAND);
    EXPECT_EQ(spy_.messages[1].wParam, 1u);
    EXPECT_EQ(spy_.messages[2].message, WM_LIGHTMODE_CHOSEN);
    EXPECT_EQ(spy_.messages[2].wParam, 4u);
    EXPECT_EQ(spy_.messages[3].message, WM_LIGHTCOLOUR_CHOSEN);
    EXPECT_EQ(spy_.messages[3].wParam, 3u);
    for (const Received& received : spy_.messages) EXPECT_FALSE(received.senderShown) << received.message;
}

TEST_F(PopupsTest, HoverRowsRepaintOnlyOnChangeAndDrawTheirStrip)
{
    OpenProfilePopup(*window_);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const CMenuDlg& menu = *g_pMenuPopup;
    const HWND popup = menu.Handle();
    const PixelImage normal = SkinPixels(u"\\menu_normal.jpg");
    const PixelImage over = SkinPixels(u"\\menu_over.jpg");
    const PixelImage down = SkinPixels(u"\\menu_down.jpg");
    const int32_t h = menu.RowHeight();
    const POINT inRow2 = DifferingPoint(normal, over, {0, h, 12, h + 6});

    UpdateWindow(popup);
    Send(popup, WM_MOUSEMOVE, RowPoint(menu, 2));
    EXPECT_EQ(g_menuHoverRow, 2);
    EXPECT_TRUE(Invalid(popup));
    UpdateWindow(popup);
    Send(popup, WM_MOUSEMOVE, {RowPoint(menu, 2).x + 3, RowPoint(menu, 2).y + 1});
    EXPECT_FALSE(Invalid(popup));
    PixelImage shown = Capture(popup, menu.Width(), menu.PopupHeight());
    EXPECT_TRUE(Near(PixelAt(shown, inRow2), PixelAt(over, inRow2)));
    EXPECT_TRUE(Near(PixelAt(shown, {inRow2.x, inRow2.y - h}), PixelAt(normal, {inRow2.x, inRow2.y - h})));

    // Held down, the row comes from the pressed image.
    Send(popup, WM_LBUTTONDOWN, RowPoint(menu, 2));
    shown = Capture(popup, menu.Width(), menu.PopupHeight());
    EXPECT_TRUE(Near(PixelAt(shown, inRow2), PixelAt(down, inRow2)));

    // Off every row: no strip at all.
    Send(popup, WM_MOUSEMOVE, {menu.Width() + 4, 2});
    EXPECT_EQ(g_menuHoverRow, BUTTON_NONE);
    EXPECT_TRUE(Invalid(popup));
    shown = Capture(popup, menu.Width(), menu.PopupHeight());
    for (int row = 1; row <= 4; ++row) {
        const POINT point{inRow2.x, inRow2.y + (row - 2) * h};
        EXPECT_TRUE(Near(PixelAt(shown, point), PixelAt(normal, point))) << row;
    }
    // A release on no row keeps the pop-up.
    Send(popup, WM_LBUTTONUP, {menu.Width() + 4, 2});
    EXPECT_TRUE(IsWindowVisible(popup));
}

TEST_F(PopupsTest, TheSecondLevelFollowsTheHoveredRowAndAMediaKeyEndsBothPopups)
{
    OpenFunctionPopup(*window_, 22);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const CMenuDlg& menu = *g_pMenuPopup;
    const HWND menuWindow = menu.Handle();
    const RECT menuRect = ScreenRect(menuWindow);

    Hover(menu, 7);
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    const HWND row7 = g_pSubMenuPopup->Handle();
    EXPECT_EQ(GetWindow(row7, GW_OWNER), menuWindow);
    EXPECT_EQ(ScreenRect(row7).left, menuRect.left + menu.Width());
    EXPECT_EQ(ScreenRect(row7).top, menuRect.top + menu.RowHeight());
    EXPECT_EQ(RegionBox(row7).bottom, 11 * g_pSubMenuPopup->RowHeight() + 1);

    Hover(menu, 8);
    EXPECT_FALSE(IsWindow(row7));
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    // Painting the new level does not make the first one repaint and open it again.
    const HWND opened = g_pSubMenuPopup->Handle();
    Pump();
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_pSubMenuPopup->Handle(), opened);
    EXPECT_EQ(g_subMenuPopupOpen, 1);
    const CSubMenuDlg& subMenu = *g_pSubMenuPopup;
    const HWND subWindow = subMenu.Handle();
    EXPECT_EQ(subMenu.ParentRow(), 8);
    EXPECT_EQ(ScreenRect(subWindow).top, menuRect.top - 2 * menu.RowHeight());
    wchar_t title[32] = {};
    GetWindowTextW(subWindow, title, 32);
    EXPECT_STREQ(title, kSubMenuPopupTitle);

    // A release on the line below the last row stays open.
    Send(subWindow, WM_MOUSEMOVE, {10, 10 * subMenu.RowHeight()});
    Send(subWindow, WM_LBUTTONUP, {10, 10 * subMenu.RowHeight()});
    EXPECT_TRUE(IsWindowVisible(subWindow));

    spy_.watched = subWindow;
    Choose(subMenu, 3);
    EXPECT_EQ(g_buttonAssignments[0][2], 24u);
    EXPECT_FALSE(IsWindow(subWindow));
    ExpectClosed(menuWindow);
    EXPECT_EQ(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_subMenuPopupOpen, 0);
    // The main window painted the choice at once and cleared the flag.
    EXPECT_EQ(g_subMenuChosen, 0);
    ASSERT_FALSE(spy_.watchedAtPaint.empty());
    EXPECT_EQ(spy_.watchedAtPaint.back(), std::make_pair(true, false));
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
}

TEST_F(PopupsTest, AMacroChosenInTheThirdLevelEndsAllThreeAfterItsHandler)
{
    OpenFunctionPopup(*window_, 20);  // the only left click: the warning box goes on
    EXPECT_EQ(prompts_.warningBoxes, 1);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const HWND menuWindow = g_pMenuPopup->Handle();
    Hover(*g_pMenuPopup, 9);
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_subMenuMacroMode, 1);
    EXPECT_EQ(g_subMenuRowCount, 3);
    const HWND subWindow = g_pSubMenuPopup->Handle();
    const RECT subRect = ScreenRect(subWindow);

    Hover(*g_pSubMenuPopup, 1);
    ASSERT_NE(g_pMacroChoicePopup, nullptr);
    const MacSelMenuDlg& choice = *g_pMacroChoicePopup;
    const int macros = g_groupMacroCounts[0];
    ASSERT_GE(macros, 2);
    EXPECT_EQ(choice.GroupRow(), 1);
    EXPECT_EQ(GetWindow(choice.Handle(), GW_OWNER), subWindow);
    EXPECT_EQ(ScreenRect(choice.Handle()).left, subRect.left + g_pSubMenuPopup->Width());
    EXPECT_EQ(ScreenRect(choice.Handle()).top, subRect.top + (1 - macros / 2 - 1) * choice.RowHeight());
    EXPECT_EQ(RegionBox(choice.Handle()).bottom, macros * choice.RowHeight() + 1);
    // Off the group rows the macro choice stays open.
    Send(subWindow, WM_MOUSEMOVE, {g_pSubMenuPopup->Width() + 2, 1});
    UpdateWindow(subWindow);
    ASSERT_NE(g_pMacroChoicePopup, nullptr);

    // The release ends all three from inside the macro choice's handler: the main window
    // paints (and closes the chain) while the pop-ups' windows still exist, hidden.
    const HWND choiceWindow = choice.Handle();
    spy_.watched = choiceWindow;
    Choose(choice, 2);
    EXPECT_EQ(g_buttonAssignments[0][0], MakeFileMacroCode(0, 1));
    EXPECT_EQ(g_buttonAssignments[0][1], 1u);
    ASSERT_FALSE(spy_.watchedAtPaint.empty());
    EXPECT_EQ(spy_.watchedAtPaint.back(), std::make_pair(true, false));
    EXPECT_FALSE(IsWindow(choiceWindow));
    EXPECT_FALSE(IsWindow(subWindow));
    ExpectClosed(menuWindow);
    EXPECT_EQ(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_pMacroChoicePopup, nullptr);
    EXPECT_EQ(g_macroChoicePopupOpen, 0);
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
}

}  // namespace
