// Until the pop-ups are part of the program, the light list opens none.
#include "macros/light_popup_link.h"

uint8_t g_lightBlockIndex = 0;
int g_popupOwnerButton = 255;

void OpenLightPopup(HWND, int, int32_t, int32_t, int32_t, int32_t) {}
void CloseLightPopup() {}
