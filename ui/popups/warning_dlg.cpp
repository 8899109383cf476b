#include "ui/popups/warning_dlg.h"

#include "settings/settings_state.h"
#include "ui/pages/page_painting.h"
#include "ui/pages/saturating_sum.h"
#include "ui/pages/skin_layout.h"
#include "ui/popups/popup_state.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/main_window_globals.h"
#include "winlib/device_context.h"
#include "winlib/mask_runs.h"
#include "winlib/region_from_runs.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

namespace {

bool Holds(const ButtonPos& rect, POINT point)
{
    return point.x >= rect.x && point.x < int64_t{rect.x} + rect.width && point.y >= rect.y &&
           point.y < int64_t{rect.y} + rect.height;
}

void CopyImage(HDC dc, const ImageBitmap* image, const ButtonPos& rect)
{
    if (image == nullptr || rect.width <= 0 || rect.height <= 0) return;
    MemoryDc source(dc);
    SelectGuard bitmap(source.Get(), image->bitmap.Get());
    BitBlt(dc, rect.x, rect.y, rect.width, rect.height, source.Get(), rect.x, rect.y, SRCCOPY);
}

}  // namespace

WarningDlg::WarningDlg() : SkinnedDialog(IDD_WARNING) {}

INT_PTR WarningDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND) return SkinnedDialog::OnMessage(message, wParam, lParam);
    // Enter does not close the box; Esc and the system close cancel it.
    if (LOWORD(wParam) == IDCANCEL) End(WarningResult::Cancel);
    return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
}

BOOL WarningDlg::OnInitDialog()
{
    std::optional<PixelImage> pixels;
    if (std::optional<ImageBitmap> mask = LoadImageBitmap(std::wstring(AsWide(g_skinFolder + u"\\warning_mask.jpg"))))
        pixels = ReadBitmapPixels(mask->bitmap.Get());
    if (pixels) {
        g_warningWidth = pixels->width;
        g_warningHeight = pixels->height;
        RegionOwner shape = RegionFromRuns(MaskRuns(pixels->pixels, pixels->width, pixels->height));
        if (shape && SetWindowRgn(Handle(), shape.Get(), TRUE) != 0) shape.Release();
    } else {
        // Without its mask the box keeps its template's size, uncut.
        RECT rect{};
        GetWindowRect(Handle(), &rect);
        g_warningWidth = rect.right - rect.left;
        g_warningHeight = rect.bottom - rect.top;
    }
    MoveWindow(Handle(), g_popupPos.x, g_popupPos.y, g_warningWidth, g_warningHeight, TRUE);
    return TRUE;
}

void WarningDlg::OnMouseMove(UINT, POINT point)
{
    g_warningHover = Holds(g_warningPos[0], point) ? 1 : Holds(g_warningPos[1], point) ? 2 : BUTTON_NONE;
    if (g_warningHover != g_warningHoverPrevious) {
        g_warningHoverPrevious = g_warningHover;
        View().Invalidate(true);
    }
}

void WarningDlg::OnLButtonUp(UINT, POINT)
{
    if (g_warningHover == 1) End(WarningResult::GoOn);
    else if (g_warningHover == 2) End(WarningResult::Cancel);
}

void WarningDlg::PaintTo(HDC dc)
{
    CopyImage(dc, images_.Get(std::wstring(AsWide(g_skinFolder + u"\\warning_normal.jpg"))), {0, 0, g_warningWidth, g_warningHeight});
    if (g_warningHover == 1 || g_warningHover == 2)
        CopyImage(dc, images_.Get(std::wstring(AsWide(g_skinFolder + u"\\warning_over.jpg"))),
                  g_warningPos[static_cast<size_t>(g_warningHover - 1)]);
    SetBkMode(dc, TRANSPARENT);
    SelectGuard font(dc, g_languageEnglish == 1 ? g_fontEn.Get() : g_fontEs.Get());
    SetTextColor(dc, RGB(255, 0, 0));
    for (size_t k = 0; k < kWarningLayoutCount; ++k) {
        const auto* text = reinterpret_cast<const wchar_t*>(g_warningTexts[k].c_str());
        const int length = static_cast<int>(g_warningTexts[k].size());
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, length, &extent);
        const ButtonPos& rect = g_warningPos[k];
        TextOutW(dc, SaturatingSum(rect.x, CentredOffset(rect.width, extent.cx)),
                 SaturatingSum(rect.y, CentredOffset(rect.height, extent.cy)), text, length);
    }
}

INT_PTR RunWarningBox(HWND owner)
{
    WarningDlg box;
    return box.DoModal(owner);
}
