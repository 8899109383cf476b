// The page tabs (main-layout ids 6 to 9), pressed on any page.
#include "ui/macro_page/editable_list_box.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"

namespace {

uint8_t PageOfTab(int tabId)
{
    switch (tabId) {
    case 7: return kPageAdvanced;
    case 8: return kPageMacro;
    case 9: return kPageLighting;
    default: return kPageMain;
    }
}

}  // namespace

void CTEV_KestraDlg::OnTabPress(int tabId)
{
    const uint8_t target = PageOfTab(tabId);
    const uint8_t from = g_page;
    if (target == from) return;
    if (from == kPageMacro) {
        LeaveMacroPage(target);
        return;
    }
    switch (target) {
    case kPageMain:
        g_page = kPageMain;
        StartBlinkThread();
        View().Invalidate(true);
        break;
    case kPageAdvanced:
        g_page = kPageAdvanced;
        InvalidateRgn(Handle(), g_windowRegion.Get(), TRUE);
        break;
    case kPageMacro:
        g_suppressEditNotify = 0;
        g_page = kPageMacro;
        CreateMacroPageControls();
        RefreshMacroLists();
        View().Invalidate(true);
        break;
    case kPageLighting:
        g_page = kPageLighting;
        StartLedPreviewThread();
        View().Invalidate(true);
        break;
    default:
        break;
    }
}

void CTEV_KestraDlg::LeaveMacroPage(uint8_t page)
{
    // An in-place list edit still open ends on the End key, and ends without telling the list.
    g_suppressEditNotify = 1;
    keybd_event(VK_END, 0, 0, 0);
    keybd_event(VK_END, 0, KEYEVENTF_KEYUP, 0);
    g_page = page;
    if (page == kPageMain) StartBlinkThread();
    if (page == kPageLighting) StartLedPreviewThread();
    DestroyMacroPageControls();
    View().Invalidate(true);
}
