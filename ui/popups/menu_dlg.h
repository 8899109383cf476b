#pragma once
// The function pop-up: a borderless list of choices drawn from skin images, one row per choice,
// whose content depends on its mode (profiles, button functions, macro groups, macro file
// commands, lighting effects, reaction types, light-block modes and colours). In mode 1 a hovered
// row 7 to 10 opens the second-level pop-up beside it.
#include <windows.h>

#include "ui/popups/popup_chain.h"
#include "ui/popups/popup_rules.h"
#include "ui/resources/resource_ids.h"

inline constexpr wchar_t kMenuPopupTitle[] = L"MainMenuDlg";

class CMenuDlg : public PopupDialog {
public:
    // mode: g_menuMode as the opener set it; capture: what a choice writes (popup_rules.h).
    CMenuDlg(int mode, HWND owner, const MenuCapture& capture)
        : PopupDialog(IDD_MENU_POPUP, PopupLevel::Menu, owner), mode_(mode), capture_(capture)
    {
    }

    int Mode() const { return mode_; }

protected:
    BOOL OnInitDialog() override;
    const char16_t* BackgroundImage() const override;
    void DrawItems(HDC dc) override;
    // Every repaint closes the second-level pop-up and, over rows 7 to 10 of mode 1, opens a
    // fresh one beside the hovered row.
    void AfterPaint() override;

    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:

    int mode_;
    MenuCapture capture_;
};
