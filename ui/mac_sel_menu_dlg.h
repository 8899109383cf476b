#pragma once
// The macro choice pop-up: the macros of one macro group, beside that group's row of the
// second-level pop-up. A release on it binds the macro under the pointer (if any) to the mouse
// button being edited and ends all three pop-ups.
#include <windows.h>

#include "ui/popup_chain.h"
#include "winlib/image_cache.h"

class MacSelMenuDlg : public PopupDialog {
public:
    // groupRow: the 1-based group row of the second-level pop-up it was opened for.
    MacSelMenuDlg(int groupRow, int assignButtonId, HWND owner);

    int GroupRow() const { return groupRow_; }
    int32_t Width() const { return width_; }
    int32_t RowHeight() const { return rowHeight_; }
    int32_t PopupHeight() const { return popupHeight_; }
    int HoverRow() const { return hoverRow_; }
    int HitTest(POINT point) const;
    void PaintTo(HDC dc);

protected:
    INT_PTR OnPopupMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    void OnPaint();
    void DrawItems(HDC dc);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);

    int groupRow_;
    int assignButtonId_;
    HWND owner_;
    ImageCache images_;
    int32_t width_ = 0;
    int32_t rowHeight_ = 0;
    int32_t popupHeight_ = 0;
    int hoverRow_ = 255;
    int hoverPrevious_ = 255;
};
