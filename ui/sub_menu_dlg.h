#pragma once
// The second-level pop-up beside rows 7 to 10 of the function pop-up: further functions, media
// keys, macro groups and constant macros. A function chosen here is stored for the mouse button
// being edited and ends both pop-ups; a hovered macro group opens the macro choice pop-up.
#include <windows.h>

#include "ui/popup_chain.h"
#include "winlib/image_cache.h"

inline constexpr wchar_t kSubMenuPopupTitle[] = L"SubMenuDlg";

class CSubMenuDlg : public PopupDialog {
public:
    // parentRow: the function pop-up's row 7 to 10 it belongs to; owner: the main window.
    CSubMenuDlg(int parentRow, int assignButtonId, HWND owner);

    int ParentRow() const { return parentRow_; }
    int32_t Width() const { return width_; }
    int32_t RowHeight() const { return rowHeight_; }
    int32_t PopupHeight() const { return popupHeight_; }
    int HitTest(POINT point) const;
    void PaintTo(HDC dc);

protected:
    INT_PTR OnPopupMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    void OnPaint();
    void DrawItems(HDC dc);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    // Over a group row, a fresh macro choice pop-up for it.
    void FollowHoveredGroup();

    int parentRow_;
    int assignButtonId_;
    HWND owner_;
    ImageCache images_;
    uint8_t pressed_ = 0;
    int32_t width_ = 0;
    int32_t rowHeight_ = 0;
    int32_t popupHeight_ = 0;
};
