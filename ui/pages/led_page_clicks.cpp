// Presses on the lighting page: user colours and the colours the effects cycle through, the
// effect, brightness, speed, symmetry, direction and each button's reaction. Several controls
// act only for the effects that use them. The values reach the mouse with the next apply.
#include "ui/pages/led_page_clicks.h"

#include <mutex>

#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/pages/slider_values.h"
#include "ui/popups/popup_openers.h"
#include "ui/window/main_window.h"

namespace {

// Lighting effects (g_ledMode).
constexpr uint8_t kBreathing = 0, kConstantly = 2, kFlowWater = 3, kSingleWater = 4, kCometTail = 5;
constexpr uint8_t kNeon = 6, kAmbilight = 7, kButtonResponse = 8, kMute = 9;

// Lighting page ids.
constexpr int kLastUserColour = 6;
constexpr int kFirstCycleSwitch = 7, kLastCycleSwitch = 13;
constexpr int kUserColourSwitch = 14;
constexpr int kEffectButton = 35;
constexpr int kBrightnessSlider = 40, kSpeedSlider = 41;
constexpr int kSymmetrySwitch = 45;
constexpr int kFirstDirection = 47, kLastDirection = 49, kFlowDirection = 50;
constexpr int kFirstReactSwitch = 51, kLastReactSwitch = 59;
constexpr int kFirstReactType = 61, kLastReactType = 69;

bool UserColoursPickable(uint8_t mode)
{
    return mode != kBreathing && mode != kConstantly && mode != kNeon && mode != kAmbilight &&
           mode != kButtonResponse && mode != kMute;
}

bool BrightnessActs(uint8_t mode)
{
    return mode == kConstantly || mode == kFlowWater || mode == kSingleWater || mode == kCometTail ||
           mode == kButtonResponse;
}

// Whether a dialog or pop-up opens, read in a section of its own: it opens once the lock is let go.
bool UserColourPickable(size_t colour)
{
    std::lock_guard lock(g_settingsMutex);
    return UserColoursPickable(g_ledMode) && g_ledUserColourEnabled != 0 && g_cycleColourEnabled[colour] != 0;
}

uint8_t CurrentEffect()
{
    std::lock_guard lock(g_settingsMutex);
    return g_ledMode;
}

LedPressReadHook g_readHook = nullptr;

}  // namespace

void SetLedPressReadHook(LedPressReadHook hook) { g_readHook = hook; }

void CTEV_KestraDlg::OnLedPagePress(POINT point)
{
    // Tab 9 is this page.
    if (g_hoverMainButton >= 6 && g_hoverMainButton <= 8) OnTabPress(g_hoverMainButton);

    const int id = g_hoverLedButton;
    if (id < 0 || static_cast<size_t>(id) >= m_ledPos.size()) return;
    const ButtonPos& rect = m_ledPos[static_cast<size_t>(id)];
    const int32_t offset = SliderOffset(point.x, rect);
    // Dialogs and pop-ups first, outside the settings lock: a device thread must not wait behind them.
    if (id <= kLastUserColour) {
        if (UserColourPickable(static_cast<size_t>(id))) PickLedUserColor(id);
        return;
    }
    if (id == kEffectButton) {
        OpenLedEffectPopup(*this);
        return;
    }
    if (id >= kFirstReactType && id <= kLastReactType) {
        if (CurrentEffect() == kButtonResponse) OpenReactionPopup(*this, id);
        return;
    }
    // A profile switched on the mouse loads the effect and every one of these values: the effect
    // that decides is read in the section that acts.
    std::lock_guard lock(g_settingsMutex);
    const uint8_t mode = g_ledMode;
    if (g_readHook != nullptr) g_readHook();
    if (id >= kFirstCycleSwitch && id <= kLastCycleSwitch) {
        ToggleCycleColour(g_cycleColourEnabled, static_cast<uint32_t>(id - kFirstCycleSwitch));
    } else if (id == kUserColourSwitch) {
        g_ledUserColourEnabled = 1;
    } else if (id == kBrightnessSlider) {
        if (!BrightnessActs(mode)) return;
        if (std::optional<uint32_t> value = LedBrightnessValue(offset, rect.width)) g_ledBrightness = *value;
        InvalidateRect(Handle(), nullptr, TRUE);
    } else if (id == kSpeedSlider) {
        if (mode == kConstantly || mode == kMute) return;
        if (std::optional<uint8_t> value = LedSpeedValue(offset, rect.width)) g_ledCycleTime = *value;
        InvalidateRect(Handle(), nullptr, TRUE);
    } else if (id == kSymmetrySwitch) {
        g_ledSymmetry = g_ledSymmetry == 0 ? 1 : 0;
    } else if (id >= kFirstDirection && id <= kLastDirection) {
        g_ledDirection = static_cast<uint32_t>(id - kFirstDirection);
    } else if (id == kFlowDirection) {
        if (mode == kFlowWater) g_ledDirection = 3;
    } else if (id >= kFirstReactSwitch && id <= kLastReactSwitch) {
        if (g_currentProfile >= kProfileCount) return;
        uint32_t& reacts = g_ledReactEnabled[g_currentProfile][static_cast<size_t>(id - kFirstReactSwitch)];
        reacts = reacts == 0 ? 1 : 0;
    }
}
