#include "ui/popups/sub_menu_dlg.h"

#include "macros/macro_groups.h"
#include "ui/popups/mac_sel_menu_dlg.h"
#include "ui/popups/popup_rules.h"
#include "ui/popups/popup_state.h"

BOOL CSubMenuDlg::OnInitDialog()
{
    View().SetText(kSubMenuPopupTitle);
    g_subMenuRowCount = SubMenuRowCount(parentRow_, g_macroGroupCount);
    // One line below the last row belongs to the window but to no row.
    SetGeometry(u"\\menu_mask.jpg", kMenuFunctions, g_subMenuRowCount, 1);
    g_subMenuHoverRow = BUTTON_NONE;
    g_subMenuHoverPrevious = BUTTON_NONE;
    g_subMenuChosen = 0;
    pressed_ = 0;
    return TRUE;
}

void CSubMenuDlg::DrawItems(HDC dc)
{
    CopyRowStrip(dc, u"\\menu_down.jpg", g_subMenuHoverRow);
    for (int row = 1; row <= Rows(); ++row)
        DrawRowText(dc, row, SubMenuRowText(parentRow_, row), row == g_subMenuHoverRow, kMenuFunctions);
}

void CSubMenuDlg::AfterPaint()
{
    const int group = g_subMenuHoverRow;
    // Off the group rows an open macro choice stays, so the pointer can travel into it.
    if (parentRow_ != 9 || group < 1 || group > Rows()) return;
    ClosePopupLevels(PopupLevel::MacroChoice);
    const POINT origin = ScreenOrigin();
    auto popup = std::make_unique<MacSelMenuDlg>(group, assignButtonId_, owner_);
    if (PopupDialog* opened = OpenPopup(std::move(popup), Handle()))
        PlaceAndShow(opened->Handle(), origin.x + Width(), MacroChoiceTop(group, origin.y, RowHeight()));
}

void CSubMenuDlg::OnMouseMove(UINT, POINT point) { TrackHover(point, g_subMenuHoverRow, g_subMenuHoverPrevious); }

void CSubMenuDlg::OnLButtonDown(UINT, POINT)
{
    pressed_ = 1;
    View().Invalidate(true);
}

void CSubMenuDlg::OnLButtonUp(UINT, POINT)
{
    // The macro groups' choice is made in the macro choice pop-up.
    if (parentRow_ == 9 || g_subMenuHoverRow == BUTTON_NONE) return;
    pressed_ = 0;
    if (!ApplySubMenuChoice(parentRow_, g_subMenuHoverRow, assignButtonId_)) return;
    g_subMenuChosen = 1;
    EndChoice();
}
