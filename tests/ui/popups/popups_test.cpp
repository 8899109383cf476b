// The skinned pop-ups and the warning box over the real main window: opened as the presses open
// them, driven with pointer messages at their rows, checked in the settings, in what reached the
// main window and in what was painted.
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
MainWindowSpy* g_spy = nullptr;

LRESULT CALLBACK SpyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
PixelImage Capture(HWND window, int32_t width, int32_t height)
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

PixelImage SkinPixels(const char16_t* name)
{
    const std::optional<ImageBitmap> image = LoadImageBitmap(std::wstring(AsWide(g_skinFolder + name)));
    return image ? *ReadBitmapPixels(image->bitmap.Get()) : PixelImage{};
}

uint32_t PixelAt(const PixelImage& image, POINT point)
{
    return image.pixels[static_cast<size_t>(point.y) * image.width + point.x];
}

// JPEG colours come back within a few steps of the source.
bool Near(uint32_t a, uint32_t b)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    }
    return true;
}

// The first point of an area where two images clearly differ.
POINT DifferingPoint(const PixelImage& a, const PixelImage& b, RECT area)
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

bool Invalid(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

// Runs what the message loop has queued (paints included), a bounded number of messages.
void Pump()
{
    MSG message{};
    for (int i = 0; i < 500 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

RECT RegionBox(HWND window)
{
    RegionOwner region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(window, region.Get()) != ERROR) GetRgnBox(region.Get(), &box);
    return box;
}

RECT ScreenRect(HWND window)
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

TEST_F(PopupsTest, MainAndLightingPageModesOpenBelowTheirButtonAndAChosenRowIsStored)
{
    // Mode 0, the profiles, below rectangle 11.
    OpenProfilePopup(*window_);
    ExpectOpen(kMenuProfiles, 4);
    const RECT main = ScreenRect(Window());
    const ButtonPos& profileRect = window_->m_mainPos[11];
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).left, main.left + profileRect.x);
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).top, main.top + profileRect.y + profileRect.height);
    EXPECT_EQ(g_popupOwnerButton, 11);
    HWND popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 2);
    ExpectClosed(popup);
    EXPECT_EQ(g_currentProfile, 1u);
    ASSERT_EQ(spy_.messages.size(), 1u);
    EXPECT_EQ(spy_.messages[0].message, WM_PROFILE_CHOSEN);

    // Mode 1 on a button whose profile keeps another left click: no warning box.
    g_currentProfile = 0;
    OpenFunctionPopup(*window_, 22);
    ExpectOpen(kMenuFunctions, 10);
    EXPECT_EQ(prompts_.warningBoxes, 0);
    EXPECT_EQ(g_popupOwnerButton, 22);
    EXPECT_EQ(g_menuPopupOpen, 1);
    popup = g_pMenuPopup->Handle();
    // Rows 7 to 10 have their own pop-up; a release there stores nothing and keeps it open.
    Choose(*g_pMenuPopup, 7);
    EXPECT_TRUE(IsWindow(popup));
    Choose(*g_pMenuPopup, 5);
    ExpectClosed(popup);
    EXPECT_EQ(g_buttonAssignments[0][2], 5u);

    // Mode 4: row 9 is "Button response".
    OpenLedEffectPopup(*window_);
    ExpectOpen(kMenuLedEffects, 10);
    EXPECT_EQ(g_popupOwnerButton, 35);
    popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 9);
    ExpectClosed(popup);
    EXPECT_EQ(g_ledMode, 8);
    EXPECT_EQ(g_ledType, 8);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);

    // Mode 5 keeps the button it was opened for, although the pointer has left it since.
    g_hoverLedButton = 63;
    OpenReactionPopup(*window_, 63);
    ExpectOpen(kMenuReactionTypes, 4);
    g_hoverLedButton = BUTTON_NONE;
    popup = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 4);
    ExpectClosed(popup);
    EXPECT_EQ(g_ledReactType[0][2], 3u);
    EXPECT_EQ(spy_.messages.size(), 1u);
}

