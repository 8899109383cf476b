#pragma once
// Placeholders for the layout tables and painting until they land (skin_layout*, page_painting*):
// whoever brings them removes this header and pending_layout_paint.cpp.
#include <windows.h>

#include <array>
#include <string>

#include "ui/skin_types.h"

extern RECT g_groupNameEditRect;
extern RECT g_macroNameEditRect;
extern RECT g_repeatCountEditRect;
extern RECT g_macroListRect;
extern RECT g_eventListRect;
extern RECT g_lightListRect;
extern std::array<ButtonPos, 3> g_warningPos;
