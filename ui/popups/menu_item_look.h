#pragma once
// The arithmetic of the program's owner-drawn menu items. Platform-free.
#include <cstdint>
#include <string_view>

struct MenuItemSize {
    int32_t width;
    int32_t height;
};

// 8 pixels per character (trailing blanks included), 20 high; a separator (id 0) is 1 high.
constexpr MenuItemSize MeasureMenuItem(std::u16string_view text, int32_t id)
{
    return {static_cast<int32_t>(8 * text.size()), id == 0 ? 1 : 20};
}

// Row `row` (0 at the top) of `rows` of the selected item's gradient, blue (0, 0, 255) toward
// cyan (0, 255, 255), as 0x00BBGGRR. Each channel steps by (end - start) / rows truncated, so an
// item more than 255 rows high stays plain blue. Callers draw no rows when rows <= 0.
uint32_t MenuGradientColour(int32_t row, int32_t rows);
