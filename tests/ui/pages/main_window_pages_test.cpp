// The advanced and lighting pages and the hover under the real window: pointer moves, presses and
// releases at the layout's coordinates, the colour dialog answered through the prompts.
#include "tests/ui/window/main_window_fixture.h"

#include <future>
#include <thread>

#include "device/device_event_threads.h"
#include "device/program_device_link.h"
#include "settings/config_ini_file.h"
#include "settings/settings_state.h"
#include "tests/lock_probe.h"
#include "ui/pages/led_page_clicks.h"
#include "ui/popups/popup_openers.h"
#include "ui/window/blink_thread.h"
#include "ui/window/led_preview_thread.h"
#include "ui/window/window_messages.h"
#include "winlib/wide.h"

namespace {

int g_paints = 0;
WNDPROC g_windowProcedure = nullptr;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) ++g_paints;
    return CallWindowProcW(g_windowProcedure, window, message, wParam, lParam);
}

POINT Centre(const ButtonPos& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }
POINT LeftEdge(const ButtonPos& r) { return {r.x, r.y + r.height / 2}; }
POINT RightEnd(const ButtonPos& r) { return {r.x + r.width - 1, r.y + r.height / 2}; }

// What still ran when the window's handle was about to go (WM_NCDESTROY, after WM_DESTROY).
struct AtHandleEnd {
    bool seen = false;
    bool deviceThreads = true;
    uint32_t preview = 1;
    uint32_t blink = 1;
};
AtHandleEnd g_atHandleEnd;

LRESULT CALLBACK EndWatchingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) g_atHandleEnd = {true, DeviceThreadsRunning(), g_ledPreviewRunning, g_blinkRunning};
    return CallWindowProcW(g_windowProcedure, window, message, wParam, lParam);
}

class MainWindowPagesTest : public MainWindowTest {
protected:
    void Move(POINT p) { SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void Click(POINT p)
    {
        Move(p);
        SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    const ButtonPos& Advanced(int id) const { return window_->m_advancedPos[static_cast<size_t>(id)]; }
    const ButtonPos& Led(int id) const { return window_->m_ledPos[static_cast<size_t>(id)]; }
    void ClickAdvanced(int id) { Click(Centre(Advanced(id))); }
    void ClickLed(int id) { Click(Centre(Led(id))); }
};

TEST_F(MainWindowPagesTest, HoverRepaintsOnlyWhenAnIdChanges)
{
    ASSERT_TRUE(Open());
    UpdateWindow(Window());
    g_windowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProcedure)));

    // Across the page-0 mouse-button rectangles and back, resting and moving within each one.
    const auto& main = window_->m_mainPos;
    std::vector<POINT> path;
    for (int id = 20; id <= 28; ++id) {
        path.push_back(Centre(main[static_cast<size_t>(id)]));
        path.push_back({main[static_cast<size_t>(id)].x + 1, main[static_cast<size_t>(id)].y + 1});
        path.push_back(Centre(main[static_cast<size_t>(id)]));
    }
    path.push_back({1, 1});
    int changes = 0;
    std::array<int, 3> before = {BUTTON_NONE, BUTTON_NONE, BUTTON_NONE};
    for (const POINT& p : path) {
        g_paints = 0;
        Move(p);
        // The macro table's change waits for the next paint.
        const std::array<int, 3> now = {g_hoverMainButton, g_hoverLedButton, g_hoverAdvancedButton};
        int expected = 0;
        for (size_t t = 0; t < now.size(); ++t) expected += now[t] != before[t] ? 1 : 0;
        EXPECT_EQ(g_paints, expected) << p.x << "," << p.y;
        changes += expected;
        before = now;
    }
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
    // Each of the nine buttons was entered, and the last one left.
    EXPECT_GE(changes, 10);
    // A pointer resting on a button repaints nothing.
    Move(path[0]);
    g_paints = 0;
    Move(path[0]);
    EXPECT_EQ(g_paints, 0);
    SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_windowProcedure));
}

