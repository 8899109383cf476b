// The macro editor's context menu in both languages: where each command sits, and how its
// owner-drawn items measure and draw.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/popups/tev_menu.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window.h"
#include "winlib/device_context.h"
#include "winlib/gdi_object.h"
#include "winlib/select_guard.h"

namespace {
// The item texts from the context menu down to the command, joined by '>'.
std::u16string PathOf(HMENU menu, UINT command, const std::u16string& prefix = u"")
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const auto* record = [&]() -> const CTevMenu::ItemRecord* {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_DATA;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            return reinterpret_cast<const CTevMenu::ItemRecord*>(info.dwItemData);
        }();
        if (record == nullptr) continue;
        const std::u16string path = prefix.empty() ? record->text : prefix + u">" + record->text;
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (std::u16string found = PathOf(sub, command, path); !found.empty()) return found;
        } else if (GetMenuItemID(menu, i) == command) {
            return path;
        }
    }
    return {};
}

TEST(MacroEditMenu, CommandsSitWhereTheMenuOfEachLanguageShowsThem)
{
    struct Row {
        UINT id;
        const char16_t* english;
        const char16_t* spanish;
    };
    const Row rows[] = {
        {ID_INSERT_BEFORE_LEFT_DOWN, u"Insert before    >Left button >↓     ", u"Insertar antes >Botón izquierdo >?     "},
        {ID_INSERT_BEFORE_LEFT_UP, u"Insert before    >Left button >↑   ", u"Insertar antes >Botón izquierdo >?   "},
        {ID_INSERT_BEFORE_RIGHT_DOWN, u"Insert before    >Right button  >↓    ", u"Insertar antes >Botón derecho  >?     "},
        {ID_INSERT_BEFORE_RIGHT_UP, u"Insert before    >Right button  >↑  ", u"Insertar antes >Botón derecho  >?  "},
        {ID_INSERT_BEFORE_MIDDLE_DOWN, u"Insert before    >Middle button  >↓    ", u"Insertar antes >Botón central  >?     "},
        {ID_INSERT_BEFORE_MIDDLE_UP, u"Insert before    >Middle button  >↑", u"Insertar antes >Botón central  >?   "},
        {ID_INSERT_AFTER_LEFT_DOWN, u"Insert after>Left button >↓    ", u"Insertar después  >Botón izquierdo  >?     "},
        {ID_INSERT_AFTER_LEFT_UP, u"Insert after>Left button >↑", u"Insertar después  >Botón izquierdo  >?   "},
        {ID_INSERT_AFTER_RIGHT_DOWN, u"Insert after>Right button  >↓    ", u"Insertar después  >Botón derecho  >?     "},
        {ID_INSERT_AFTER_RIGHT_UP, u"Insert after>Right button  >↑", u"Insertar después  >Botón derecho  >?   "},
        {ID_INSERT_AFTER_MIDDLE_DOWN, u"Insert after>Middle button  >↓    ", u"Insertar después  >Botón central  >?     "},
        {ID_INSERT_AFTER_MIDDLE_UP, u"Insert after>Middle button  >↑", u"Insertar después  >Botón central  >?  "},
        {ID_INSERT_XY_NEG_NEG, u"Insert XY   >X-,Y-", u"Insertar  XY >X-, Y-    "},
        {ID_INSERT_XY_NEG_POS, u"Insert XY   >X-,Y+", u"Insertar  XY >X-, Y + "},
        {ID_INSERT_XY_POS_NEG, u"Insert XY   >X+,Y-", u"Insertar  XY >X +, Y- "},
        {ID_INSERT_XY_POS_POS, u"Insert XY   >X+,Y+", u"Insertar  XY >X +, Y +  "},
        {ID_INSERT_SET_CPI, u"Insert CPI>Set up CPI", u"Insertar DPI  >Configurar DPI "},
        {ID_INSERT_RESET_CPI, u"Insert CPI>Reset CPI", u"Insertar DPI  >Reiniciar DPI  "},
        {ID_INSERT_LIGHT, u"Insert LED", u"Insertar luz  "},
        {ID_INSERT_DELAY, u"Insert [delay]", u"Insertar retraso  "},
        {ID_CHANGE_PARAMETERS, u"Change parameters ", u"Cambiar parámetros  "},
        {ID_MODIFY_DELAY, u"Modify delay", u"Editar retraso  "},
        {ID_DELETE_EVENT, u"Delete option", u"Eliminar  "},
    };
    for (uint32_t language : {1u, 0u}) {
        LoadLanguageMenus(language);
        EXPECT_EQ(g_macroEditMenu.count, 34);
        HMENU context = GetSubMenu(g_macroEditMenu.Get(), 0);
        ASSERT_NE(context, nullptr);
        for (const Row& row : rows) {
            const std::u16string expected = language == 1 ? row.english : row.spanish;
            EXPECT_EQ(PathOf(context, row.id), expected) << row.id << " language " << language;
        }
    }
    LoadLanguageMenus(1);
}

// A 32-bit top-down bitmap of width x height to draw into, with its pixels.
struct Canvas {
    Canvas(int width, int height) : width(width)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<const uint32_t*>(bits);
    }
    // As 0x00RRGGBB.
    uint32_t At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }

    int width;
    BitmapOwner bitmap;
    MemoryDc dc;
    const uint32_t* pixels = nullptr;
};

TEST(MacroEditMenu, OwnerDrawnItemsMeasureAndDrawInTheMenuColours)
{
    LoadLanguageMenus(1);
    const CTevMenu::ItemRecord& before = g_macroEditMenu.items[1];
    ASSERT_EQ(before.text, u"Insert before    ");
    EXPECT_EQ(before.id, -1);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(&before)};
    g_trayMenu.MeasureItem(&measure);  // any menu object measures any item
    EXPECT_EQ(measure.itemWidth, 136u);
    EXPECT_EQ(measure.itemHeight, 20u);

    Canvas canvas(140, 20);
    SelectGuard select(canvas.dc.Get(), canvas.bitmap.Get());
    DRAWITEMSTRUCT draw{ODT_MENU, 0, 0, ODA_DRAWENTIRE, 0, nullptr, canvas.dc.Get(), {0, 0, 136, 20},
                        reinterpret_cast<ULONG_PTR>(&before)};
    g_trayMenu.DrawItem(&draw);
    EXPECT_EQ(canvas.At(2, 1), 0x007899u);  // teal blue, away from the text
    EXPECT_EQ(canvas.At(135, 19), 0x007899u);

    draw.itemState = ODS_SELECTED;
    g_trayMenu.DrawItem(&draw);
    // Inside the frame 18 rows from blue toward cyan, green rising by 14 a row.
    for (int row = 0; row < 18; ++row) EXPECT_EQ(canvas.At(133, row + 1), 0x0000FFu | (14u * row) << 8) << row;
}
}  // namespace
