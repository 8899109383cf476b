#pragma once
// Colours are stored per channel as a 4-bit inverted value (0 full, 15 the dimmest the mouse
// shows), which is what the mouse's memory takes. The window draws them as Windows COLORREFs.
#include <array>
#include <cstdint>

// A Windows COLORREF: red in the low byte, green in the next, blue in the third. Kept as a plain
// 32-bit value so the platform-free code needs no Windows header.
using ColorRef = uint32_t;

constexpr ColorRef MakeColorRef(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 | static_cast<ColorRef>(blue) << 16;
}
constexpr uint8_t ColorRefRed(ColorRef colour) { return static_cast<uint8_t>(colour & 0xFF); }
constexpr uint8_t ColorRefGreen(ColorRef colour) { return static_cast<uint8_t>((colour >> 8) & 0xFF); }
constexpr uint8_t ColorRefBlue(ColorRef colour) { return static_cast<uint8_t>((colour >> 16) & 0xFF); }

// 0 shows as 255 and 15 as 15, never as 0: the dimmest stored value still lights the LED.
// Values above 15 (from a hand-edited file) are taken through the same byte arithmetic.
constexpr uint8_t StoredChannelToDisplay(uint32_t stored) { return static_cast<uint8_t>(~(stored << 4) & 0xFF); }

// What the colour pickers store for a chosen 8-bit channel.
constexpr uint32_t DisplayChannelToStored(uint8_t display) { return static_cast<uint32_t>(255 - display) >> 4; }

// Channels in the order R, G, B.
constexpr ColorRef ColorRefFromStored(const std::array<uint32_t, 3>& channels)
{
    return MakeColorRef(StoredChannelToDisplay(channels[0]), StoredChannelToDisplay(channels[1]),
                        StoredChannelToDisplay(channels[2]));
}

constexpr std::array<uint32_t, 3> StoredFromColorRef(ColorRef colour)
{
    return {DisplayChannelToStored(ColorRefRed(colour)), DisplayChannelToStored(ColorRefGreen(colour)),
            DisplayChannelToStored(ColorRefBlue(colour))};
}
