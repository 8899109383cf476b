#include "ui/popups/mac_sel_menu_dlg.h"

#include "ui/popups/popup_rules.h"
#include "ui/popups/popup_state.h"

BOOL MacSelMenuDlg::OnInitDialog()
{
    SetGeometry(u"\\menu_mask.jpg", kMenuFunctions, MacroChoiceRowCount(groupRow_), 1);
    hoverRow_ = BUTTON_NONE;
    hoverPrevious_ = BUTTON_NONE;
    return TRUE;
}

void MacSelMenuDlg::DrawItems(HDC dc)
{
    CopyRowStrip(dc, u"\\menu_over.jpg", hoverRow_);
    for (int row = 1; row <= Rows(); ++row)
        DrawRowText(dc, row, MacroChoiceRowText(groupRow_, row), row == hoverRow_, kMenuFunctions);
}

void MacSelMenuDlg::OnMouseMove(UINT, POINT point) { TrackHover(point, hoverRow_, hoverPrevious_); }

void MacSelMenuDlg::OnLButtonUp(UINT, POINT)
{
    ApplyMacroChoice(groupRow_, hoverRow_, assignButtonId_);
    // A release ends all three pop-ups, whether or not a macro was chosen.
    EndChoice();
}