// A paint that finds the settings held by another thread (a device thread's turn) shows the copy
// before and is done again once the repaint timer fires.
TEST_F(MainWindowPagesTest, APaintBesideAHeldSettingsLockIsDoneAgain)
{
    ASSERT_TRUE(Open());
    UpdateWindow(Window());
    KillTimer(Window(), kRepaintTimer);

    std::promise<void> held;
    std::promise<void> letGo;
    std::thread holder([&] {
        std::lock_guard lock(g_settingsMutex);
        held.set_value();
        letGo.get_future().wait();
    });
    held.get_future().wait();
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    letGo.set_value();
    holder.join();

    // The timer was set, and its tick asks for the whole window again.
    EXPECT_TRUE(KillTimer(Window(), kRepaintTimer));
    ValidateRect(Window(), nullptr);
    SendMessageW(Window(), WM_TIMER, kRepaintTimer, 0);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(Window(), &update, FALSE));
}

// The profile switch on the mouse as a device thread makes it, while a lighting press runs: right
// after the press has read the effect, at once when the switch can take the settings there, else
// (as the button-action thread would wait) once the press is done.
bool g_switchPending = false;
void SwitchProfileOnMouse()
{
    ConfigIniFile configIni(g_configIniPath);
    FollowProfileSwitchedOnMouse(configIni);
}
void SwitchAtPressRead()
{
    if (!g_switchPending || !FreeForAnotherThread(g_settingsMutex)) return;
    g_switchPending = false;
    std::thread(SwitchProfileOnMouse).join();
}

// Flow water (profile 1) takes the brightness slider, Breathing (profile 2) does not: the press
// acts on one of them, wholly before or wholly after the switch, and the switch's load has the
// last word either way.
TEST_F(MainWindowPagesTest, ALightingPressBesideAProfileSwitchActsOnOneEffect)
{
    if (!ThreadsRunHere()) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    ASSERT_TRUE(Open());
    ASSERT_TRUE(WritePrivateProfileStringW(L"Config2", L"LED_TYPE", L"0", AsWide(g_configIniPath)));
    ASSERT_EQ(g_ledMode, 3);
    ASSERT_EQ(g_ledBrightness, 1u);
    mouse_.SetActiveProfile(1);
    g_page = kPageLighting;
    g_switchPending = true;
    SetLedPressReadHook(SwitchAtPressRead);
    Click(LeftEdge(Led(40)));
    SetLedPressReadHook(nullptr);
    if (g_switchPending) SwitchProfileOnMouse();
    g_switchPending = false;
    EXPECT_EQ(g_currentProfile, 1u);
    EXPECT_EQ(g_ledMode, 0);
    EXPECT_EQ(g_ledBrightness, 1u);
}

// The window ends on the lighting page, its preview thread waiting out a period of 1.2 s: every
// thread of the program has ended before the handle goes, and no device turn runs after.
TEST_F(MainWindowPagesTest, EndStopsEveryThreadBeforeTheHandleGoes)
{
    g_startDeviceThreads = ThreadsRunHere();
    if (!g_startDeviceThreads) GTEST_SKIP() << "this tree runs under an emulator that ends a program with two threads";
    ASSERT_TRUE(Open());
    ASSERT_TRUE(DeviceThreadsRunning());
    g_ledCycleTime = 0;
    Click(Centre(window_->m_mainPos[9]));
    ASSERT_EQ(g_page, kPageLighting);
    ASSERT_EQ(g_ledPreviewRunning, 1u);
    g_atHandleEnd = {};
    g_windowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EndWatchingProcedure)));

    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_TRUE(g_atHandleEnd.seen);
    EXPECT_FALSE(g_atHandleEnd.deviceThreads);
    EXPECT_EQ(g_atHandleEnd.preview, 0u);
    EXPECT_EQ(g_atHandleEnd.blink, 0u);
    mouse_.QueueInputReport({6, 0x03, 0x00});
    Sleep(50);
    EXPECT_EQ(mouse_.PendingInputReports(), 1u);
}

