#pragma once
// Which skin rectangle lies under the pointer, and the four hover ids a pointer move leaves for
// painting and the click handlers. Platform-free.
#include <array>
#include <cstdint>
#include <span>

#include "ui/pages/skin_types.h"

// A point in the main window's client pixels.
struct ClientPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The lowest index below `count` whose rectangle holds the point (right and bottom edges
// outside), else BUTTON_NONE. A count of 0 or less, or a rectangle of no width or height, never
// matches; a count past the table tests the whole table.
int HitTestRects(ClientPoint point, std::span<const ButtonPos> table, int count);

// The layout tables a move tests, and how many of each: the main table only up to its frame on
// every page but the main page.
struct HoverTables {
    std::span<const ButtonPos> mainPos;
    std::span<const ButtonPos> ledPos;
    std::span<const ButtonPos> advancedPos;
    std::span<const ButtonPos> macroPos;
};

// The order of g_hoverPrevious and of a move's changes.
enum HoverTable : size_t { kHoverMain, kHoverLed, kHoverAdvanced, kHoverMacro, kHoverTableCount };
using HoverChanges = std::array<bool, kHoverTableCount>;

// A pointer move with `page` shown: stores the four hover ids (g_hoverMainButton ...) and returns
// which of them differ from the value of the last move, which then becomes the new previous value.
HoverChanges UpdateHover(ClientPoint point, uint8_t page, const HoverTables& tables);
