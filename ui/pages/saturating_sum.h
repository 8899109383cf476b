#pragma once
// Sums and differences of layout numbers. A layout file may hold any 32-bit value, so x + width,
// width - 2 or x - 3 can leave the 32-bit range: they are kept at its ends instead, as the layout
// reader keeps a rectangle's right and bottom edges. Platform-free.
#include <algorithm>
#include <cstdint>
#include <limits>

constexpr int32_t SaturatingSum(int64_t a, int64_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(a + b, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
