#include "ui/pages/hit_test.h"

#include <algorithm>

#include "ui/pages/page_state.h"

namespace {
constexpr int kLedHoverCount = 71;
constexpr int kAdvancedHoverCount = 138;
constexpr int kMacroHoverCount = 20;
}  // namespace

int HitTestRects(ClientPoint point, std::span<const ButtonPos> table, int count)
{
    const size_t tested = count <= 0 ? 0 : std::min(table.size(), static_cast<size_t>(count));
    for (size_t i = 0; i < tested; ++i) {
        const ButtonPos& r = table[i];
        // 64-bit sums: layout numbers come from files and may sit near the int32 limits.
        const int64_t x = point.x, y = point.y;
        if (x >= r.x && x < int64_t{r.x} + r.width && y >= r.y && y < int64_t{r.y} + r.height)
            return static_cast<int>(i);
    }
    return BUTTON_NONE;
}

HoverChanges UpdateHover(ClientPoint point, uint8_t page, const HoverTables& tables)
{
    const int mainCount = page == kPageMain ? static_cast<int>(kMainLayoutCount) : static_cast<int>(kFrameIds);
    g_hoverMainButton = HitTestRects(point, tables.mainPos, mainCount);
    g_hoverLedButton = HitTestRects(point, tables.ledPos, kLedHoverCount);
    g_hoverAdvancedButton = HitTestRects(point, tables.advancedPos, kAdvancedHoverCount);
    g_hoverMacroButton = HitTestRects(point, tables.macroPos, kMacroHoverCount);

    const std::array<int, kHoverTableCount> now = {g_hoverMainButton, g_hoverLedButton, g_hoverAdvancedButton,
                                                   g_hoverMacroButton};
    HoverChanges changes{};
    for (size_t t = 0; t < kHoverTableCount; ++t) {
        changes[t] = now[t] != g_hoverPrevious[t];
        g_hoverPrevious[t] = now[t];
    }
    return changes;
}
