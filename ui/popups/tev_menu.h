#pragma once
// A menu of the program's resources whose items the program draws itself: teal-blue items, a
// blue-to-cyan gradient under the selected one, white text. Each item's record is its item data,
// so any CTevMenu draws the items of any other (the window hands all of them to g_trayMenu).
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "winlib/user_objects.h"

class CTevMenu {
public:
    struct ItemRecord {
        std::u16string text;
        int32_t id = 0;  // command; -1 opens a sub-menu; 0 separator
    };
    static constexpr int32_t kMaxItems = 50;

    CTevMenu() = default;
    virtual ~CTevMenu() = default;
    CTevMenu(const CTevMenu&) = delete;
    CTevMenu& operator=(const CTevMenu&) = delete;

    // Replaces the held menu with a menu resource of the program; false when it does not load.
    bool LoadFromResource(int resourceId);
    HMENU Get() const { return menu_.Get(); }

    // Makes every item of `menu` and of its sub-menus owner-drawn, one record per item, depth
    // first. Items past the 50th record keep their system look.
    BOOL ChangeToOwnerDraw(HMENU menu, bool topLevel = false);
    virtual void DrawItem(const DRAWITEMSTRUCT* item);
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);

    std::array<ItemRecord, kMaxItems> items;
    int32_t count = 0;

private:
    MenuOwner menu_;
};

extern CTevMenu g_macroEditMenu;
extern CTevMenu g_trayMenu;
