#pragma once
// The warning box: a small skinned box with a message and two buttons, cut out of its mask image
// like the main window. Ends with 1 (the go-on button released under the pointer) or 2 (the
// cancel button, Esc or the system close); Enter does nothing.
#include <windows.h>

#include "winlib/dialog.h"
#include "winlib/image_cache.h"

namespace WarningResult {
constexpr INT_PTR GoOn = 1;
constexpr INT_PTR Cancel = 2;
}  // namespace WarningResult

class WarningDlg : public Dialog {
public:
    WarningDlg();
    // Paints the box onto `dc` as its paint does.
    void PaintTo(HDC dc);

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    void OnPaint();
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);

    ImageCache images_;
};

// Runs the warning box modally, owned by `owner`, at g_popupPos; returns its result.
INT_PTR RunWarningBox(HWND owner);
