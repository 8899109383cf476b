#pragma once
// The shared types of the skin: a layout rectangle, the pages, and the id meaning "no rectangle".
// Platform-free.
#include <cstddef>
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

constexpr uint8_t kSkinPageCount = 4;

// The value of a hover, pressed or owner id that means no rectangle.
constexpr int BUTTON_NONE = 255;

// Ids per layout file (BUTTONPOS keys 0..count-1).
constexpr size_t kMainLayoutCount = 29;  // 0..10 the frame on every page, 11..28 page 0
constexpr size_t kLedLayoutCount = 103;
constexpr size_t kAdvancedLayoutCount = 138;
constexpr size_t kMacroLayoutCount = 20;
constexpr size_t kWarningLayoutCount = 3;  // 0 go on, 1 cancel, 2 the message
constexpr size_t kFrameIds = 11;
