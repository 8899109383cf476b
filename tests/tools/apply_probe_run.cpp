#include "tests/tools/apply_probe_run.h"

#include <vector>

#include "base/clock.h"
#include "base/user_prompts.h"
#include "device/apply_writer.h"
#include "device/device_discovery.h"
#include "device/system_parameters.h"
#include "macros/macro_file.h"
#include "macros/macro_groups.h"
#include "settings/key_vocabulary.h"
#include "settings/profile_store.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_text.h"
#include "tests/tools/folder_profile_files.h"
#include "tests/tools/program_state.h"

namespace {

std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Keeps each message with the place in the report log where it was shown.
class ProbePrompts : public UserPrompts {
public:
    explicit ProbePrompts(const SimulatedMouse& mouse) : mouse_(mouse) {}
    int ShowMessage(const std::u16string& text, const std::u16string&, uint32_t) override
    {
        shown.push_back({mouse_.Log().size(), text});
        return MessageAnswer::Ok;
    }
    struct Shown {
        size_t logPosition;
        std::u16string text;
    };
    std::vector<Shown> shown;

private:
    const SimulatedMouse& mouse_;
};

class ScopedPrompts {
public:
    explicit ScopedPrompts(UserPrompts& prompts) : previous_(&GetPrompts()) { SetPrompts(&prompts); }
    ~ScopedPrompts() { SetPrompts(previous_); }
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    UserPrompts* previous_;
};

// The start-up's loading, in its order: folders, [Init], the profile, the groups, the constant macros.
MacroFilesAccess LoadProgramFolder(const std::u16string& programFolder, FolderProfileFiles& files, IniSource& config)
{
    g_programFolder = programFolder;
    g_skinFolder = g_programFolder + u"\\skins";
    g_configFolder = g_skinFolder + u"\\config\\";
    g_configIniPath = g_skinFolder + u"\\config\\config.ini";
    LoadInitSection(config);
    const bool english = g_languageEnglish == 1;
    g_macroFolder = g_skinFolder + (english ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
    g_macroResetFolder = g_skinFolder + (english ? u"\\INI_EN\\macroReset\\" : u"\\INI_CN\\macroReset\\");
    LoadProfile(config, static_cast<int>(g_curConfig), false);

    const MacroKeyLayout layout = english ? MacroKeyLayout{MacVkAndText::HidToVkEn, MacVkAndText::VkToHidEn}
                                          : MacroKeyLayout{MacVkAndText::HidToVkEs, MacVkAndText::VkToHidEs};
    LoadMacroGroups(files, layout, g_macroFolder);
    if (g_macroGroupCount != 0) {
        LoadGroupFile(files, layout, g_macroFolder, g_currentGroup, true);
        LoadGroupMacroNames(files, g_macroFolder);
    }
    ReadConstMacroFile(files, layout, g_programFolder + u"\\constMacro.dat");
    return {files, layout, g_macroFolder};
}

}  // namespace

std::string RunApplyProbe(const std::u16string& programFolder)
{
    ResetProgramState();
    SimulatedMouse mouse;
    FakeClock clock;
    ScopedClock clockScope(clock);
    ScopedHidPort portScope(mouse);
    ProbePrompts prompts(mouse);
    ScopedPrompts promptsScope(prompts);
    RecordingSystemParameters system;
    SetSystemParameters(&system);

    FolderProfileFiles files;
    ResetDeviceLink();
    {
        MemoryIniFile& config = files.File(programFolder + u"\\skins\\config\\config.ini");
        MacroFilesAccess macros = LoadProgramFolder(programFolder, files, config);
        FindDevice(0);
        mouse.ClearLog();
        DeviceLinkFiles linkFiles{config, macros};
        WriteSettingsToDevice(linkFiles);
    }

    std::string out = "# TEV Kestra apply probe\n";
    const std::vector<LoggedReport> log = mouse.Log();
    size_t message = 0;
    auto flushMessages = [&](size_t position) {
        for (; message < prompts.shown.size() && prompts.shown[message].logPosition <= position; ++message)
            out += "message " + Utf8(prompts.shown[message].text) + "\n";
    };
    for (size_t i = 0; i < log.size(); ++i) {
        flushMessages(i);
        out += ReportLogLine(log[i]) + "\n";
    }
    flushMessages(log.size());

    out += "memory\n";
    out += MemoryRowsText(mouse);

    ResetDeviceLink();
    SetSystemParameters(nullptr);
    ResetProgramState();
    return out;
}
