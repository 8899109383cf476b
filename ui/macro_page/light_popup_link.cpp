// The light list's pop-ups are function pop-ups in modes 6 and 7, placed by the light list.
#include "ui/macro_page/light_popup_link.h"

#include "ui/popups/popup_openers.h"
#include "ui/popups/popup_state.h"

void OpenLightPopup(HWND owner, int mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    g_menuPopupOpen = 1;
    g_mainWindowRect = ScreenRectOf(owner);
    g_popupPos = {x + 2, y};
    OpenMenuPopup(owner, mode, {g_popupPos.x - 2, g_popupPos.y, width, height});
}

void CloseLightPopup()
{
    if (g_menuPopupOpen == 0) return;
    CloseMenuPopup();
    g_menuPopupOpen = 0;
}
