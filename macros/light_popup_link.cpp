// The light list's pop-ups are function pop-ups in modes 6 and 7.
#include "macros/light_popup_link.h"

#include "ui/popup_openers.h"

void OpenLightPopup(HWND owner, int mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    OpenMenuPopup(owner, mode, PopupPlace{x, y, width, height});
}

void CloseLightPopup() { CloseMenuPopup(); }
