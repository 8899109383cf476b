#pragma once
// The macro page's control rectangles as the platform places controls: filled by the macro
// layout's loader, read when the controls and the window's repaint region are made.
#include <windows.h>

extern RECT g_groupNameEditRect;
extern RECT g_macroNameEditRect;
extern RECT g_repeatCountEditRect;
extern RECT g_macroListRect;
extern RECT g_eventListRect;
extern RECT g_lightListRect;
