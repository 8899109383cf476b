// The pointer-move handler: the four hover ids, and a repaint only when one of them changes.
#include "ui/pages/hit_test.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"

void CTEV_KestraDlg::OnMouseMove(UINT, POINT point)
{
    const uint8_t page = g_page;
    const HoverChanges changes =
        UpdateHover({point.x, point.y}, page, {m_mainPos, m_ledPos, m_advancedPos, m_macroPos});
    for (size_t table = 0; table < kHoverTableCount; ++table) {
        if (!changes[table]) continue;
        // The macro page repaints around its lists and name edit, which paint themselves.
        if (page == kPageMacro)
            InvalidateRgn(Handle(), g_windowRegion.Get(), TRUE);
        else
            InvalidateRect(Handle(), nullptr, TRUE);
        // The macro table's hover waits for the next paint.
        if (table != kHoverMacro) UpdateWindow(Handle());
    }
}
