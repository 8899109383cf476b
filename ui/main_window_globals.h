#pragma once
// Program-wide values the main window's start-up fills and the rest of the window reads.
#include <atomic>
#include <cstdint>

#include "winlib/gdi_object.h"

// "Arial" at the size the display scale asks for; the large one 0.8 points bigger.
extern FontOwner g_fontEn;
extern FontOwner g_fontEs;
extern FontOwner g_fontLarge;
// The window's shape without the macro-name edit, the macro list and the event list: the part
// of the window the macro page repaints.
extern RegionOwner g_windowRegion;
// Pixel size of main_mask.jpg, the window's skin.
extern int32_t g_skinWidth;
extern int32_t g_skinHeight;
// 1 from a "HIDE" start until the first background erase, which minimises the window.
extern uint8_t g_startHidden;
// The blink thread's running flag.
extern std::atomic<uint32_t> g_blinkRunning;
// The event-list line the macro editor's commands act on.
extern int32_t g_eventLine;
