// The main window's left-button press and release: the steps every page shares, the main page's
// pop-ups and the buttons that act on release.
#include "base/user_prompts.h"
#include "settings/config_ini_file.h"
#include "settings/profile_reset.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/popups/popup_openers.h"
#include "ui/window/main_window.h"
#include "ui/window/web_page.h"

namespace {

bool IsFunctionButton(int id) { return id >= 20 && id <= 28; }
bool IsTab(int id) { return id >= 6 && id <= 9; }
bool IsFrameButton(int id) { return id >= 0 && id <= 10; }

// The pop-ups that stay open over the press that opened them: the profile and function pop-ups,
// the macro page's group pop-up and the lighting-effect pop-up.
bool KeepsPopupOwner(uint8_t page)
{
    if (page == kPageMacro) return g_hoverMacroButton == 1;
    if (page == kPageLighting) return g_hoverLedButton == 35;
    return g_hoverMainButton == 11 || IsFunctionButton(g_hoverMainButton);
}

// A second press on the button whose pop-up is open.
bool PressOnPopupOwner(uint8_t page)
{
    if (g_popupOwnerButton == BUTTON_NONE) return false;
    if (page == kPageMacro && g_popupOwnerButton == g_hoverMacroButton) return true;
    if (page == kPageLighting && g_popupOwnerButton == g_hoverLedButton) return true;
    // A frame button opens no pop-up: its id equal to an owner of another layout (the macro
    // page's group button is 1, like the close button) must not swallow its press.
    return !IsFrameButton(g_hoverMainButton) && g_popupOwnerButton == g_hoverMainButton;
}

bool AnyButtonHovered()
{
    return g_hoverMainButton != BUTTON_NONE || g_hoverAdvancedButton != BUTTON_NONE ||
           g_hoverMacroButton != BUTTON_NONE || g_hoverLedButton != BUTTON_NONE;
}

// The page's own hover id: whether the press hit one of the page's buttons.
int PageButtonHovered(uint8_t page)
{
    switch (page) {
    case kPageAdvanced: return g_hoverAdvancedButton;
    case kPageMacro: return g_hoverMacroButton;
    case kPageLighting: return g_hoverLedButton;
    default: return g_hoverMainButton;
    }
}

}  // namespace

bool CTEV_KestraDlg::RecordingAllowsClick()
{
    if (g_recording == 0) return true;
    if (g_hoverMacroButton == 5 || g_hoverMainButton == 0 || g_hoverMainButton == 1) return true;
    if (g_hoverMainButton == BUTTON_NONE && g_hoverMacroButton == BUTTON_NONE) return true;
    ShowMessage(g_languageEnglish == 1 ? u"Recording !" : u"Grabando !", MessageStyle::Ok);
    return false;
}

void CTEV_KestraDlg::OnLButtonDown(UINT, POINT point)
{
    m_pressedMainButton = BUTTON_NONE;
    if (!RecordingAllowsClick()) return;
    if (PressOnPopupOwner(g_page)) return;
    m_pressedMainButton = g_hoverMainButton;
    if (AnyButtonHovered()) {
        g_buttonDown = 1;
        View().Invalidate(true);
    }
    CloseMenuPopup();

    const uint8_t page = g_page;
    if (IsTab(g_hoverMainButton)) {
        OnTabPress(g_hoverMainButton);
    } else {
        switch (page) {
        case kPageMain: OnMainPagePress(point); break;
        case kPageAdvanced: OnAdvancedPagePress(point); break;
        case kPageMacro: OnMacroPagePress(point); break;
        case kPageLighting: OnLedPagePress(point); break;
        default: break;
        }
    }
    // A press that ended the window (a pop-up's command) leaves nothing to drag.
    if (Handle() == nullptr) return;

    const uint8_t shown = g_page;
    if (PageButtonHovered(shown) == BUTTON_NONE && g_hoverMainButton == BUTTON_NONE) {
        PostMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    }
    if (!KeepsPopupOwner(shown)) g_popupOwnerButton = BUTTON_NONE;
}

void CTEV_KestraDlg::OnMainPagePress(POINT)
{
    if (g_hoverMainButton == 11) {
        OpenProfilePopup(*this);
    } else if (IsFunctionButton(g_hoverMainButton)) {
        OpenFunctionPopup(*this, g_hoverMainButton);
    }
}

void CTEV_KestraDlg::OnLButtonUp(UINT, POINT)
{
    if (!RecordingAllowsClick()) return;
    g_buttonDown = 0;
    View().Invalidate(true);
    // Only the release of a press that started on the same button in this window acts: the
    // second release of a double click in a file dialog arrives here with no press.
    const int button = g_hoverMainButton;
    const bool pressedHere = button != BUTTON_NONE && button == m_pressedMainButton;
    m_pressedMainButton = BUTTON_NONE;
    if (!pressedHere) return;

    switch (button) {
    case 0:
    case 1:
        g_hoverMainButton = BUTTON_NONE;
        StopRecordingBeforeHiding();
        View().Show(SW_MINIMIZE);
        AddTrayIcon();
        if (button == 1) OnClose();
        break;
    case 2: {
        g_hoverMainButton = BUTTON_NONE;
        ConfigIniFile ini(g_configIniPath);
        StoreAndLoadFrameProfile(ini);
        View().Show(SW_MINIMIZE);
        AddTrayIcon();
        View().Invalidate(true);
        break;
    }
    case 3:
        RequestApply();
        break;
    case 4:
        SwitchToSpanish();
        break;
    case 5:
        SwitchToEnglish();
        break;
    case 12:
        ImportConfig();
        break;
    case 13:
        ExportConfig();
        break;
    case 14: {
        ConfigIniFile ini(g_configIniPath);
        if (!ResetProfile(ini)) ShowMessage(u"Error!", MessageStyle::Ok);
        View().Invalidate(true);
        break;
    }
    case 19:
        g_openWebPage(kVendorWebPage);
        break;
    default:
        break;
    }
}
