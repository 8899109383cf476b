#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "device/apply_writer.h"
#include "device/command_protocol.h"
#include "device/device_event_threads.h"
#include "device/device_threads.h"
#include "device/macro_step_download.h"
#include "device/program_device_link.h"
#include "macros/macro_commands.h"
#include "settings/config_ini_file.h"
#include "settings/settings_state.h"
#include "winlib/unique_handle.h"

namespace {

// config.ini and the macro folder of the language in force when it is made.
class ProgramFiles {
public:
    ProgramFiles() : ProgramFiles(ConfigPath(), LanguageNow()) {}
    DeviceLinkFiles& Files() { return files_; }

private:
    static std::u16string ConfigPath()
    {
        std::lock_guard lock(g_settingsMutex);
        return g_configIniPath;
    }
    // The macro folder and the key layout of one language, read together: a language switch
    // between the two would read one language's files with the other's keys.
    struct Language {
        std::u16string macroFolder;
        MacroKeyLayout layout;
    };
    static Language LanguageNow()
    {
        std::lock_guard lock(g_settingsMutex);
        const bool english = g_languageEnglish != 0;
        return {g_skinFolder + (english ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\"),
                english ? kEnglishMacroKeys : kSpanishMacroKeys};
    }
    ProgramFiles(std::u16string configPath, Language language)
        : config_(std::move(configPath)), files_{config_, {GetProfileFiles(), language.layout, language.macroFolder}}
    {
    }

    ConfigIniFile config_;
    DeviceLinkFiles files_;
};

// Makes the files anew for each piece of work, so that the macro folder follows the language.
class ProgramFilesSource : public DeviceLinkFilesSource {
public:
    DeviceLinkFiles& Current() override { return files_.emplace().Files(); }

private:
    std::optional<ProgramFiles> files_;
};

// Nobody waits for it or signals it; it exists under its name while the program runs.
UniqueHandle g_macroSendEndEvent;
DeviceThreads g_deviceThreads;

void OnDeviceThreadStart(DeviceThreadKind kind)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    if (kind == DeviceThreadKind::Input) g_macroSendEndEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, L"MacroSendEnd"));
}

}  // namespace

void WriteSettingsToDevice()
{
    ProgramFiles files;
    WriteSettingsToDevice(files.Files());
}

void AdjustMacroStepAndDownload(bool up)
{
    ProgramFiles files;
    AdjustMacroStepAndDownload(files.Files().macros, up);
}

void StartDeviceThreads()
{
    g_deviceThreads.Start([] { return std::make_unique<ProgramFilesSource>(); }, OnDeviceThreadStart);
}

void StopDeviceThreads()
{
    // Nothing once they are not running: their end has passed (the window's object outlives its
    // handle), and the exit command may have gone since; nothing may follow it.
    g_deviceThreads.StopAndEndFiring();
}

bool DeviceThreadsRunning() { return g_deviceThreads.Running(); }
