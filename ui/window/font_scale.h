#pragma once
// Point size of the window's fonts by display scale (pixels per logical inch / 96). Platform-free.
#include <cstdint>

// In tenths of a point. The listed scales keep their sizes; any other scale gets the size that
// keeps the 96-DPI pixel height (8.5 points at 96 DPI), never a 1-point font.
int32_t FontPointTenths(float scale);

constexpr int32_t kLargeFontExtraTenths = 8;

// The scale as start-up computes it.
inline float DisplayScale(int32_t pixelsPerInch) { return static_cast<float>(pixelsPerInch) / 96.0f; }

// The character height in pixels of a point font of `tenths` on a display of `pixelsPerInch`.
constexpr int32_t PointFontPixelHeight(int32_t tenths, int32_t pixelsPerInch) { return pixelsPerInch * tenths / 720; }
