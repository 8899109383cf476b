#include "ui/popups/menu_dlg.h"

#include "macros/macro_commands.h"
#include "macros/macro_groups.h"
#include "settings/settings_state.h"
#include "ui/popups/popup_state.h"
#include "ui/popups/sub_menu_dlg.h"

namespace {

struct MenuImages {
    const char16_t* mask;
    const char16_t* normal;
    const char16_t* hovered;
    const char16_t* pressed;
};

MenuImages ImagesOf(int mode)
{
    if (mode == kMenuFunctions) return {u"\\menu1_mask.jpg", u"\\menu1_normal.jpg", u"\\menu1_over.jpg", u"\\menu1_down.jpg"};
    if (mode == kMenuFileCommands) return {u"\\more_mask.jpg", u"\\more_normal.jpg", u"\\more_over.jpg", u"\\more_down.jpg"};
    // The light-block pop-ups mark no row with an image.
    if (mode == kMenuLightModes || mode == kMenuLightColours)
        return {u"\\menu_mask.jpg", u"\\menu_normal.jpg", u"\\menu_normal.jpg", u"\\menu_normal.jpg"};
    return {u"\\menu_mask.jpg", u"\\menu_normal.jpg", u"\\menu_over.jpg", u"\\menu_down.jpg"};
}

}  // namespace

BOOL CMenuDlg::OnInitDialog()
{
    View().SetText(kMenuPopupTitle);
    SetGeometry(ImagesOf(mode_).mask, mode_, MenuRowCount(mode_, g_macroGroupCount), 0);
    g_menuHoverRow = BUTTON_NONE;
    g_menuHoverPrevious = BUTTON_NONE;
    // A press on the last pop-up released elsewhere must not leave this one drawn pressed.
    g_menuPressed = 0;
    LoadGroupMacroNames();
    return TRUE;
}

const char16_t* CMenuDlg::BackgroundImage() const { return ImagesOf(mode_).normal; }

void CMenuDlg::DrawItems(HDC dc)
{
    const MenuImages images = ImagesOf(mode_);
    CopyRowStrip(dc, g_menuPressed == 1 ? images.pressed : images.hovered, g_menuHoverRow);
    for (int row = 1; row <= Rows(); ++row) {
        if (mode_ == kMenuLightColours) {
            const RECT band{0, (row - 1) * RowHeight(), Width(), row * RowHeight() - 1};
            BrushOwner brush(CreateSolidBrush(static_cast<COLORREF>(g_ledUserColourRefs[static_cast<size_t>(row - 1)])));
            FillRect(dc, &band, brush.Get());
        } else {
            DrawRowText(dc, row, MenuRowText(mode_, row), row == g_menuHoverRow, mode_);
        }
    }
}

void CMenuDlg::AfterPaint()
{
    if (g_subMenuPopupOpen) ClosePopupLevels(PopupLevel::SubMenu);
    const int row = g_menuHoverRow;
    if (mode_ != kMenuFunctions || row < 7 || row > 10) return;
    g_subMenuMacroMode = row == 9 ? 1 : 0;
    const POINT origin = ScreenOrigin();
    auto popup = std::make_unique<CSubMenuDlg>(row, capture_.assignButtonId, owner_);
    if (PopupDialog* opened = OpenPopup(std::move(popup), Handle()))
        PlaceAndShow(opened->Handle(), origin.x + Width(), SubMenuTop(row, origin.y, RowHeight(), g_macroGroupCount));
}

void CMenuDlg::OnMouseMove(UINT, POINT point) { TrackHover(point, g_menuHoverRow, g_menuHoverPrevious); }

void CMenuDlg::OnLButtonDown(UINT, POINT)
{
    g_menuPressed = 1;
    View().Invalidate(true);
}

void CMenuDlg::OnLButtonUp(UINT, POINT)
{
    g_menuPressed = 0;
    View().Invalidate(true);
    const MenuChoice choice = ApplyMenuChoice(mode_, g_menuHoverRow, capture_);
    if (!choice.chosen) return;
    // The main window's handler may open a modal dialog (a file dialog, a message): out of the
    // way first, so that no second click reaches this pop-up meanwhile.
    ShowWindow(Handle(), SW_HIDE);
    if (choice.message.message != 0)
        SendMessageW(owner_, choice.message.message, choice.message.wParam, choice.message.lParam);
    if (choice.repaintOwner) InvalidateRect(owner_, nullptr, TRUE);
    CloseOwnLevel();
}
