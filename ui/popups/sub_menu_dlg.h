#pragma once
// The second-level pop-up beside rows 7 to 10 of the function pop-up: further functions, media
// keys, macro groups and constant macros. A function chosen here is stored for the mouse button
// being edited and ends both pop-ups; a hovered macro group opens the macro choice pop-up.
#include <windows.h>

#include "ui/popups/popup_chain.h"
#include "ui/resources/resource_ids.h"

inline constexpr wchar_t kSubMenuPopupTitle[] = L"SubMenuDlg";

class CSubMenuDlg : public PopupDialog {
public:
    // parentRow: the function pop-up's row 7 to 10 it belongs to; assignButtonId: the mouse
    // button (main-layout id 20..28) the function pop-up was opened for.
    CSubMenuDlg(int parentRow, int assignButtonId, HWND owner)
        : PopupDialog(IDD_SUB_MENU_POPUP, PopupLevel::SubMenu, owner), parentRow_(parentRow), assignButtonId_(assignButtonId)
    {
    }

    int ParentRow() const { return parentRow_; }

protected:
    BOOL OnInitDialog() override;
    const char16_t* BackgroundImage() const override { return u"\\menu_normal.jpg"; }
    void DrawItems(HDC dc) override;
    // Over a macro group row, a fresh macro choice pop-up for that group.
    void AfterPaint() override;

    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:

    int parentRow_;
    int assignButtonId_;
    uint8_t pressed_ = 0;
};
