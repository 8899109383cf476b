#pragma once
// Running a paint plan (page_painting.h) on memory contexts.
#include <windows.h>

#include <span>

#include "ui/pages/page_painting.h"

// Copies rectangle `id` of table from source to the same place and size in destination.
void BlitSkinRect(HDC destination, HDC source, std::span<const ButtonPos> table, size_t id);

// The contexts a plan copies from; a null one (its image is missing) is left out.
struct PaintSources {
    HDC hovered;
    HDC pressed;
    HDC cover;
};

// Copies and fills of a plan onto canvas; texts in the language font or largeFont, each centred
// in its rectangle.
void RunPaintPlan(HDC canvas, const PaintSources& sources, const PaintPlan& plan, HFONT languageFont, HFONT largeFont);
