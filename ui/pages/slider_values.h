#pragma once
// What a press on the advanced and lighting pages' sliders and switches makes of the settings.
// A slider's value comes from where the press falls inside its rectangle: the offset is the
// press's x minus the rectangle's x. Platform-free.
#include <cstdint>
#include <optional>
#include <span>

#include "ui/pages/skin_types.h"

// The offset of a press at `pressX` into `slider`, kept inside 0 .. width - 1: the click
// handlers act on the rectangle of the last move, and the press itself may land beside it.
int32_t SliderOffset(int32_t pressX, const ButtonPos& slider);

// Pointer speed and wheel lines, 1..10, from a slider of ten steps. A press inside the step
// after `current` gives current + 1. Nothing for a slider narrower than ten pixels, whose steps
// have no whole width.
std::optional<uint8_t> TenStepValue(int32_t offset, int32_t width, uint8_t current);

// Fire time, 1..297 or 300: the rightmost part of the slider gives the longest time.
std::optional<uint32_t> FireTimeValue(int32_t offset, int32_t width);

// Lighting brightness, 6 at the left edge down to 0 at the right end.
std::optional<uint32_t> LedBrightnessValue(int32_t offset, int32_t width);

// Lighting speed, 0..5 from left to right.
std::optional<uint8_t> LedSpeedValue(int32_t offset, int32_t width);

// The enable switch of DPI level `level` (0..5): switches it on, or off. Switching off the
// current level makes the next enabled one (cyclically) current; the only enabled level stays on
// and current.
void ToggleDpiLevel(std::span<uint8_t, 6> enabled, uint32_t& currentLevel, uint32_t level);

// The cycle-colour switch of `slot` (0..6): on, or off while another slot is still on.
void ToggleCycleColour(std::span<uint32_t, 7> enabled, uint32_t slot);

// Advanced ids 66..137 are the DPI step buttons, twelve per level.
constexpr int kFirstDpiStepButton = 66;
constexpr int kLastDpiStepButton = 137;
constexpr int kDpiStepsPerLevel = 12;
struct DpiStep {
    uint32_t level;
    uint8_t step;
};
constexpr DpiStep DpiStepOfButton(int id)
{
    return {static_cast<uint32_t>((id - kFirstDpiStepButton) / kDpiStepsPerLevel),
            static_cast<uint8_t>((id - kFirstDpiStepButton) % kDpiStepsPerLevel)};
}
