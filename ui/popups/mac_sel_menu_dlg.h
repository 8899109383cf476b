#pragma once
// The macro choice pop-up: the macros of one macro group, beside that group's row of the
// second-level pop-up. A release on it binds the macro under the pointer (if any) to the mouse
// button being edited and ends all three pop-ups.
#include <windows.h>

#include "ui/pages/skin_types.h"
#include "ui/popups/popup_chain.h"
#include "ui/resources/resource_ids.h"

class MacSelMenuDlg : public PopupDialog {
public:
    // groupRow: the 1-based group row of the second-level pop-up it was opened for.
    MacSelMenuDlg(int groupRow, int assignButtonId, HWND owner)
        : PopupDialog(IDD_MACRO_CHOICE_POPUP, PopupLevel::MacroChoice, owner), groupRow_(groupRow), assignButtonId_(assignButtonId)
    {
    }

    int GroupRow() const { return groupRow_; }
    int HoverRow() const { return hoverRow_; }

protected:
    BOOL OnInitDialog() override;
    const char16_t* BackgroundImage() const override { return u"\\menu_normal.jpg"; }
    void DrawItems(HDC dc) override;

    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:

    int groupRow_;
    int assignButtonId_;
    int hoverRow_ = BUTTON_NONE;
    int hoverPrevious_ = BUTTON_NONE;
};
