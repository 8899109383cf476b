#include "ui/popups/menu_item_look.h"

namespace {
uint32_t Channel(int32_t start, int32_t end, int32_t row, int32_t rows)
{
    const int32_t step = static_cast<int32_t>(static_cast<float>(end - start) / static_cast<float>(rows));
    return static_cast<uint32_t>(start + row * step) & 0xFF;
}
}  // namespace

uint32_t MenuGradientColour(int32_t row, int32_t rows)
{
    if (rows <= 0) return 0x00FF0000;
    const uint32_t red = Channel(0, 0, row, rows);
    const uint32_t green = Channel(0, 255, row, rows);
    const uint32_t blue = Channel(255, 255, row, rows);
    return red | (green << 8) | (blue << 16);
}
