#pragma once
// The light-block pop-ups (modes 6 and 7 of the function pop-up) as the macro editor opens and
// closes them from the light list. The block a choice writes into (g_lightBlockIndex) and the
// skin button whose pop-up is open (g_popupOwnerButton) are the pop-ups' own state.
#include <windows.h>

#include <cstdint>

#include "ui/popups/popup_state.h"

constexpr int32_t kLightPopupHeight = 360;

// Opens the pop-up of `mode` owned by `owner` with its left edge at screen x, its top at y.
void OpenLightPopup(HWND owner, int mode, int32_t x, int32_t y, int32_t width, int32_t height);
// Closes a light pop-up the light list opened; harmless when none is open.
void CloseLightPopup();
