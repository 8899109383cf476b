#pragma once
// The shared types of the skin: a layout rectangle, the pages, and the id meaning "no rectangle".
// Platform-free.
#include <cstdint>

// A skin rectangle in client pixels: the points x <= px < x + width, y <= py < y + height.
struct ButtonPos {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ButtonPos&) const = default;
};

// The value of g_page.
enum SkinPage : uint8_t {
    kPageMain = 0,
    kPageAdvanced = 1,
    kPageMacro = 2,
    kPageLighting = 3,
};

constexpr uint32_t BUTTON_NONE = 255;
