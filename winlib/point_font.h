#pragma once
// A font of a point size in tenths of a point, measured against the screen.
#include <windows.h>

#include "winlib/gdi_object.h"

FontOwner CreatePointFont(int tenths, const wchar_t* face);
