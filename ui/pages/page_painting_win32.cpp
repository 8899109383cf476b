// The window's paint: the page's normal image is copied onto a canvas kept between paints, the
// plan of page_painting.h is run on it with the page's other images, and the canvas reaches the
// window in one copy. Decoded images come from the window's cache, which decodes a file again only
// when it changed on disk.
#include "ui/pages/page_painting_win32.h"

#include <optional>

#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/pages/paint_settings.h"
#include "ui/pages/saturating_sum.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "ui/window/window_messages.h"
#include "winlib/device_context.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

namespace {

void CopyRect(HDC destination, HDC source, const ButtonPos& rect)
{
    if (source == nullptr || rect.width <= 0 || rect.height <= 0) return;
    BitBlt(destination, rect.x, rect.y, rect.width, rect.height, source, rect.x, rect.y, SRCCOPY);
}

void FillSkinRect(HDC canvas, const ButtonPos& rect, ColorRef colour)
{
    if (rect.width <= 0 || rect.height <= 0) return;
    const RECT area{rect.x, rect.y, SaturatingSum(rect.x, rect.width), SaturatingSum(rect.y, rect.height)};
    BrushOwner brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
    FillRect(canvas, &area, brush.Get());
}

void DrawCentredText(HDC canvas, const PaintOp& op)
{
    const auto* text = reinterpret_cast<const wchar_t*>(op.text.c_str());
    const int length = static_cast<int>(op.text.size());
    SIZE extent{};
    GetTextExtentPoint32W(canvas, text, length, &extent);
    SetTextColor(canvas, static_cast<COLORREF>(op.colour));
    TextOutW(canvas, SaturatingSum(op.rect.x, CentredOffset(op.rect.width, extent.cx)),
             SaturatingSum(op.rect.y, CentredOffset(op.rect.height, extent.cy)), text, length);
}

// An image of the page selected into a memory context for one paint.
class SelectedImage {
public:
    SelectedImage(HDC compatibleWith, const ImageBitmap* image)
        : dc_(compatibleWith), guard_(dc_.Get(), image != nullptr ? image->bitmap.Get() : nullptr), present_(image != nullptr)
    {
    }
    // Null when the image is missing.
    HDC Get() const { return present_ ? dc_.Get() : nullptr; }

private:
    MemoryDc dc_;
    SelectGuard guard_;
    bool present_;
};

const ImageBitmap* SkinImage(ImageCache& cache, const char16_t* name)
{
    return cache.Get(std::wstring(AsWide(g_skinFolder + name)));
}

// A 32-bit bitmap of the given size, whatever context the paint was given.
BitmapOwner CreateCanvasBitmap(int32_t width, int32_t height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return BitmapOwner(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

bool HasSize(HBITMAP bitmap, int32_t width, int32_t height)
{
    BITMAP info{};
    return bitmap != nullptr && GetObjectW(bitmap, sizeof(info), &info) != 0 && info.bmWidth == width &&
           (info.bmHeight == height || info.bmHeight == -height);
}

}  // namespace

void BlitSkinRect(HDC destination, HDC source, std::span<const ButtonPos> table, size_t id)
{
    if (id < table.size()) CopyRect(destination, source, table[id]);
}

void RunPaintPlan(HDC canvas, const PaintSources& sources, const PaintPlan& plan, HFONT languageFont, HFONT largeFont)
{
    SetBkMode(canvas, TRANSPARENT);
    SelectGuard font(canvas, languageFont);
    bool large = false;
    for (const PaintOp& op : plan) {
        switch (op.kind) {
        case PaintOp::Kind::Copy:
            CopyRect(canvas,
                     op.source == SkinLook::Hovered ? sources.hovered
                     : op.source == SkinLook::Pressed ? sources.pressed
                                                      : sources.cover,
                     op.rect);
            break;
        case PaintOp::Kind::Fill: FillSkinRect(canvas, op.rect, op.colour); break;
        case PaintOp::Kind::Text:
            if (op.largeFont && !large && largeFont != nullptr) {
                SelectObject(canvas, largeFont);
                large = true;
            }
            DrawCentredText(canvas, op);
            break;
        }
    }
}

SkinTables CTEV_KestraDlg::LayoutTables()
{
    return {m_mainPos, m_mainText, m_ledPos, m_ledText, m_advancedPos, m_advancedText, m_macroPos, m_macroText};
}

void CTEV_KestraDlg::DrawPageControls(HDC canvas, HDC hovered, HDC pressed, std::span<const ButtonPos> table, int hoverId)
{
    PaintPlan plan;
    const uint8_t page = ShownPage();
    PlanPageControls(plan, page, table, hoverId, CurrentPaintSettings());
    // The lighting page covers the controls its effect does not use with led_null.jpg.
    std::optional<SelectedImage> cover;
    if (page == kPageLighting) cover.emplace(canvas, SkinImage(m_pageImage, kCoverImage));
    RunPaintPlan(canvas, {hovered, pressed, cover ? cover->Get() : nullptr}, plan, nullptr, nullptr);
}

void CTEV_KestraDlg::DrawFrameButtons(HDC canvas, HDC hovered, HDC pressed, uint8_t selectedTab)
{
    PaintPlan plan;
    PlanFrameButtons(plan, m_mainPos, selectedTab, CurrentPaintSettings());
    RunPaintPlan(canvas, {hovered, pressed, nullptr}, plan, nullptr, nullptr);
}

void CTEV_KestraDlg::DrawPageTexts(HDC canvas, size_t count)
{
    PaintPlan plan;
    PlanPageTexts(plan, LayoutTables(), ShownPage(), count, CurrentPaintSettings());
    const HFONT languageFont = CurrentPaintSettings().languageEnglish != 0 ? g_fontEn.Get() : g_fontEs.Get();
    RunPaintPlan(canvas, {nullptr, nullptr, nullptr}, plan, languageFont, g_fontLarge.Get());
}

void CTEV_KestraDlg::PaintWindow(HDC dc)
{
    if (IsIconic(Handle())) {
        SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const RECT client = View().ClientRect();
        DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
        return;
    }
    const uint8_t page = ShownPage();
    const PagePaintInfo info = PagePaintInfoOf(page);
    // The three drawing steps below work on this one copy; one that is not this moment's is
    // painted again shortly.
    TakePaintSettings();
    if (PaintSettingsStale()) SetTimer(Handle(), kRepaintTimer, kRepaintRetryMs, nullptr);
    const ImageBitmap* normal = SkinImage(m_pageImage, info.normalImage);
    const int32_t width = g_skinWidth > 0 ? g_skinWidth : normal != nullptr ? normal->width : 0;
    const int32_t height = g_skinHeight > 0 ? g_skinHeight : normal != nullptr ? normal->height : 0;
    if (width <= 0 || height <= 0) return;
    if (!HasSize(m_pageBitmap.Get(), width, height)) m_pageBitmap = CreateCanvasBitmap(width, height);

    MemoryDc canvas(dc);
    SelectGuard canvasBitmap(canvas.Get(), m_pageBitmap.Get());
    {
        const SelectedImage normalDc(dc, normal);
        if (normalDc.Get() != nullptr) {
            BitBlt(canvas.Get(), 0, 0, width, height, normalDc.Get(), 0, 0, SRCCOPY);
        } else {
            PatBlt(canvas.Get(), 0, 0, width, height, BLACKNESS);
        }
    }
    // The hovered image is decoded only once something on the page is hovered.
    const bool anyHovered = PageHoverId(page) != BUTTON_NONE || g_hoverMainButton < static_cast<int>(kFrameIds);
    const SelectedImage hovered(dc, anyHovered ? SkinImage(m_pageImage, info.hoveredImage) : nullptr);
    const SelectedImage pressed(dc, SkinImage(m_pageImage, info.pressedImage));
    const SkinTables tables = LayoutTables();
    DrawPageControls(canvas.Get(), hovered.Get(), pressed.Get(), PageTable(tables, page), PageHoverId(page));
    DrawFrameButtons(canvas.Get(), hovered.Get(), pressed.Get(), info.selectedTab);
    DrawPageTexts(canvas.Get(), info.textCount);
    BitBlt(dc, 0, 0, width, height, canvas.Get(), 0, 0, SRCCOPY);
}
