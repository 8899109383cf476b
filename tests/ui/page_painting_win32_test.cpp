// The window's paint on a memory context: pixels of chosen rectangles come from the image that
// should show there. The page images are one colour each, so every look is told apart exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "settings/settings_state.h"
#include "tests/temp_folder.h"
#include "tests/ui/layout_fixtures.h"
#include "ui/main_window.h"
#include "ui/main_window_globals.h"
#include "ui/page_state.h"
#include "winlib/device_context.h"
#include "winlib/select_guard.h"

namespace {

constexpr int32_t kWidth = 160;
constexpr int32_t kHeight = 90;
constexpr COLORREF kNormal = RGB(10, 20, 30);
constexpr COLORREF kOver = RGB(200, 40, 40);
constexpr COLORREF kDown = RGB(40, 200, 40);
constexpr COLORREF kNull = RGB(40, 40, 200);

// A one-colour 24-bit bitmap file (GDI+ reads the kind from the contents, not the name).
std::string SolidBitmapFile(COLORREF colour)
{
    const uint32_t rowBytes = (kWidth * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * kHeight;
    std::string file(54 + dataBytes, '\0');
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kWidth);
    put32(22, kHeight);
    file[26] = 1;
    file[28] = 24;
    put32(34, dataBytes);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            const size_t at = 54 + y * rowBytes + x * 3;
            file[at] = static_cast<char>(GetBValue(colour));
            file[at + 1] = static_cast<char>(GetGValue(colour));
            file[at + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    return file;
}

class PagePaintingWin32Test : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSettingsState();
        ResetPageState();
        for (const char* page : {"main", "advanced", "mac", "led"}) {
            folder.Write(std::string("skins/") + page + "_normal.jpg", SolidBitmapFile(kNormal));
            folder.Write(std::string("skins/") + page + "_over.jpg", SolidBitmapFile(kOver));
            folder.Write(std::string("skins/") + page + "_down.jpg", SolidBitmapFile(kDown));
        }
        folder.Write("skins/led_null.jpg", SolidBitmapFile(kNull));
        g_skinFolder = folder.File("skins");
        g_skinWidth = kWidth;
        g_skinHeight = kHeight;
        g_languageEnglish = 1;
        // Frame ids 0..10 in the top row, 10 pixels apart; page ids on a grid below it.
        for (size_t id = 0; id < kMainLayoutCount; ++id) window.m_mainPos[id] = {static_cast<int32_t>(id % 11) * 10, 0, 10, 10};
        for (size_t id = 11; id < kMainLayoutCount; ++id) window.m_mainPos[id].y = 10 + static_cast<int32_t>(id / 11) * 10;
        auto grid = [](auto& table) {
            for (size_t id = 0; id < table.size(); ++id) {
                table[id] = {static_cast<int32_t>(id % 16) * 10, 30 + static_cast<int32_t>(id / 16) * 6, 10, 6};
            }
        };
        grid(window.m_advancedPos);
        grid(window.m_ledPos);
        grid(window.m_macroPos);
    }
    void TearDown() override
    {
        ResetSettingsState();
        ResetPageState();
        g_skinWidth = g_skinHeight = 0;
    }

    // Paints page into a fresh bitmap and keeps it for Pixel().
    void Paint(uint8_t page)
    {
        g_page = page;
        MemoryDc dc;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectGuard select(dc.Get(), bitmap.Get());
        window.PaintWindow(dc.Get());
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        painted.assign(pixels, pixels + kWidth * kHeight);
    }
    COLORREF Pixel(int32_t x, int32_t y) const
    {
        const uint32_t p = painted[y * kWidth + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    // The pixel in the middle of a rectangle.
    COLORREF Inside(const ButtonPos& rect) const { return Pixel(rect.x + rect.width / 2, rect.y + rect.height / 2); }

    TempFolder folder;
    CTEV_KestraDlg window;
    std::vector<uint32_t> painted;
};

TEST_F(PagePaintingWin32Test, EachPageShowsItsLooks)
{
    // Page 0 in Spanish: its tab and the Spanish button pressed, a hovered button.
    g_languageEnglish = 0;
    g_hoverMainButton = 12;
    Paint(kPageMain);
    EXPECT_EQ(Inside(window.m_mainPos[6]), kDown);
    EXPECT_EQ(Inside(window.m_mainPos[4]), kDown);
    EXPECT_EQ(Inside(window.m_mainPos[5]), kNormal);
    EXPECT_EQ(Inside(window.m_mainPos[7]), kNormal);
    EXPECT_EQ(Inside(window.m_mainPos[12]), kOver);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kNormal);

    // Page 1: DPI level 0's colour on its swatch and first two segments, a bar half filled.
    g_languageEnglish = 1;
    g_dpiColourRefs[0] = RGB(255, 0, 0);
    g_dpiBarPos[0] = 67;
    g_pointerSpeed = 5;
    g_fireTime = 900;  // beyond the end: the whole bar, not past it
    Paint(kPageAdvanced);
    const auto& advanced = window.m_advancedPos;
    EXPECT_EQ(Inside(window.m_mainPos[7]), kDown);
    EXPECT_EQ(Inside(window.m_mainPos[5]), kDown);
    EXPECT_EQ(Inside(advanced[41]), RGB(255, 0, 0));
    EXPECT_EQ(Inside(advanced[66]), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(advanced[67].x, advanced[67].y + 2), kNormal);  // the segment's inset edge
    EXPECT_EQ(Inside(advanced[67]), RGB(255, 0, 0));
    EXPECT_EQ(Inside(advanced[68]), kNormal);
    EXPECT_EQ(Pixel(advanced[1].x + 2, advanced[1].y + 2), kDown);
    EXPECT_EQ(Pixel(advanced[1].x + 7, advanced[1].y + 2), kNormal);
    EXPECT_EQ(Pixel(advanced[31].x + 9, advanced[31].y + 2), kDown);
    EXPECT_EQ(Pixel(advanced[32].x, advanced[32].y + 2), kNormal);

    // Page 3 with effect 3: only cover rectangle 71; effect 9 covers 72 as well.
    g_ledMode = g_ledType = 3;
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_mainPos[9]), kDown);
    EXPECT_EQ(Inside(window.m_ledPos[71]), kNull);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNormal);
    g_ledMode = g_ledType = 9;
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNull);

    // A changed image file is read again; a removed one leaves its looks out.
    folder.Write("skins/led_null.jpg", SolidBitmapFile(RGB(90, 90, 90)));
    std::filesystem::last_write_time(folder / "skins/led_null.jpg",
                                     std::filesystem::last_write_time(folder / "skins/led_null.jpg") + std::chrono::seconds(5));
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), RGB(90, 90, 90));
    std::filesystem::remove(folder / "skins/led_null.jpg");
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNormal);
}

}  // namespace
