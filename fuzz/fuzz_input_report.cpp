// The mouse's input report as the device threads take it: the first bytes pick what profile 1's
// buttons are assigned (so media keys, DPI and profile functions and macro steps are reached),
// the rest is the report. One input turn and one button-action turn per run.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/clock.h"
#include "device/apply_tables.h"
#include "device/device_event_threads.h"
#include "macros/memory_profile_files.h"
#include "settings/key_vocabulary.h"
#include "settings/memory_ini.h"
#include "settings/settings_state.h"

namespace {
class NullClock : public Clock {
public:
    void SleepMs(uint32_t) override {}
    uint64_t NowMs() override { return 0; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static NullClock clock;
    SetClock(&clock);
    MemoryIniFile config;
    MemoryProfileFiles files;
    FixedDeviceLinkFiles linkFiles({config, {files, {MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn}, u"m\\"}});

    const std::span<const uint8_t> input(data, size);
    const size_t assigned = input.size() < 9 ? input.size() : 9;
    for (size_t i = 0; i < assigned; ++i) {
        g_buttonAssignments[0][i] = input[i] < 0xF0 ? input[i] : 0x100u + (input[i] & 0x0F);
        g_buttonDpiFlag[0][i] = input[i] & 1;
        g_buttonProfileFlag[0][i] = (input[i] >> 1) & 1;
        g_buttonFireFlag[0][i] = (input[i] >> 2) & 1;
    }
    HandleDeviceInputReport(input.subspan(assigned), linkFiles);
    ButtonActionTurn(linkFiles);
    ResetSettingsState();
    ResetApplyTables();
    return 0;
}
