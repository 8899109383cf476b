#pragma once
// The function pop-up: a borderless list of choices drawn from skin images, one row per choice,
// whose content depends on g_menuMode (profiles, button functions, macro groups, macro file
// commands, lighting effects, reaction types, light-block modes and colours). In mode 1 a hovered
// row 7 to 10 opens the second-level pop-up beside it.
#include <windows.h>

#include <string>

#include "ui/popup_chain.h"
#include "ui/popup_rules.h"
#include "winlib/image_cache.h"

inline constexpr wchar_t kMenuPopupTitle[] = L"MainMenuDlg";

class CMenuDlg : public PopupDialog {
public:
    // mode: g_menuMode as the opener set it; owner: the window the choice messages go to.
    CMenuDlg(int mode, HWND owner, const MenuCapture& capture);

    int Mode() const { return mode_; }
    int32_t Width() const { return width_; }
    int32_t RowHeight() const { return rowHeight_; }
    int32_t PopupHeight() const { return popupHeight_; }
    // The row under a client point, BUTTON_NONE for none.
    int HitTest(POINT point) const;
    // Paints the pop-up onto `dc` as its paint does (captures of the window use it).
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
    // Closes the second-level pop-up and, over rows 7 to 10 of mode 1, opens a fresh one.
    void FollowHoveredRow();
    const ImageBitmap* Image(const char16_t* name);

    int mode_;
    HWND owner_;
    MenuCapture capture_;
    ImageCache images_;
    int32_t width_ = 0;
    int32_t rowHeight_ = 0;
    int32_t popupHeight_ = 0;
};
