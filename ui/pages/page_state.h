#pragma once
// What the window's pointer and clicks leave for painting: the page shown, the rectangle under
// the pointer in each layout table and whether the left button is held on it. Only the
// user-interface thread writes these; the preview threads read g_page.
#include <array>
#include <atomic>
#include <cstdint>

#include "ui/pages/skin_layout.h"

extern std::atomic<uint8_t> g_page;  // SkinPage
extern uint32_t g_buttonDown;        // 1 from a press on a skin button until the release
extern uint32_t g_recording;         // 1 while a macro is being recorded

// The rectangle under the pointer per table, BUTTON_NONE when none; with the values of the last
// move, which decide whether a move repaints.
extern int g_hoverMainButton;
extern int g_hoverLedButton;
extern int g_hoverAdvancedButton;
extern int g_hoverMacroButton;
extern std::array<int, 4> g_hoverPrevious;  // main, lighting, advanced, macro

// Everything above back to its start: page 0, nothing hovered, held or recording.
void ResetPageState();

// g_page as painting takes it: a number past the four pages shows page 0.
inline uint8_t ShownPage()
{
    const uint8_t page = g_page;
    return page < kSkinPageCount ? page : uint8_t{kPageMain};
}
