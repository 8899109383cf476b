#include "winlib/mask_runs.h"

std::vector<PixelRun> MaskRuns(std::span<const uint32_t> pixels, int32_t width, int32_t height)
{
    std::vector<PixelRun> runs;
    if (width <= 0 || height <= 0 || pixels.size() / static_cast<size_t>(width) < static_cast<size_t>(height))
        return runs;
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        int32_t x = 0;
        while (x < width) {
            while (x < width && IsMaskPixelCut(row[x])) ++x;
            const int32_t left = x;
            while (x < width && !IsMaskPixelCut(row[x])) ++x;
            if (x > left) runs.push_back({left, x, y});
        }
    }
    return runs;
}
