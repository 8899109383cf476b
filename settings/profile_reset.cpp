#include "settings/profile_reset.h"

#include <mutex>
#include <vector>

#include "base/user_prompts.h"
#include "settings/file_write_failure.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

namespace {

bool ResetProfileLocked(IniSource& ini)
{
    // A configuration without its factory sections (one imported from elsewhere) would have every
    // profile replaced by zeros.
    for (int n = 2; n <= static_cast<int>(kProfileCount); ++n) {
        if (!HoldsProfile(ini, ProfileSectionName(true, n))) return false;
    }
    LoadProfile(ini, 2, true);
    // Whatever the factory section holds, a reset ends with these.
    g_wheelStatus = 0;
    g_ledDirection = 1;
    g_ledType = 7;
    g_ledMode = 7;
    g_ledCycleTime = 2;
    g_cycleColourMask = 127;
    g_cycleColourEnabled.fill(1);
    g_fireTime = kDefaultFireTime;
    g_usbSpeed = 2;
    g_pointerSpeed = 5;
    g_wheelSpeed = 2;
    for (size_t i = 0; i < kDpiLevelCount; ++i) g_dpiColourRefs[i] = ColorRefFromStored(g_dpiColours[i]);
    SaveConfigToIni(ini, 2);
    return true;
}

}  // namespace

bool ResetProfile(IniSource& ini)
{
    // A save that fails is told once the lock is released.
    return ShowMessagesAfter([&] {
        std::scoped_lock lock(g_settingsMutex);
        return ResetProfileLocked(ini);
    });
}

void StoreAndLoadFrameProfile(IniSource& ini)
{
    std::unique_lock lock(g_settingsMutex);
    // A section 6 short of a program-wide key (a configuration imported from elsewhere, one
    // edited by hand) would load 0 for it: no DPI level on, no colour, no speed. The current
    // profile's own section serves then, and keeps the DPI level instead.
    const int section = HoldsProgramWideSettings(ini, ProfileSectionName(false, kFrameProfileSection))
                            ? kFrameProfileSection
                            : static_cast<int>(g_curConfig >= 1 && g_curConfig <= kProfileCount ? g_curConfig : 1);
    const bool written = SaveDpiLevel(ini, section);
    const size_t profile = g_currentProfile < kProfileCount ? g_currentProfile : 0;
    const auto enabled = g_ledReactEnabled[profile];
    const auto type = g_ledReactType[profile];
    LoadProfile(ini, section, false);
    g_ledReactEnabled[profile] = enabled;
    g_ledReactType[profile] = type;
    // Told once the lock is released.
    lock.unlock();
    if (!written) ReportWriteFailure(ini.Path());
}
