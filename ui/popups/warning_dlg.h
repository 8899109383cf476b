#pragma once
// The warning box: a small skinned box with a message and two buttons, cut out of its mask image
// like the main window. Ends with 1 (the go-on button released under the pointer) or 2 (the
// cancel button, Esc or the system close); Enter does nothing.
#include <windows.h>

#include "ui/popups/skinned_dialog.h"
#include "winlib/image_cache.h"

namespace WarningResult {
constexpr INT_PTR GoOn = 1;
constexpr INT_PTR Cancel = 2;
}  // namespace WarningResult

class WarningDlg : public SkinnedDialog {
public:
    WarningDlg();
    void PaintTo(HDC dc) override;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:

    ImageCache images_;
};

// Runs the warning box modally, owned by `owner`, at g_popupPos; returns its result.
INT_PTR RunWarningBox(HWND owner);
