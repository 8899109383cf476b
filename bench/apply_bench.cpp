// Applies a full configuration (four profiles, file and constant macros on several buttons, a
// media key, a key assignment) to the simulated mouse through the real clock, and prints the wall
// time against the sum of the sleeps the protocol asks for.
//
//   apply_bench [applies]      (default 1)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "base/clock.h"
#include "device/apply_tables.h"
#include "device/apply_writer.h"
#include "device/device_discovery.h"
#include "device/system_parameters.h"
#include "macros/macro_groups.h"
#include "macros/macro_line_codec.h"
#include "macros/memory_profile_files.h"
#include "settings/ini_value.h"
#include "settings/key_vocabulary.h"
#include "settings/memory_ini.h"
#include "settings/settings_state.h"
#include "sim/simulated_mouse.h"

namespace {

// The system clock, adding up what it was asked to sleep.
class CountingClock : public Clock {
public:
    void SleepMs(uint32_t ms) override
    {
        asked_ += ms;
        system_.SleepMs(ms);
    }
    uint64_t NowMs() override { return system_.NowMs(); }
    uint64_t Asked() const { return asked_; }

private:
    SystemClock system_;
    uint64_t asked_ = 0;
};

MacroRecord Macro(uint16_t keys, uint16_t moves)
{
    MacroRecord r{};
    r.repeatCount = 1;
    for (uint16_t i = 0; i < keys; ++i) {
        r.SetEvent(r.eventCount++, {1, static_cast<uint8_t>(4 + i % 26), 0, 0, 30});
        r.SetEvent(r.eventCount++, {2, static_cast<uint8_t>(4 + i % 26), 0, 0, 400});
    }
    for (uint16_t i = 0; i < moves; ++i) {
        r.SetEvent(r.eventCount++, {static_cast<uint8_t>(3 + i % 4), 0xF6, 10, 5, 20});
        ++r.moveCount;
    }
    return r;
}

void FillConfiguration(MemoryProfileFiles& files, const std::u16string& folder, const MacroKeyLayout& layout)
{
    files.Put(folder + u"macroGrp.ini", u"MACRO_GROUP_NUM", u"macGrpNum", u"2");
    files.Put(folder + u"macroGrp.ini", u"MACRO_GROUP_NAME", u"0", u"Games");
    files.Put(folder + u"macroGrp.ini", u"MACRO_GROUP_NAME", u"1", u"Office");
    for (const char16_t* group : {u"Games", u"Office"}) {
        const std::u16string path = folder + group + u".dat";
        files.Put(path, u"Macros", u"macroNum", u"4");
        for (int m = 0; m < 4; ++m)
            files.Put(path, u"Macros", FormatIniInt(m),
                      EncodeMacroLine(Macro(static_cast<uint16_t>(4 + 6 * m), static_cast<uint16_t>(2 * m)),
                                      layout.hidToVk));
    }
    g_macroGroupCount = 2;
    g_macroGroupNames[0] = u"Games";
    g_macroGroupNames[1] = u"Office";
    for (int m = 0; m < 13; ++m) g_constMacroTable[m] = Macro(static_cast<uint16_t>(2 + m), 0);

    g_buttonAssignments[0] = {1, 2, 3, 0x100, 0x101, 16, 22, 33, 40};
    g_buttonAssignments[1] = {1, 0x102, 0x103, 0x200, 5, 18, 23, 34, 70 + 30};
    g_buttonAssignments[2] = {0x201, 2, 3, 0x202, 0x203, 6, 24, 35, 36};
    g_buttonAssignments[3] = {1, 0x100, 0x201, 4, 5, 19, 25, 37, 38};
    g_dpiSet = {0, 2, 4, 7, 9, 11};
    g_dpiSetEnabled = {1, 1, 1, 1, 1, 1};
    g_ledMode = g_ledType = 3;
    g_ledCycleTime = 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const int applies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    CountingClock clock;
    ScopedClock clockScope(clock);
    SimulatedMouse mouse;
    ScopedHidPort portScope(mouse);
    RecordingSystemParameters system;
    SetSystemParameters(&system);
    FindDevice(0);

    MemoryIniFile config;
    MemoryProfileFiles files;
    const std::u16string folder = u"C:\\kestra\\skins\\INI_EN\\macro\\";
    const MacroKeyLayout layout{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn};
    g_languageEnglish = 1;
    g_curConfig = 1;
    FillConfiguration(files, folder, layout);
    DeviceLinkFiles linkFiles{config, {files, layout, folder}};

    mouse.ClearLog();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < applies; ++i) WriteSettingsToDevice(linkFiles);
    const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::printf("applies:              %d\n", applies);
    std::printf("reports to the mouse: %zu\n", mouse.Log().size());
    std::printf("sleeps asked for:     %llu ms\n", static_cast<unsigned long long>(clock.Asked()));
    std::printf("wall time:            %.1f ms (%.2f x the sleeps)\n", elapsed,
                clock.Asked() ? elapsed / static_cast<double>(clock.Asked()) : 0.0);
    SetSystemParameters(nullptr);
    ResetDeviceLink();
    return 0;
}
