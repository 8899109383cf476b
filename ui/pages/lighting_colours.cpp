// The colour pickers of the DPI levels and the user lighting colours. The settings keep each
// channel in the mouse's 4-bit inverted form, so the window shows the colour as reduced to that
// form, not the one picked.
#include <mutex>

#include "base/user_prompts.h"
#include "settings/colour_channels.h"
#include "settings/settings_state.h"
#include "ui/window/main_window.h"

namespace {

constexpr int kFirstDpiSwatch = 41;

void PickInto(const CTEV_KestraDlg& window, std::array<uint32_t, 3>& stored, ColorRef& shown)
{
    const std::optional<uint32_t> chosen = GetPrompts().ChooseColour(MakeColorRef(0, 0, 0));
    // An end that came while the dialog was open (Exit, the mouse removed) takes no colour.
    if (!chosen || !window.Live()) return;
    std::lock_guard lock(g_settingsMutex);
    stored = StoredFromColorRef(*chosen);
    shown = ColorRefFromStored(stored);
}

}  // namespace

void CTEV_KestraDlg::PickDpiColor(int swatchId)
{
    const int level = swatchId - kFirstDpiSwatch;
    if (level < 0 || level >= static_cast<int>(kDpiLevelCount)) return;
    PickInto(*this, g_dpiColours[static_cast<size_t>(level)], g_dpiColourRefs[static_cast<size_t>(level)]);
    if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}

void CTEV_KestraDlg::PickLedUserColor(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(kUserColourCount)) return;
    PickInto(*this, g_ledUserColours[static_cast<size_t>(slot)], g_ledUserColourRefs[static_cast<size_t>(slot)]);
    if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}
