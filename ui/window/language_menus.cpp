#include "ui/popups/tev_menu.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window.h"

namespace {
void LoadOwnerDrawnMenu(CTevMenu& menu, int resourceId)
{
    menu.count = 0;
    menu.LoadFromResource(resourceId);
    menu.ChangeToOwnerDraw(menu.Get(), false);
}
}  // namespace

void LoadLanguageMenus(uint32_t language)
{
    LoadOwnerDrawnMenu(g_macroEditMenu, language != 0 ? IDR_MACRO_EDIT_MENU_EN : IDR_MACRO_EDIT_MENU_ES);
    LoadOwnerDrawnMenu(g_trayMenu, language != 0 ? IDR_TRAY_MENU_EN : IDR_TRAY_MENU_ES);
}
