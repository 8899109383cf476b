#pragma once
// What one paint of the main window draws, worked out without the platform. The normal image of
// the page is the canvas; rectangles are copied onto it from the page's hovered or pressed image
// (or, on the lighting page, from led_null.jpg), colours are filled, texts drawn centred. The
// window runs the plan on its memory canvas (page_painting_win32.cpp).
//
// Values from the settings are drawn clamped to their rectangles, and no value indexes a table
// without a check: a hand-edited config.ini may hold anything.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/button_assignment.h"
#include "settings/colour_channels.h"
#include "ui/pages/paint_settings.h"
#include "ui/pages/skin_layout.h"

// The image a rectangle is copied from.
enum class SkinLook : uint8_t { Hovered, Pressed, Cover };

struct PaintOp {
    enum class Kind : uint8_t { Copy, Fill, Text };
    Kind kind = Kind::Copy;
    SkinLook source = SkinLook::Hovered;  // Copy
    ButtonPos rect{};                     // Text: the text is centred in it
    ColorRef colour = 0;                  // Fill, Text
    bool largeFont = false;               // Text: g_fontLarge, else the language's font
    std::u16string text;                  // Text
};
using PaintPlan = std::vector<PaintOp>;

// The window's layout tables. The advanced texts are written too: ids 2, 19 and 32 keep the
// numbers last drawn.
struct SkinTables {
    std::span<const ButtonPos> mainPos;
    std::span<std::u16string> mainText;
    std::span<const ButtonPos> ledPos;
    std::span<std::u16string> ledText;
    std::span<const ButtonPos> advancedPos;
    std::span<std::u16string> advancedText;
    std::span<const ButtonPos> macroPos;
    std::span<std::u16string> macroText;
};

struct PagePaintInfo {
    const char16_t* normalImage;   // "\main_normal.jpg", appended to g_skinFolder
    const char16_t* hoveredImage;
    const char16_t* pressedImage;
    uint8_t selectedTab;           // main id of the page's tab
    size_t textCount;              // texts 0..9 the frame's, then the page's ids
};
// A page number past the four pages paints as page 0.
PagePaintInfo PagePaintInfoOf(uint8_t page);
constexpr const char16_t* kCoverImage = u"\\led_null.jpg";

// The page's table and hover id (g_hover*Button).
std::span<const ButtonPos> PageTable(const SkinTables& tables, uint8_t page);
int PageHoverId(uint8_t page);

// The three drawing steps of a paint, in the order the window runs them, all on one copy of the
// settings (paint_settings.h).
void PlanPageControls(PaintPlan& plan, uint8_t page, std::span<const ButtonPos> table, int hoverId,
                      const PaintSettings& settings);
void PlanFrameButtons(PaintPlan& plan, std::span<const ButtonPos> mainPos, uint8_t selectedTab,
                      const PaintSettings& settings);
void PlanPageTexts(PaintPlan& plan, const SkinTables& tables, uint8_t page, size_t count,
                   const PaintSettings& settings);
// All three for a page, on the copy TakePaintSettings gives.
PaintPlan PlanPage(const SkinTables& tables, uint8_t page);

// The arithmetic behind them.
// Fill of a bar: value out of full, clamped to 0..full, times width / full, truncated; a negative
// width fills nothing.
int32_t BarFillWidth(int64_t value, int64_t full, int32_t width);
// DPI level L's segments are advanced ids 66 + 12L .. 77 + 12L; those up to barPos are filled.
constexpr int kFirstDpiSegment = 66;
constexpr int kDpiSegmentsPerLevel = 12;
int LastFilledDpiSegment(uint32_t level, int64_t barPos);  // below the level's first when none
// A segment is filled inset: one pixel in from the left, top and right.
ButtonPos DpiSegmentFillRect(const ButtonPos& segment);
// Lighting ids covered with led_null.jpg for an effect, and lighting texts it blanks.
std::span<const uint8_t> LedCoverIds(uint32_t ledMode);
bool LedTextBlanked(uint32_t ledMode, int id);
// Name shown on a page-0 mouse button: a function's name, a group macro's name, a keyboard key's
// name; empty for codes that name nothing.
std::u16string AssignmentDisplayName(ButtonAssignmentCode code);
// Offset that centres a text of extent `text` in `extent` (truncating toward zero).
constexpr int32_t CentredOffset(int32_t extent, int32_t text) { return static_cast<int32_t>((int64_t{extent} - text) / 2); }
