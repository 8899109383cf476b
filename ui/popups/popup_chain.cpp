#include "ui/popups/popup_chain.h"

#include <array>
#include <vector>

#include "base/clock.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/popups/mac_sel_menu_dlg.h"
#include "ui/popups/menu_dlg.h"
#include "ui/popups/popup_openers.h"
#include "ui/popups/popup_rules.h"
#include "ui/popups/sub_menu_dlg.h"
#include "ui/window/main_window_globals.h"
#include "winlib/device_context.h"
#include "winlib/region_from_runs.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

CMenuDlg* g_pMenuPopup = nullptr;
CSubMenuDlg* g_pSubMenuPopup = nullptr;
MacSelMenuDlg* g_pMacroChoicePopup = nullptr;

namespace {

constexpr size_t kLevels = 3;
std::array<std::unique_ptr<PopupDialog>, kLevels> g_levels;
// Closed pop-ups waiting for the outermost handler to return.
std::vector<std::unique_ptr<PopupDialog>> g_closed;
int g_handlerDepth = 0;

void KeepGlobals()
{
    g_pMenuPopup = static_cast<CMenuDlg*>(g_levels[0].get());
    g_pSubMenuPopup = static_cast<CSubMenuDlg*>(g_levels[1].get());
    g_pMacroChoicePopup = static_cast<MacSelMenuDlg*>(g_levels[2].get());
    g_subMenuPopupOpen = g_levels[1] ? 1 : 0;
    g_macroChoicePopupOpen = g_levels[2] ? 1 : 0;
}

void DestroyClosed()
{
    if (g_handlerDepth != 0) return;
    // Windows going send messages; a handler they reach may close more, which waits its turn.
    ++g_handlerDepth;
    while (!g_closed.empty()) {
        std::unique_ptr<PopupDialog> popup = std::move(g_closed.front());
        g_closed.erase(g_closed.begin());
        popup.reset();
    }
    --g_handlerDepth;
}

}  // namespace

PopupHandlerScope::PopupHandlerScope() { ++g_handlerDepth; }

PopupHandlerScope::~PopupHandlerScope()
{
    --g_handlerDepth;
    DestroyClosed();
}

void ClosePopupLevels(PopupLevel level)
{
    std::vector<std::unique_ptr<PopupDialog>> closing;
    for (size_t i = kLevels; i-- > static_cast<size_t>(level);) {
        if (g_levels[i]) closing.push_back(std::move(g_levels[i]));
    }
    KeepGlobals();
    for (std::unique_ptr<PopupDialog>& popup : closing) {
        if (popup->Handle() != nullptr) ShowWindow(popup->Handle(), SW_HIDE);
        g_closed.push_back(std::move(popup));
    }
    DestroyClosed();
}

PopupDialog* OpenPopup(std::unique_ptr<PopupDialog> popup, HWND parent)
{
    const PopupLevel level = popup->Level();
    ClosePopupLevels(level);
    PopupDialog* opened = popup.get();
    g_levels[static_cast<size_t>(level)] = std::move(popup);
    KeepGlobals();
    if (opened->Create(parent) && g_levels[static_cast<size_t>(level)].get() == opened) return opened;
    if (g_levels[static_cast<size_t>(level)].get() == opened) ClosePopupLevels(level);
    return nullptr;
}

HWND PopupWindow(PopupLevel level)
{
    const std::unique_ptr<PopupDialog>& popup = g_levels[static_cast<size_t>(level)];
    return popup && IsWindow(popup->Handle()) ? popup->Handle() : nullptr;
}

INT_PTR PopupDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    PopupHandlerScope scope;
    if (message != WM_CLOSE) return SkinnedDialog::OnMessage(message, wParam, lParam);
    CloseOwnLevel();
    return TRUE;
}

int PopupDialog::HitTest(POINT point) const { return RowAt(point.x, point.y, width_, rowHeight_, rows_); }

