// The pop-ups' openers for the main window's presses, and the main window's part in closing them.
#include "ui/popups/popup_openers.h"

#include <algorithm>
#include <mutex>

#include "base/user_prompts.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/pages/saturating_sum.h"
#include "ui/popups/menu_dlg.h"
#include "ui/popups/popup_chain.h"
#include "ui/window/main_window.h"

namespace {

CMenuDlg* OpenMenuPopupFor(HWND owner, int mode, const PopupPlace& place, const MenuCapture& capture)
{
    g_menuMode = mode;
    auto* menu = static_cast<CMenuDlg*>(OpenPopup(std::make_unique<CMenuDlg>(mode, owner, capture), owner));
    if (menu == nullptr) return nullptr;
    MoveWindow(menu->Handle(), place.x, place.y, place.width, place.height, TRUE);
    ShowWindow(menu->Handle(), SW_SHOW);
    return menu;
}

// Below a skin rectangle of the main window, as a screen point.
ScreenPoint BelowRect(const ButtonPos& rect)
{
    return {SaturatingSum(g_mainWindowRect.left, rect.x),
            SaturatingSum(g_mainWindowRect.top, SaturatingSum(rect.y, rect.height))};
}

}  // namespace

CMenuDlg* OpenMenuPopup(HWND owner, int mode, const PopupPlace& place)
{
    return OpenMenuPopupFor(owner, mode, place, CaptureMenuTarget(mode));
}

void CloseMenuPopup() { ClosePopupLevels(PopupLevel::Menu); }

bool MenuPopupShown() { return PopupWindow(PopupLevel::Menu) != nullptr; }

void TakeSubMenuChoice()
{
    if (g_subMenuChosen == 0) return;
    g_subMenuChosen = 0;
    if (ShownPage() == kPageMain) CloseMenuPopup();
}

SkinRect ScreenRectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void OpenProfilePopup(CTEV_KestraDlg& window)
{
    constexpr size_t kProfileButton = 11;
    g_popupOwnerButton = kProfileButton;
    g_mainWindowRect = ScreenRectOf(window.Handle());
    const ButtonPos& rect = window.m_mainPos[kProfileButton];
    const ScreenPoint at = BelowRect(rect);
    OpenMenuPopup(window.Handle(), kMenuProfiles, {at.x, at.y, rect.width, 300});
}

void OpenFunctionPopup(CTEV_KestraDlg& window, int buttonId)
{
    if (buttonId < 20 || buttonId > 28) return;
    g_assignButtonId = buttonId;
    g_mainWindowRect = ScreenRectOf(window.Handle());
    const ButtonPos& rect = window.m_mainPos[static_cast<size_t>(buttonId)];
    g_popupPos = BelowRect(rect);
    bool otherLeftClick = false;
    bool firstProfile = false;
    {
        std::lock_guard lock(g_settingsMutex);
        firstProfile = g_currentProfile == 0;
        if (g_currentProfile < kProfileCount) {
            const auto& row = g_buttonAssignments[g_currentProfile];
            for (size_t button = 0; button < row.size(); ++button) {
                if (button != static_cast<size_t>(buttonId - 20) && row[button] == AssignmentCodes::kLeftClick)
                    otherLeftClick = true;
            }
        }
    }
    g_menuPopupOpen = 1;
    if (!otherLeftClick && firstProfile && GetPrompts().ShowWarningBox() == WarningAnswer::Cancel) {
        g_menuPopupOpen = 0;
    } else {
        OpenMenuPopup(window.Handle(), kMenuFunctions, {SaturatingSum(g_popupPos.x, 1), g_popupPos.y, SaturatingSum(rect.width, 1), 360});
    }
    g_popupOwnerButton = buttonId;
}

void OpenLedEffectPopup(CTEV_KestraDlg& window)
{
    constexpr size_t kEffectButton = 35;
    g_popupOwnerButton = kEffectButton;
    g_menuPopupOpen = 1;
    g_mainWindowRect = ScreenRectOf(window.Handle());
    const ButtonPos& rect = window.m_ledPos[kEffectButton];
    g_popupPos = BelowRect(rect);
    OpenMenuPopup(window.Handle(), kMenuLedEffects, {g_popupPos.x, g_popupPos.y, rect.width, 360});
}

void OpenReactionPopup(CTEV_KestraDlg& window, int ledButtonId)
{
    if (ledButtonId < 61 || ledButtonId > 69) return;
    g_mainWindowRect = ScreenRectOf(window.Handle());
    const ButtonPos& rect = window.m_ledPos[static_cast<size_t>(ledButtonId)];
    const ScreenPoint at = BelowRect(rect);
    MenuCapture capture;
    capture.ledButtonId = ledButtonId;
    OpenMenuPopupFor(window.Handle(), kMenuReactionTypes, {SaturatingSum(at.x, -3), at.y, SaturatingSum(rect.width, 1), 300}, capture);
}
