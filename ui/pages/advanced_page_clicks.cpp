// Presses on the advanced page: DPI levels (colour, enable switch, current level, step), pointer
// speed, wheel lines and fire time. The values reach the mouse with the next apply.
#include <mutex>

#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/pages/slider_values.h"
#include "ui/window/main_window.h"

namespace {

constexpr int kPointerSpeedSlider = 1;
constexpr int kWheelSpeedSlider = 18;
constexpr int kFireTimeSlider = 31;
constexpr int kFirstDpiSwatch = 41, kLastDpiSwatch = 46;
constexpr int kFirstDpiSwitch = 47, kLastDpiSwitch = 52;
constexpr int kFirstDpiLevel = 60, kLastDpiLevel = 65;

}  // namespace

void CTEV_KestraDlg::OnAdvancedPagePress(POINT point)
{
    // Tab 7 is this page.
    if (g_hoverMainButton == 6 || g_hoverMainButton == 8 || g_hoverMainButton == 9) OnTabPress(g_hoverMainButton);

    const int id = g_hoverAdvancedButton;
    if (id < 0 || static_cast<size_t>(id) >= m_advancedPos.size()) return;
    const ButtonPos& rect = m_advancedPos[static_cast<size_t>(id)];
    const int32_t offset = SliderOffset(point.x, rect);

    if (id >= kFirstDpiSwatch && id <= kLastDpiSwatch) {
        PickDpiColor(id);
        return;
    }
    // A profile switched on the mouse loads every one of these values, and the button-action
    // thread moves the current level.
    std::lock_guard lock(g_settingsMutex);
    if (id == kPointerSpeedSlider || id == kWheelSpeedSlider) {
        uint8_t& speed = id == kPointerSpeedSlider ? g_pointerSpeed : g_wheelSpeed;
        if (std::optional<uint8_t> value = TenStepValue(offset, rect.width, speed)) speed = *value;
        InvalidateRect(Handle(), nullptr, TRUE);
    } else if (id == kFireTimeSlider) {
        if (std::optional<uint32_t> value = FireTimeValue(offset, rect.width)) g_fireTime = *value;
        InvalidateRect(Handle(), nullptr, TRUE);
    } else if (id >= kFirstDpiSwitch && id <= kLastDpiSwitch) {
        ToggleDpiLevel(g_dpiSetEnabled, g_dpiLevel, static_cast<uint32_t>(id - kFirstDpiSwitch));
    } else if (id >= kFirstDpiLevel && id <= kLastDpiLevel) {
        const auto level = static_cast<uint32_t>(id - kFirstDpiLevel);
        if (g_dpiSetEnabled[level] != 0) g_dpiLevel = level;
    } else if (id >= kFirstDpiStepButton && id <= kLastDpiStepButton) {
        const DpiStep step = DpiStepOfButton(id);
        g_dpiSet[step.level] = step.step;
        g_dpiBarPos[step.level] = static_cast<uint32_t>(id);
    }
}
