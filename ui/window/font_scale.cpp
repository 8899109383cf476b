#include "ui/window/font_scale.h"

#include <cmath>

namespace {
constexpr int32_t kBaseTenths = 85;
}  // namespace

int32_t FontPointTenths(float scale)
{
    // Compared exactly, as the table is given.
    if (scale == 1.0f) return kBaseTenths;
    if (scale == 1.25f) return 63;
    if (scale == 1.5f) return 53;
    if (scale == 1.75f || scale == 2.0f) return 43;
    if (scale > 2.0f && scale < 3.0f) return 30;
    if (scale == 3.0f) return 20;
    if (!(scale > 0.0f) || !std::isfinite(scale)) return kBaseTenths;
    const float tenths = std::round(static_cast<float>(kBaseTenths) / scale);
    return tenths < 1.0f ? 1 : static_cast<int32_t>(tenths);
}
