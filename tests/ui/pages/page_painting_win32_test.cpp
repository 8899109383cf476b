// The window's paint on a memory context: pixels of chosen rectangles come from the image that
// should show there. The page images are one colour each, so every look is told apart exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "settings/settings_state.h"
#include "tests/temp_folder.h"
#include "tests/ui/pages/layout_fixtures.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "winlib/device_context.h"
#include "winlib/image_file.h"
#include "winlib/select_guard.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

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

// The window's paint of page into a fresh g_skinWidth x g_skinHeight bitmap, as 0x00RRGGBB pixels.
std::vector<uint32_t> PaintPixels(CTEV_KestraDlg& window, uint8_t page)
{
    g_page = page;
    MemoryDc dc;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), g_skinWidth, -g_skinHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(dc.Get(), bitmap.Get());
    window.PaintWindow(dc.Get());
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> painted(pixels, pixels + static_cast<size_t>(g_skinWidth) * g_skinHeight);
    for (uint32_t& pixel : painted) pixel &= 0x00FFFFFF;
    return painted;
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
        // The page's numbers stand apart, so their texts cover no rectangle the test looks at.
        for (const size_t number : {2, 19, 32}) window.m_advancedPos[number] = {150, 84, 10, 6};
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
    void Paint(uint8_t page) { painted = PaintPixels(window, page); }
    COLORREF Pixel(int32_t x, int32_t y) const
    {
        const uint32_t p = painted[static_cast<size_t>(y) * kWidth + x];
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
    EXPECT_EQ(Pixel(advanced[33].x, advanced[33].y + 2), kNormal);

    // Page 3 with effect 3: only cover rectangle 71; effect 9 covers 72 as well.
    g_ledMode = g_ledType = 3;
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_mainPos[9]), kDown);
    EXPECT_EQ(Inside(window.m_ledPos[71]), kNull);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNormal);
    g_ledMode = g_ledType = 9;
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNull);

    // A changed image file is read again (same size, a later write time); a removed one leaves its looks out.
    const std::u16string coverPath = folder.File("skins/led_null.jpg");
    folder.Write("skins/led_null.jpg", SolidBitmapFile(RGB(90, 90, 90)));
    {
        UniqueHandle file(CreateFileW(AsWide(coverPath), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FILETIME written{};
        ASSERT_TRUE(GetFileTime(file.Get(), nullptr, nullptr, &written));
        written.dwHighDateTime += 1;
        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
    }
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), RGB(90, 90, 90));
    ASSERT_TRUE(DeleteFileW(AsWide(coverPath)));
    Paint(kPageLighting);
    EXPECT_EQ(Inside(window.m_ledPos[72]), kNormal);
}

// The shipped skin: chosen pixels of each page equal the image that should show there. Points lie
// near a rectangle's corner, away from its text.
TEST(ShippedSkinPainting, PagesShowTheRightImages)
{
    ResetSettingsState();
    ResetPageState();
    const std::string skins = std::string(KESTRA_TEST_DATA_DIR) + "/../../skins";
    g_skinFolder = std::u16string(skins.begin(), skins.end());
    g_languageEnglish = 1;
    auto image = [](const char16_t* name) {
        const std::optional<ImageBitmap> bitmap = LoadImageBitmap(std::wstring(AsWide(g_skinFolder + name)));
        return bitmap ? ReadBitmapPixels(bitmap->bitmap.Get()).value_or(PixelImage{}) : PixelImage{};
    };
    const PixelImage mask = image(u"\\main_mask.jpg");
    ASSERT_GT(mask.width, 0);
    g_skinWidth = mask.width;
    g_skinHeight = mask.height;
    CTEV_KestraDlg window;
    window.LoadSkinMainLayout();
    window.LoadSkinColorLayout();
    window.LoadSkinAdvanceLayout();
    window.LoadSkinMacroLayout();
    ASSERT_FALSE(window.Ending());

    std::vector<uint32_t> painted;
    auto at = [&](const PixelImage& from, int32_t x, int32_t y) {
        return std::make_pair(painted[static_cast<size_t>(y) * g_skinWidth + x], from.pixels[static_cast<size_t>(y) * from.width + x]);
    };
    auto expectFrom = [&](const PixelImage& from, int32_t x, int32_t y) {
        const auto [got, want] = at(from, x, y);
        EXPECT_EQ(got, want) << "at " << x << "," << y;
    };

    painted = PaintPixels(window, kPageMain);
    const PixelImage mainDown = image(u"\\main_down.jpg");
    const PixelImage mainNormal = image(u"\\main_normal.jpg");
    const ButtonPos tab = window.m_mainPos[6], english = window.m_mainPos[5], spanish = window.m_mainPos[4];
    expectFrom(mainDown, tab.x + 3, tab.y + 3);
    expectFrom(mainDown, english.x + 2, english.y + 2);
    expectFrom(mainNormal, spanish.x + 2, spanish.y + 2);
    expectFrom(mainNormal, window.m_mainPos[7].x + 3, window.m_mainPos[7].y + 3);

    g_dpiColourRefs[0] = RGB(255, 0, 0);
    g_dpiBarPos[0] = 67;
    g_pointerSpeed = 5;
    painted = PaintPixels(window, kPageAdvanced);
    const PixelImage advancedDown = image(u"\\advanced_down.jpg");
    const PixelImage advancedNormal = image(u"\\advanced_normal.jpg");
    const ButtonPos segment = window.m_advancedPos[67], next = window.m_advancedPos[68], bar = window.m_advancedPos[1];
    EXPECT_EQ(at(advancedNormal, segment.x + 2, segment.y + 2).first, 0x00FF0000u);  // red as 0x00RRGGBB
    expectFrom(advancedNormal, next.x + 2, next.y + 2);
    expectFrom(advancedDown, bar.x + 2, bar.y + bar.height / 2);
    expectFrom(advancedDown, bar.x + bar.width / 2 - 2, bar.y + 1);
    expectFrom(advancedNormal, bar.x + bar.width / 2 + 2, bar.y + 1);
    expectFrom(advancedDown, window.m_mainPos[7].x + 3, window.m_mainPos[7].y + 3);  // the frame in the page's own images

    g_ledMode = g_ledType = 3;
    painted = PaintPixels(window, kPageLighting);
    const PixelImage ledNull = image(u"\\led_null.jpg");
    const PixelImage ledNormal = image(u"\\led_normal.jpg");
    const ButtonPos cover = window.m_ledPos[71], uncovered = window.m_ledPos[72];
    expectFrom(ledNull, cover.x + 2, cover.y + 2);
    expectFrom(ledNull, cover.x + cover.width - 3, cover.y + cover.height - 3);
    expectFrom(ledNormal, uncovered.x + 2, uncovered.y + 2);

    ResetSettingsState();
    ResetPageState();
    g_skinWidth = g_skinHeight = 0;
}

}  // namespace
