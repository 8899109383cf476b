#pragma once
// Program-wide values the main window's start-up fills and the rest of the window reads.
#include <atomic>
#include <cstdint>

#include "ui/window/blink_thread.h"
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
// The event-list line the macro editor's commands act on.
extern int32_t g_eventLine;
// Whether the window starts the threads that run beside it: the device threads and the blink
// thread at start-up, the lighting preview on the lighting page (it always does in the programs).
// The win32 test program turns it off: where Wine runs on an emulated i386 CPU, a process with
// two or more threads that wait in the Wine server concurrently is ended by the emulator, so the
// window tests run the window without them (the threads are tested in the host tree).
extern bool g_startDeviceThreads;
