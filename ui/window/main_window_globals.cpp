#include "ui/window/main_window_globals.h"

FontOwner g_fontEn;
FontOwner g_fontEs;
FontOwner g_fontLarge;
RegionOwner g_windowRegion;
int32_t g_skinWidth = 0;
int32_t g_skinHeight = 0;
uint8_t g_startHidden = 0;
int32_t g_eventLine = 0;
