#include "ui/popups/tev_menu.h"

#include "ui/popups/menu_item_look.h"
#include "winlib/gdi_object.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

CTevMenu g_macroEditMenu;
CTevMenu g_trayMenu;

bool CTevMenu::LoadFromResource(int resourceId)
{
    menu_.Reset(::LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
    return static_cast<bool>(menu_);
}

BOOL CTevMenu::ChangeToOwnerDraw(HMENU menu, bool topLevel)
{
    if (menu == nullptr) return TRUE;
    const int itemCount = GetMenuItemCount(menu);
    for (int position = 0; position < itemCount; ++position) {
        HMENU subMenu = GetSubMenu(menu, position);
        if (count < kMaxItems) {
            ItemRecord& record = items[static_cast<size_t>(count)];
            wchar_t label[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(position), label, 256, MF_BYPOSITION);
            record.text = FromWide(label);
            record.id = subMenu != nullptr ? -1 : static_cast<int32_t>(GetMenuItemID(menu, position));

            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            info.fType = MFT_OWNERDRAW;
            info.dwItemData = reinterpret_cast<ULONG_PTR>(&record);
            SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
            ++count;
        }
        if (subMenu != nullptr) ChangeToOwnerDraw(subMenu, topLevel);
    }
    return TRUE;
}

void CTevMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    if (item == nullptr || item->CtlType != ODT_MENU || item->itemData == 0) return;
    const auto* record = reinterpret_cast<const ItemRecord*>(item->itemData);
    const MenuItemSize size = MeasureMenuItem(record->text, record->id);
    item->itemWidth = static_cast<UINT>(size.width);
    item->itemHeight = static_cast<UINT>(size.height);
}

void CTevMenu::DrawItem(const DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->CtlType != ODT_MENU || item->itemData == 0) return;
    const auto* record = reinterpret_cast<const ItemRecord*>(item->itemData);
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));

    if (record->id == 0) {
        RECT frame = rect;
        frame.left += 25;
        // A 3-D frame: top-left red, bottom-right blue.
        BrushOwner red(CreateSolidBrush(RGB(255, 0, 0)));
        BrushOwner blue(CreateSolidBrush(RGB(0, 0, 255)));
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        RECT top{frame.left, frame.top, frame.right - 1, frame.top + 1};
        RECT left{frame.left, frame.top, frame.left + 1, frame.bottom - 1};
        RECT right{frame.right - 1, frame.top, frame.right, frame.bottom};
        RECT bottom{frame.left, frame.bottom - 1, frame.right, frame.bottom};
        if (width > 0 && height > 0) {
            FillRect(dc, &top, red.Get());
            FillRect(dc, &left, red.Get());
            FillRect(dc, &right, blue.Get());
            FillRect(dc, &bottom, blue.Get());
        }
        return;
    }

    if ((item->itemState & ODS_SELECTED) == 0) {
        BrushOwner fill(CreateSolidBrush(RGB(0, 120, 153)));
        FillRect(dc, &rect, fill.Get());
    } else {
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        const RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
        const int32_t rows = inner.bottom - inner.top;
        for (int32_t row = 0; row < rows; ++row) {
            PenOwner pen(CreatePen(PS_SOLID, 1, MenuGradientColour(row, rows)));
            SelectGuard select(dc, pen.Get());
            MoveToEx(dc, inner.left, inner.top + row, nullptr);
            LineTo(dc, inner.right, inner.top + row);
        }
    }
    RECT textRect = rect;
    textRect.left += 10;
    DrawTextW(dc, AsWide(record->text), static_cast<int>(record->text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER);
}
