#pragma once
// The skinned pop-ups over the real main window, for their tests: the fixture, a spy on what the
// main window receives, and pixel helpers.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/ui/window/main_window_fixture.h"
#include "ui/pages/page_state.h"
#include "ui/popups/mac_sel_menu_dlg.h"
#include "ui/popups/menu_dlg.h"
#include "ui/popups/popup_openers.h"
#include "ui/popups/sub_menu_dlg.h"
#include "ui/popups/warning_dlg.h"
#include "ui/window/window_messages.h"
#include "winlib/device_context.h"
#include "winlib/image_file.h"
#include "winlib/mask_runs.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    bool senderShown;  // the watched pop-up was visible when it arrived
};

// What the main window received, recorded by a subclass of its window procedure.
struct MainWindowSpy {
    WNDPROC previous = nullptr;
    std::vector<Received> messages;
    HWND watched = nullptr;
    // At each paint of the main window: whether the watched pop-up still had a window, and
    // whether it was visible.
    std::vector<std::pair<bool, bool>> watchedAtPaint;
};

inline MainWindowSpy* g_spy = nullptr;

inline LRESULT CALLBACK SpyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool privateMessage = message == WM_PROFILE_CHOSEN || message == WM_MACROGROUP_CHOSEN ||
                                message == WM_MACROFILE_COMMAND || message == WM_LIGHTMODE_CHOSEN ||
                                message == WM_LIGHTCOLOUR_CHOSEN;
    if (privateMessage) g_spy->messages.push_back({message, wParam, IsWindowVisible(g_spy->watched) != FALSE});
    if (message == WM_PAINT && g_spy->watched != nullptr)
        g_spy->watchedAtPaint.emplace_back(IsWindow(g_spy->watched) != FALSE, IsWindowVisible(g_spy->watched) != FALSE);
    return CallWindowProcW(g_spy->previous, window, message, wParam, lParam);
}

// The client area as a window paints it, through WM_PRINTCLIENT.
inline PixelImage Capture(HWND window, int32_t width, int32_t height)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(nullptr);
    {
        SelectGuard selected(dc.Get(), bitmap.Get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    return *ReadBitmapPixels(bitmap.Get());
}

inline PixelImage SkinPixels(const char16_t* name)
{
    const std::optional<ImageBitmap> image = LoadImageBitmap(std::wstring(AsWide(g_skinFolder + name)));
    return image ? *ReadBitmapPixels(image->bitmap.Get()) : PixelImage{};
}

inline uint32_t PixelAt(const PixelImage& image, POINT point)
{
    return image.pixels[static_cast<size_t>(point.y) * image.width + point.x];
}

// JPEG colours come back within a few steps of the source.
inline bool Near(uint32_t a, uint32_t b)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    }
    return true;
}

// The first point of an area where two images clearly differ.
inline POINT DifferingPoint(const PixelImage& a, const PixelImage& b, RECT area)
{
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            uint32_t pa = PixelAt(a, {x, y}), pb = PixelAt(b, {x, y});
            int difference = 0;
            for (int shift : {0, 8, 16})
                difference += std::abs(static_cast<int>((pa >> shift) & 0xFF) - static_cast<int>((pb >> shift) & 0xFF));
            if (difference > 40) return {x, y};
        }
    }
    ADD_FAILURE() << "the two images look alike there";
    return {area.left, area.top};
}

inline bool Invalid(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

// Runs what the message loop has queued (paints included), a bounded number of messages.
inline void Pump()
{
    MSG message{};
    for (int i = 0; i < 500 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

inline RECT RegionBox(HWND window)
{
    RegionOwner region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(window, region.Get()) != ERROR) GetRgnBox(region.Get(), &box);
    return box;
}

inline RECT ScreenRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class PopupsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (IsSkipped()) return;
        ResetPageState();
        ResetPopupState();
        ASSERT_TRUE(Open());
        g_spy = &spy_;
        spy_.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProcedure)));
    }
    void TearDown() override
    {
        CloseMenuPopup();
        if (window_ && Window() != nullptr)
            SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy_.previous));
        g_spy = nullptr;
        ResetPopupState();
        ResetPageState();
    }

    static POINT RowPoint(const PopupDialog& popup, int row)
    {
        return {popup.Width() / 2, (row - 1) * popup.RowHeight() + popup.RowHeight() / 2};
    }
    static void Send(HWND window, UINT message, POINT point)
    {
        SendMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
    }
    // Move over a row, press and release there.
    static void Choose(const PopupDialog& popup, int row)
    {
        const HWND window = popup.Handle();
        const POINT point = RowPoint(popup, row);
        Send(window, WM_MOUSEMOVE, point);
        Send(window, WM_LBUTTONDOWN, point);
        Send(window, WM_LBUTTONUP, point);
    }
    // Hover a row and let the pop-up repaint (which opens the next level).
    static void Hover(const PopupDialog& popup, int row)
    {
        Send(popup.Handle(), WM_MOUSEMOVE, RowPoint(popup, row));
        UpdateWindow(popup.Handle());
    }
    // The pop-up opened, in `mode`, with `rows` rows visible.
    void ExpectOpen(int mode, int rows)
    {
        ASSERT_NE(g_pMenuPopup, nullptr);
        const HWND popup = g_pMenuPopup->Handle();
        EXPECT_TRUE(IsWindowVisible(popup));
        EXPECT_EQ(GetWindow(popup, GW_OWNER), Window());
        EXPECT_EQ(g_menuMode, mode);
        EXPECT_EQ(g_pMenuPopup->Mode(), mode);
        EXPECT_EQ(RegionBox(popup).bottom, rows * g_pMenuPopup->RowHeight()) << mode;
        wchar_t title[32] = {};
        GetWindowTextW(popup, title, 32);
        EXPECT_STREQ(title, kMenuPopupTitle);
    }
    // The chosen row ended the pop-up: the window is gone once the handler has returned.
    void ExpectClosed(HWND popup)
    {
        EXPECT_EQ(g_pMenuPopup, nullptr);
        EXPECT_FALSE(IsWindow(popup));
    }

    MainWindowSpy spy_;
};

}  // namespace