void PopupDialog::PaintTo(HDC dc)
{
    if (width_ <= 0 || popupHeight_ <= 0) return;
    MemoryDc canvas(dc);
    BitmapOwner bitmap(CreateCompatibleBitmap(dc, width_, popupHeight_));
    SelectGuard canvasBitmap(canvas.Get(), bitmap.Get());
    if (const ImageBitmap* background = Image(BackgroundImage())) {
        MemoryDc source(dc);
        SelectGuard sourceBitmap(source.Get(), background->bitmap.Get());
        BitBlt(canvas.Get(), 0, 0, width_, popupHeight_, source.Get(), 0, 0, SRCCOPY);
    } else {
        PatBlt(canvas.Get(), 0, 0, width_, popupHeight_, BLACKNESS);
    }
    DrawItems(canvas.Get());
    BitBlt(dc, 0, 0, width_, popupHeight_, canvas.Get(), 0, 0, SRCCOPY);
}

void PopupDialog::SetGeometry(const char16_t* maskImage, int heightMode, int rows, int32_t extraHeight)
{
    const ImageBitmap* mask = Image(maskImage);
    width_ = mask != nullptr ? mask->width : 0;
    rowHeight_ = MenuRowHeight(heightMode, mask != nullptr ? mask->height : 0);
    rows_ = rows;
    popupHeight_ = rows > 0 ? rows * rowHeight_ + extraHeight : 0;
    // The window owns the region once it is set.
    RegionOwner region(CreateRectRgn(0, 0, width_, popupHeight_));
    if (SetWindowRgn(Handle(), region.Get(), TRUE) != 0) region.Release();
}

const ImageBitmap* PopupDialog::Image(const char16_t* name) { return images_.Get(std::wstring(AsWide(g_skinFolder + name))); }

void PopupDialog::CopyRowStrip(HDC dc, const char16_t* image, int row)
{
    if (row < 1 || row > rows_) return;
    const ImageBitmap* source = Image(image);
    if (source == nullptr) return;
    MemoryDc sourceDc(dc);
    SelectGuard sourceBitmap(sourceDc.Get(), source->bitmap.Get());
    const int32_t y = (row - 1) * rowHeight_;
    BitBlt(dc, 0, y, width_, rowHeight_, sourceDc.Get(), 0, y, SRCCOPY);
}

void PopupDialog::DrawRowText(HDC dc, int row, const std::u16string& text, bool hovered, int textMode)
{
    SetBkMode(dc, TRANSPARENT);
    SelectGuard font(dc, g_languageEnglish == 1 ? g_fontEn.Get() : g_fontEs.Get());
    SetTextColor(dc, hovered ? RGB(255, 0, 0) : RGB(255, 255, 255));
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide, length, &extent);
    TextOutW(dc, MenuTextX(textMode, width_, extent.cx), RowTextY(row, rowHeight_, extent.cy), wide, length);
}

void PopupDialog::PlaceAndShow(HWND window, int32_t x, int32_t y)
{
    MoveWindow(window, x, y, 300, 400, TRUE);
    ShowWindow(window, SW_SHOW);
}

void PopupDialog::TrackHover(POINT point, int& hover, int& previous)
{
    hover = HitTest(point);
    if (hover != previous) {
        View().Invalidate(true);
        previous = hover;
    }
}

POINT PopupDialog::ScreenOrigin() const
{
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return {rect.left, rect.top};
}

void PopupDialog::CloseOwnLevel()
{
    if (g_levels[static_cast<size_t>(level_)].get() == this) ClosePopupLevels(level_);
}

void PopupDialog::EndChoice()
{
    ClosePopupLevels(PopupLevel::Menu);
    g_hoverMainButton = BUTTON_NONE;
    g_popupOwnerButton = BUTTON_NONE;
    InvalidateRect(owner_, nullptr, TRUE);
    UpdateWindow(owner_);
    GetClock().SleepMs(10);
}