TEST_F(MainWindowPagesTest, AdvancedPageSlidersDpiLevelsAndColours)
{
    ASSERT_TRUE(Open());
    g_page = kPageAdvanced;

    // Pointer speed, wheel lines and fire time at their edges.
    Click(LeftEdge(Advanced(1)));
    EXPECT_EQ(g_pointerSpeed, 1);
    Click(RightEnd(Advanced(1)));
    EXPECT_EQ(g_pointerSpeed, 10);
    Click(RightEnd(Advanced(18)));
    EXPECT_EQ(g_wheelSpeed, 10);
    Click(LeftEdge(Advanced(18)));
    EXPECT_EQ(g_wheelSpeed, 1);
    Click(RightEnd(Advanced(31)));
    EXPECT_EQ(g_fireTime, 300u);
    Click(LeftEdge(Advanced(31)));
    EXPECT_EQ(g_fireTime, 1u);
    Click(Centre(Advanced(31)));
    EXPECT_EQ(g_fireTime, 150u);

    // A slider rectangle too narrow for ten steps keeps its value.
    window_->m_advancedPos[1].width = 9;
    Click(LeftEdge(Advanced(1)));
    EXPECT_EQ(g_pointerSpeed, 10);

    // Colours: white, black, then 200/100/0, and a cancelled dialog changes nothing.
    prompts_.colourAnswers = {MakeColorRef(255, 255, 255), MakeColorRef(0, 0, 0), MakeColorRef(200, 100, 0),
                              std::nullopt};
    ClickAdvanced(41);
    EXPECT_EQ(g_dpiColours[0], (std::array<uint32_t, 3>{0, 0, 0}));
    EXPECT_EQ(g_dpiColourRefs[0], MakeColorRef(255, 255, 255));
    ClickAdvanced(46);
    EXPECT_EQ(g_dpiColours[5], (std::array<uint32_t, 3>{15, 15, 15}));
    EXPECT_EQ(g_dpiColourRefs[5], MakeColorRef(15, 15, 15));
    ClickAdvanced(43);
    EXPECT_EQ(g_dpiColours[2], (std::array<uint32_t, 3>{3, 9, 15}));
    EXPECT_EQ(g_dpiColourRefs[2], MakeColorRef(207, 111, 15));
    ClickAdvanced(43);
    EXPECT_EQ(g_dpiColourRefs[2], MakeColorRef(207, 111, 15));
    // Each dialog opened on black.
    EXPECT_EQ(prompts_.colourRequests, (std::vector<uint32_t>(4, 0)));

    // Enable switches: off the current level 5 with only level 1 left makes level 1 current;
    // the only enabled level stays on.
    g_dpiSetEnabled = {0, 1, 0, 0, 0, 1};
    g_dpiLevel = 5;
    ClickAdvanced(52);
    EXPECT_EQ(g_dpiSetEnabled, (std::array<uint8_t, 6>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(g_dpiLevel, 1u);
    ClickAdvanced(48);
    EXPECT_EQ(g_dpiSetEnabled[1], 1);
    EXPECT_EQ(g_dpiLevel, 1u);
    ClickAdvanced(47);
    EXPECT_EQ(g_dpiSetEnabled[0], 1);
    // A disabled level cannot become current; an enabled one can.
    ClickAdvanced(62);
    EXPECT_EQ(g_dpiLevel, 1u);
    ClickAdvanced(60);
    EXPECT_EQ(g_dpiLevel, 0u);
    // Step buttons, for a disabled level too.
    ClickAdvanced(66 + 12 * 4 + 7);
    EXPECT_EQ(g_dpiSet[4], 7);
    EXPECT_EQ(g_dpiBarPos[4], 66u + 12 * 4 + 7);
    ClickAdvanced(66);
    EXPECT_EQ(g_dpiSet[0], 0);
    EXPECT_EQ(g_dpiBarPos[0], 66u);
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MainWindowPagesTest, LightingPageControlsActForTheirEffects)
{
    ASSERT_TRUE(Open());
    g_page = kPageLighting;
    g_currentProfile = 1;

    // User colours only for the effects that show them, with user colours on and the slot cycling.
    g_ledMode = 1;
    g_ledUserColourEnabled = 0;
    g_cycleColourEnabled = {1, 1, 0, 0, 0, 0, 0};
    prompts_.colourAnswers = {MakeColorRef(200, 100, 0), MakeColorRef(255, 255, 255)};
    ClickLed(0);
    EXPECT_TRUE(prompts_.colourRequests.empty());
    ClickLed(14);
    EXPECT_EQ(g_ledUserColourEnabled, 1u);
    ClickLed(2);
    EXPECT_TRUE(prompts_.colourRequests.empty());
    ClickLed(1);
    EXPECT_EQ(g_ledUserColours[1], (std::array<uint32_t, 3>{3, 9, 15}));
    EXPECT_EQ(g_ledUserColourRefs[1], MakeColorRef(207, 111, 15));
    g_ledMode = 6;
    ClickLed(1);
    EXPECT_EQ(prompts_.colourRequests.size(), 1u);

    // Cycle colours: on, off, and the last one stays on.
    ClickLed(7 + 3);
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{1, 1, 0, 1, 0, 0, 0}));
    ClickLed(7);
    ClickLed(8);
    ClickLed(7 + 3);
    EXPECT_EQ(g_cycleColourEnabled, (std::array<uint32_t, 7>{0, 0, 0, 1, 0, 0, 0}));

    // Brightness: 6 at the left edge, 0 at the right end, nothing for Breathing or Neon.
    g_ledMode = 2;
    Click(RightEnd(Led(40)));
    EXPECT_EQ(g_ledBrightness, 0u);
    Click(LeftEdge(Led(40)));
    EXPECT_EQ(g_ledBrightness, 6u);
    for (uint8_t mode : {0, 6}) {
        g_ledMode = mode;
        Click(RightEnd(Led(40)));
        EXPECT_EQ(g_ledBrightness, 6u);
    }
    // Speed, not for Constantly or Mute.
    g_ledMode = 5;
    Click(RightEnd(Led(41)));
    EXPECT_EQ(g_ledCycleTime, 5);
    g_ledMode = 9;
    Click(LeftEdge(Led(41)));
    EXPECT_EQ(g_ledCycleTime, 5);
    g_ledMode = 4;
    Click(LeftEdge(Led(41)));
    EXPECT_EQ(g_ledCycleTime, 0);

    // Symmetry, directions, and direction 3 for Flow water only.
    ClickLed(45);
    EXPECT_EQ(g_ledSymmetry, 1u);
    ClickLed(45);
    EXPECT_EQ(g_ledSymmetry, 0u);
    ClickLed(49);
    EXPECT_EQ(g_ledDirection, 2u);
    ClickLed(50);
    EXPECT_EQ(g_ledDirection, 2u);
    g_ledMode = 3;
    ClickLed(50);
    EXPECT_EQ(g_ledDirection, 3u);
    ClickLed(47);
    EXPECT_EQ(g_ledDirection, 0u);
    ClickLed(48);
    EXPECT_EQ(g_ledDirection, 1u);

    // Reaction switches of the current profile's row only, the first and the last.
    const auto firstBefore = g_ledReactEnabled[1][0];
    const auto otherProfile = g_ledReactEnabled[0];
    ClickLed(51);
    EXPECT_EQ(g_ledReactEnabled[1][0], firstBefore == 0 ? 1u : 0u);
    ClickLed(51);
    EXPECT_EQ(g_ledReactEnabled[1][0], firstBefore);
    EXPECT_EQ(g_ledReactEnabled[0], otherProfile);
    ClickLed(51 + 8);
    EXPECT_EQ(g_ledReactEnabled[1][8], 1u);
    EXPECT_EQ(g_ledReactEnabled[0][8], 0u);
    ClickLed(51 + 8);
    EXPECT_EQ(g_ledReactEnabled[1][8], 0u);

    // The effect pop-up stays owned by its button; the reaction-type pop-up opens for Button
    // response only and is not owned.
    ClickLed(35);
    EXPECT_EQ(g_popupOwnerButton, 35);
    EXPECT_EQ(g_menuMode, kMenuLedEffects);
    ClickLed(61);
    EXPECT_EQ(g_menuMode, kMenuLedEffects);
    g_ledMode = 8;
    ClickLed(62);
    EXPECT_EQ(g_menuMode, kMenuReactionTypes);
    EXPECT_EQ(g_popupOwnerButton, BUTTON_NONE);
    EXPECT_TRUE(prompts_.shown.empty());
}

}  // namespace
