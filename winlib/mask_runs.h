#pragma once
// The shape of a skinned window from its mask image: a pixel whose red, green and blue are all
// above 100 is cut away, every other pixel belongs to the window. The shape is kept as horizontal
// runs of kept pixels, so the region is built in one call instead of one operation per pixel.
// Platform-free.
#include <cstdint>
#include <span>
#include <vector>

constexpr uint32_t kMaskCutThreshold = 100;

// Pixel as 0x00RRGGBB.
constexpr bool IsMaskPixelCut(uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) > kMaskCutThreshold && ((pixel >> 8) & 0xFF) > kMaskCutThreshold &&
           (pixel & 0xFF) > kMaskCutThreshold;
}

// Kept pixels x in [left, right) of row y.
struct PixelRun {
    int32_t left;
    int32_t right;
    int32_t y;
    bool operator==(const PixelRun&) const = default;
};

// Rows top to bottom, runs left to right. Pixels are row after row, top row first; a buffer
// shorter than width x height gives no runs.
std::vector<PixelRun> MaskRuns(std::span<const uint32_t> pixels, int32_t width, int32_t height);