TEST_F(PopupsTest, MacroPageModesSendTheirMessageWhileThePopupIsHidden)
{
    const PopupPlace place{100, 100, 200, 360};
    ASSERT_EQ(g_macroGroupCount, 3);

    // Mode 2: three groups, three rows.
    OpenMenuPopup(Window(), kMenuMacroGroups, place);
    ExpectOpen(kMenuMacroGroups, 3);
    spy_.watched = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 3);
    ExpectClosed(spy_.watched);
    EXPECT_EQ(g_currentGroup, 2);

    // Mode 3: the file command may open a file dialog; the pop-up is out of the way first.
    OpenMenuPopup(Window(), kMenuFileCommands, place);
    ExpectOpen(kMenuFileCommands, 3);
    spy_.watched = g_pMenuPopup->Handle();
    Choose(*g_pMenuPopup, 1);
    ExpectClosed(spy_.watched);

    // Modes 6 and 7 write the block chosen when they opened.
    g_currentMacro = 0;
    g_lightBlockIndex = 1;
    OpenMenuPopup(Window(), kMenuLightModes, place);
    ExpectOpen(kMenuLightModes, 5);
    g_lightBlockIndex = 200;
    Choose(*g_pMenuPopup, 5);
    g_lightBlockIndex = 1;
    OpenMenuPopup(Window(), kMenuLightColours, place);
    ExpectOpen(kMenuLightColours, 7);
    Choose(*g_pMenuPopup, 3);
    EXPECT_EQ(g_macroTable[0].lightBlocks[1].steps[0].mode, 7);
    EXPECT_EQ(g_macroTable[0].lightBlocks[1].steps[0].colour, 3);

    ASSERT_EQ(spy_.messages.size(), 4u);
    EXPECT_EQ(spy_.messages[0].message, WM_MACROGROUP_CHOSEN);
    EXPECT_EQ(spy_.messages[0].wParam, 0u);
    EXPECT_EQ(spy_.messages[1].message, WM_MACROFILE_COMMAND);
    EXPECT_EQ(spy_.messages[1].wParam, 1u);
    EXPECT_EQ(spy_.messages[2].message, WM_LIGHTMODE_CHOSEN);
    EXPECT_EQ(spy_.messages[2].wParam, 4u);
    EXPECT_EQ(spy_.messages[3].message, WM_LIGHTCOLOUR_CHOSEN);
    EXPECT_EQ(spy_.messages[3].wParam, 3u);
    for (const Received& received : spy_.messages) EXPECT_FALSE(received.senderShown) << received.message;
}

TEST_F(PopupsTest, HoverRowsRepaintOnlyOnChangeAndDrawTheirStrip)
{
    OpenProfilePopup(*window_);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const CMenuDlg& menu = *g_pMenuPopup;
    const HWND popup = menu.Handle();
    const PixelImage normal = SkinPixels(u"\\menu_normal.jpg");
    const PixelImage over = SkinPixels(u"\\menu_over.jpg");
    const PixelImage down = SkinPixels(u"\\menu_down.jpg");
    const int32_t h = menu.RowHeight();
    const POINT inRow2 = DifferingPoint(normal, over, {0, h, 12, h + 6});

    UpdateWindow(popup);
    Send(popup, WM_MOUSEMOVE, RowPoint(menu, 2));
    EXPECT_EQ(g_menuHoverRow, 2);
    EXPECT_TRUE(Invalid(popup));
    UpdateWindow(popup);
    Send(popup, WM_MOUSEMOVE, {RowPoint(menu, 2).x + 3, RowPoint(menu, 2).y + 1});
    EXPECT_FALSE(Invalid(popup));
    PixelImage shown = Capture(popup, menu.Width(), menu.PopupHeight());
    EXPECT_TRUE(Near(PixelAt(shown, inRow2), PixelAt(over, inRow2)));
    EXPECT_TRUE(Near(PixelAt(shown, {inRow2.x, inRow2.y - h}), PixelAt(normal, {inRow2.x, inRow2.y - h})));

    // Held down, the row comes from the pressed image.
    Send(popup, WM_LBUTTONDOWN, RowPoint(menu, 2));
    shown = Capture(popup, menu.Width(), menu.PopupHeight());
    EXPECT_TRUE(Near(PixelAt(shown, inRow2), PixelAt(down, inRow2)));

    // Off every row: no strip at all.
    Send(popup, WM_MOUSEMOVE, {menu.Width() + 4, 2});
    EXPECT_EQ(g_menuHoverRow, BUTTON_NONE);
    EXPECT_TRUE(Invalid(popup));
    shown = Capture(popup, menu.Width(), menu.PopupHeight());
    for (int row = 1; row <= 4; ++row) {
        const POINT point{inRow2.x, inRow2.y + (row - 2) * h};
        EXPECT_TRUE(Near(PixelAt(shown, point), PixelAt(normal, point))) << row;
    }
    // A release on no row keeps the pop-up.
    Send(popup, WM_LBUTTONUP, {menu.Width() + 4, 2});
    EXPECT_TRUE(IsWindowVisible(popup));
}

