// config.ini as a user or another program may leave it: the [Init] reader and the profile loader
// over any bytes, then the property that a save of what was loaded loads back to the same state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/memory_ini.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

namespace {

std::u16string Saved()
{
    MemoryIniFile out;
    SaveConfigToIni(out, 1);
    return out.Text();
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    ResetSettingsState();
    const bool reset = (data[0] & 1) != 0;
    MemoryIniFile ini = MemoryIniFile::FromBytes(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

    LoadInitSection(ini);
    Check(g_curConfig >= 1 && g_curConfig <= 4 && g_currentProfile == g_curConfig - 1 && g_languageEnglish <= 1);
    LoadProfile(ini, static_cast<int>(g_curConfig), reset);
    Check(g_ledMode == g_ledType && g_ledUserColourEnabled == 1);
    for (uint32_t i = 0; i < kDpiLevelCount; ++i) {
        Check(g_dpiBarPos[i] == DpiBarPosition(i, g_dpiSet[i]) && g_dpiSetEnabled[i] <= 1);
        Check(g_dpiColourRefs[i] == ColorRefFromStored(g_dpiColours[i]));
    }

    const std::u16string once = Saved();
    MemoryIniFile again(once);
    LoadProfile(again, static_cast<int>(g_curConfig), false);
    Check(Saved() == once);
    return 0;
}
