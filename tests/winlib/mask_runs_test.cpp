#include "winlib/mask_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(MaskRuns, CoverExactlyThePixelsTheRuleKeeps)
{
    // Channels around the threshold, so every mix of kept and cut pixels occurs.
    constexpr int32_t width = 37;
    constexpr int32_t height = 23;
    std::mt19937 random(7);
    const uint32_t levels[] = {0, 99, 100, 101, 102, 255};
    std::vector<uint32_t> pixels(width * height);
    for (uint32_t& p : pixels) p = levels[random() % 6] << 16 | levels[random() % 6] << 8 | levels[random() % 6];
    for (int32_t x = 0; x < width; ++x) pixels[x] = 0xFFFFFF;      // a row cut whole
    for (int32_t x = 0; x < width; ++x) pixels[width + x] = 0;     // a row kept whole

    std::vector<bool> covered(pixels.size(), false);
    int32_t lastY = -1;
    int32_t lastRight = -1;
    for (const PixelRun& run : MaskRuns(pixels, width, height)) {
        ASSERT_LT(run.left, run.right);
        ASSERT_GE(run.left, 0);
        ASSERT_LE(run.right, width);
        // Rows in order, runs in order and apart (a run always ends at a cut pixel or the edge).
        if (run.y == lastY) {
            ASSERT_GT(run.left, lastRight);
        }
        ASSERT_GE(run.y, lastY);
        lastY = run.y;
        lastRight = run.right;
        for (int32_t x = run.left; x < run.right; ++x) covered[run.y * width + x] = true;
    }
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        const bool cut = (p >> 16 & 0xFF) > 100 && (p >> 8 & 0xFF) > 100 && (p & 0xFF) > 100;
        EXPECT_EQ(covered[i], !cut) << "pixel " << i;
    }
}

TEST(MaskRuns, AllWhiteGivesNothingAllBlackTheFullRectangleShortBufferNothing)
{
    std::vector<uint32_t> white(6, 0xFFFFFF);
    EXPECT_TRUE(MaskRuns(white, 3, 2).empty());
    std::vector<uint32_t> black(6, 0);
    EXPECT_EQ(MaskRuns(black, 3, 2), (std::vector<PixelRun>{{0, 3, 0}, {0, 3, 1}}));
    EXPECT_TRUE(MaskRuns(black, 3, 3).empty());
    EXPECT_TRUE(MaskRuns(black, 0, 2).empty());
}
