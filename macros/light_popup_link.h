#pragma once
// The light-block pop-ups (modes 6 and 7 of the function pop-up) as the macro editor opens and
// closes them from the light list.
#include <windows.h>

#include <cstdint>

constexpr int kLightModePopup = 6;
constexpr int kLightColourPopup = 7;
constexpr int32_t kLightPopupHeight = 360;

// Shared with the pop-ups: the block a choice writes into, and the skin button whose pop-up is open.
extern uint8_t g_lightBlockIndex;
extern int g_popupOwnerButton;

// Opens the pop-up of `mode` owned by `owner` at screen x, y with the given width and height.
void OpenLightPopup(HWND owner, int mode, int32_t x, int32_t y, int32_t width, int32_t height);
// Closes a light pop-up the light list opened; harmless when none is open.
void CloseLightPopup();
