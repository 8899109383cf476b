#include "ui/pages/slider_values.h"

#include <algorithm>

int32_t SliderOffset(int32_t pressX, const ButtonPos& slider)
{
    if (slider.width <= 0) return 0;
    const int64_t offset = int64_t{pressX} - slider.x;
    return static_cast<int32_t>(std::clamp<int64_t>(offset, 0, int64_t{slider.width} - 1));
}

std::optional<uint8_t> TenStepValue(int32_t offset, int32_t width, uint8_t current)
{
    const double step = width / 10.0;
    const auto wholeStep = static_cast<int32_t>(step);
    if (wholeStep <= 0 || offset < 0 || offset >= width) return std::nullopt;
    const auto steps = static_cast<int32_t>(offset / step);
    const int32_t rounded = offset % wholeStep == 0 ? steps : steps + 1;
    int32_t value = current * step < offset && offset < (current + 1) * step ? current + 1 : rounded;
    if (value == 0) value = 1;
    return static_cast<uint8_t>(value);
}

std::optional<uint32_t> FireTimeValue(int32_t offset, int32_t width)
{
    if (width <= 0 || offset < 0 || offset >= width) return std::nullopt;
    const auto value = static_cast<uint32_t>(uint64_t{static_cast<uint32_t>(offset)} * 300 / static_cast<uint32_t>(width));
    if (value >= 298) return 300;
    return value == 0 ? 1 : value;
}

std::optional<uint32_t> LedBrightnessValue(int32_t offset, int32_t width)
{
    if (width <= 0 || offset < 0 || offset >= width) return std::nullopt;
    return static_cast<uint32_t>(6 - int64_t{7} * offset / width);
}

std::optional<uint8_t> LedSpeedValue(int32_t offset, int32_t width)
{
    if (width <= 0 || offset < 0 || offset >= width) return std::nullopt;
    return static_cast<uint8_t>(int64_t{6} * offset / width);
}

void ToggleDpiLevel(std::span<uint8_t, 6> enabled, uint32_t& currentLevel, uint32_t level)
{
    if (level >= enabled.size()) return;
    if (enabled[level] == 0) {
        enabled[level] = 1;
        return;
    }
    enabled[level] = 0;
    if (level != currentLevel) return;
    for (size_t moves = 0; moves < enabled.size(); ++moves) {
        currentLevel = (currentLevel + 1) % enabled.size();
        if (enabled[currentLevel] == 1) return;
    }
    // The only enabled level cannot be switched off.
    currentLevel = level;
    enabled[level] = 1;
}

void ToggleCycleColour(std::span<uint32_t, 7> enabled, uint32_t slot)
{
    if (slot >= enabled.size()) return;
    if (enabled[slot] == 0) {
        enabled[slot] = 1;
        return;
    }
    const auto on = std::count_if(enabled.begin(), enabled.end(), [](uint32_t flag) { return flag != 0; });
    if (on >= 2) enabled[slot] = 0;
}
