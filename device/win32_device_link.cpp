#include <windows.h>

#include <mutex>
#include <string>

#include "device/apply_writer.h"
#include "device/device_event_threads.h"
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
    ProgramFiles() : config_(ConfigPath()), files_{config_, {GetProfileFiles(), CurrentMacroKeyLayout(), MacroFolder()}} {}
    DeviceLinkFiles& Files() { return files_; }

private:
    static std::u16string ConfigPath()
    {
        std::lock_guard lock(g_settingsMutex);
        return g_configIniPath;
    }
    static std::u16string MacroFolder()
    {
        std::lock_guard lock(g_settingsMutex);
        return g_skinFolder + (g_languageEnglish != 0 ? u"\\INI_EN\\macro\\" : u"\\INI_CN\\macro\\");
    }

    ConfigIniFile config_;
    DeviceLinkFiles files_;
};

// Nobody waits for it or signals it; it exists under its name while the program runs.
UniqueHandle g_macroSendEndEvent;
UniqueHandle g_deviceInputThread;
UniqueHandle g_buttonActionThread;

// A turn that throws (out of memory) must not end the thread or cross into the system.
template <typename Turn>
void RunForever(Turn turn)
{
    for (;;) {
        try {
            ProgramFiles files;
            turn(files.Files());
        } catch (...) {
            Sleep(2);
        }
    }
}

DWORD WINAPI DeviceInputThread(void*)
{
    g_macroSendEndEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, L"MacroSendEnd"));
    RunForever(DeviceInputTurn);
    return 0;
}

DWORD WINAPI ButtonActionThread(void*)
{
    RunForever(ButtonActionTurn);
    return 0;
}

UniqueHandle StartThread(LPTHREAD_START_ROUTINE procedure)
{
    UniqueHandle thread(CreateThread(nullptr, 0, procedure, nullptr, 0, nullptr));
    if (thread.IsValid()) SetThreadPriority(thread.Get(), THREAD_PRIORITY_HIGHEST);
    return thread;
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
    static std::once_flag started;
    std::call_once(started, [] {
        g_deviceInputThread = StartThread(DeviceInputThread);
        g_buttonActionThread = StartThread(ButtonActionThread);
    });
}