TEST_F(PopupsTest, TheFirstProfilesLastLeftClickAsksTheWarningBoxFirst)
{
    ASSERT_EQ(g_buttonAssignments[0][0], 1u);  // the only left click of the shipped profile 1
    prompts_.warningAnswer = WarningAnswer::Cancel;
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 1);
    EXPECT_EQ(g_pMenuPopup, nullptr);
    EXPECT_EQ(g_menuPopupOpen, 0);
    EXPECT_EQ(g_popupOwnerButton, 20);
    const RECT main = ScreenRect(Window());
    EXPECT_EQ(g_popupPos.x, main.left + window_->m_mainPos[20].x);
    EXPECT_EQ(g_popupPos.y, main.top + window_->m_mainPos[20].y + window_->m_mainPos[20].height);

    prompts_.warningAnswer = WarningAnswer::GoOn;
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    ExpectOpen(kMenuFunctions, 10);
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).left, g_popupPos.x + 1);
    Choose(*g_pMenuPopup, 2);
    EXPECT_EQ(g_buttonAssignments[0][0], 2u);
    EXPECT_EQ(g_buttonAssignments[0][1], 1u);

    // Another profile is never guarded.
    g_currentProfile = 1;
    g_buttonAssignments[1] = {1, 2, 2, 2, 2, 2, 2, 2, 2};
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    Choose(*g_pMenuPopup, 3);
    EXPECT_EQ(g_buttonAssignments[1], (std::array<ButtonAssignmentCode, 9>{3, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST_F(PopupsTest, TheSecondLevelFollowsTheHoveredRowAndAMediaKeyEndsBothPopups)
{
    OpenFunctionPopup(*window_, 22);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const CMenuDlg& menu = *g_pMenuPopup;
    const HWND menuWindow = menu.Handle();
    const RECT menuRect = ScreenRect(menuWindow);

    Hover(menu, 7);
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    const HWND row7 = g_pSubMenuPopup->Handle();
    EXPECT_EQ(GetWindow(row7, GW_OWNER), menuWindow);
    EXPECT_EQ(ScreenRect(row7).left, menuRect.left + menu.Width());
    EXPECT_EQ(ScreenRect(row7).top, menuRect.top + menu.RowHeight());
    EXPECT_EQ(RegionBox(row7).bottom, 11 * g_pSubMenuPopup->RowHeight() + 1);

    Hover(menu, 8);
    EXPECT_FALSE(IsWindow(row7));
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    // Painting the new level does not make the first one repaint and open it again.
    const HWND opened = g_pSubMenuPopup->Handle();
    Pump();
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_pSubMenuPopup->Handle(), opened);
    EXPECT_EQ(g_subMenuPopupOpen, 1);
    const CSubMenuDlg& subMenu = *g_pSubMenuPopup;
    const HWND subWindow = subMenu.Handle();
    EXPECT_EQ(subMenu.ParentRow(), 8);
    EXPECT_EQ(ScreenRect(subWindow).top, menuRect.top - 2 * menu.RowHeight());
    wchar_t title[32] = {};
    GetWindowTextW(subWindow, title, 32);
    EXPECT_STREQ(title, kSubMenuPopupTitle);

    // A release on the line below the last row stays open.
    Send(subWindow, WM_MOUSEMOVE, {10, 10 * subMenu.RowHeight()});
    Send(subWindow, WM_LBUTTONUP, {10, 10 * subMenu.RowHeight()});
    EXPECT_TRUE(IsWindowVisible(subWindow));

    spy_.watched = subWindow;
    Choose(subMenu, 3);
    EXPECT_EQ(g_buttonAssignments[0][2], 24u);
    EXPECT_FALSE(IsWindow(subWindow));
    ExpectClosed(menuWindow);
    EXPECT_EQ(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_subMenuPopupOpen, 0);
    // The main window painted the choice at once and cleared the flag.
    EXPECT_EQ(g_subMenuChosen, 0);
    ASSERT_FALSE(spy_.watchedAtPaint.empty());
    EXPECT_EQ(spy_.watchedAtPaint.back(), std::make_pair(true, false));
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
}

TEST_F(PopupsTest, AMacroChosenInTheThirdLevelEndsAllThreeAfterItsHandler)
{
    OpenFunctionPopup(*window_, 20);  // the only left click: the warning box goes on
    EXPECT_EQ(prompts_.warningBoxes, 1);
    ASSERT_NE(g_pMenuPopup, nullptr);
    const HWND menuWindow = g_pMenuPopup->Handle();
    Hover(*g_pMenuPopup, 9);
    ASSERT_NE(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_subMenuMacroMode, 1);
    EXPECT_EQ(g_subMenuRowCount, 3);
    const HWND subWindow = g_pSubMenuPopup->Handle();
    const RECT subRect = ScreenRect(subWindow);

    Hover(*g_pSubMenuPopup, 1);
    ASSERT_NE(g_pMacroChoicePopup, nullptr);
    const MacSelMenuDlg& choice = *g_pMacroChoicePopup;
    const int macros = g_groupMacroCounts[0];
    ASSERT_GE(macros, 2);
    EXPECT_EQ(choice.GroupRow(), 1);
    EXPECT_EQ(GetWindow(choice.Handle(), GW_OWNER), subWindow);
    EXPECT_EQ(ScreenRect(choice.Handle()).left, subRect.left + g_pSubMenuPopup->Width());
    EXPECT_EQ(ScreenRect(choice.Handle()).top, subRect.top + (1 - macros / 2 - 1) * choice.RowHeight());
    EXPECT_EQ(RegionBox(choice.Handle()).bottom, macros * choice.RowHeight() + 1);
    // Off the group rows the macro choice stays open.
    Send(subWindow, WM_MOUSEMOVE, {g_pSubMenuPopup->Width() + 2, 1});
    UpdateWindow(subWindow);
    ASSERT_NE(g_pMacroChoicePopup, nullptr);

    // The release ends all three from inside the macro choice's handler: the main window
    // paints (and closes the chain) while the pop-ups' windows still exist, hidden.
    const HWND choiceWindow = choice.Handle();
    spy_.watched = choiceWindow;
    Choose(choice, 2);
    EXPECT_EQ(g_buttonAssignments[0][0], MakeFileMacroCode(0, 1));
    EXPECT_EQ(g_buttonAssignments[0][1], 1u);
    ASSERT_FALSE(spy_.watchedAtPaint.empty());
    EXPECT_EQ(spy_.watchedAtPaint.back(), std::make_pair(true, false));
    EXPECT_FALSE(IsWindow(choiceWindow));
    EXPECT_FALSE(IsWindow(subWindow));
    ExpectClosed(menuWindow);
    EXPECT_EQ(g_pSubMenuPopup, nullptr);
    EXPECT_EQ(g_pMacroChoicePopup, nullptr);
    EXPECT_EQ(g_macroChoicePopupOpen, 0);
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
}

TEST_F(PopupsTest, WarningBoxIsCutFromItsMaskPaintsItsHoverAndEndsWithItsButtons)
{
    g_popupPos = {30, 40};
    const PixelImage mask = SkinPixels(u"\\warning_mask.jpg");
    const PixelImage normal = SkinPixels(u"\\warning_normal.jpg");
    const PixelImage over = SkinPixels(u"\\warning_over.jpg");
    const ButtonPos goOn = g_warningPos[0];
    const ButtonPos cancel = g_warningPos[1];
    const ButtonPos message = g_warningPos[2];
    const POINT goOnCentre{goOn.x + goOn.width / 2, goOn.y + goOn.height / 2};
    const POINT cancelCentre{cancel.x + cancel.width / 2, cancel.y + cancel.height / 2};

    WarningDlg box;
    ASSERT_TRUE(box.Create(Window()));
    const HWND window = box.Handle();
    ShowWindow(window, SW_SHOWNA);
    EXPECT_EQ(GetWindow(window, GW_OWNER), Window());
    EXPECT_EQ(ScreenRect(window).left, 30);
    EXPECT_EQ(ScreenRect(window).top, 40);
    EXPECT_EQ(g_warningWidth, mask.width);
    EXPECT_EQ(g_warningHeight, mask.height);
    RegionOwner shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, shape.Get()), ERROR);
    const std::vector<bool> inside = RegionPixels(shape.Get(), mask.width, mask.height);
    int mismatches = 0;
    for (size_t i = 0; i < inside.size(); ++i) mismatches += (inside[i] == IsMaskPixelCut(mask.pixels[i])) ? 1 : 0;
    EXPECT_EQ(mismatches, 0);

    const POINT inCancel = DifferingPoint(normal, over, {cancel.x, cancel.y, cancel.x + cancel.width, cancel.y + cancel.height});
    Send(window, WM_MOUSEMOVE, cancelCentre);
    EXPECT_EQ(g_warningHover, 2);
    EXPECT_TRUE(Invalid(window));
    UpdateWindow(window);
    Send(window, WM_MOUSEMOVE, {cancelCentre.x + 1, cancelCentre.y});
    EXPECT_FALSE(Invalid(window));
    const PixelImage shown = Capture(window, mask.width, mask.height);
    EXPECT_TRUE(Near(PixelAt(shown, inCancel), PixelAt(over, inCancel)));

    // Enter and a release over the message do nothing; the cancel button ends with 2.
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    Send(window, WM_MOUSEMOVE, {message.x + 2, message.y + 2});
    Send(window, WM_LBUTTONUP, {message.x + 2, message.y + 2});
    EXPECT_TRUE(IsWindow(window));
    Send(window, WM_MOUSEMOVE, cancelCentre);
    Send(window, WM_LBUTTONUP, cancelCentre);
    EXPECT_EQ(box.Result(), WarningResult::Cancel);
    EXPECT_FALSE(IsWindow(window));

    // The next box starts with the last hover until the pointer moves; go on ends with 1.
    WarningDlg again;
    ASSERT_TRUE(again.Create(Window()));
    EXPECT_EQ(g_warningHover, 2);
    Send(again.Handle(), WM_MOUSEMOVE, goOnCentre);
    Send(again.Handle(), WM_LBUTTONUP, goOnCentre);
    EXPECT_EQ(again.Result(), WarningResult::GoOn);

    WarningDlg escaped;
    ASSERT_TRUE(escaped.Create(Window()));
    SendMessageW(escaped.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(escaped.Result(), WarningResult::Cancel);
}

}  // namespace
