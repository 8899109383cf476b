#pragma once
// The program's private window messages and the menu commands of the main window.
#include <cstdint>

constexpr uint32_t kWmUser = 0x0400;
constexpr uint32_t kWmApp = 0x8000;

constexpr uint32_t WM_TRAY_NOTIFY = kWmUser + 1;
constexpr uint32_t WM_ITEMEDIT_DONE = kWmUser + 10;
constexpr uint32_t WM_PROFILE_CHOSEN = kWmUser + 1001;
constexpr uint32_t WM_MACROGROUP_CHOSEN = kWmUser + 1002;
constexpr uint32_t WM_MACROFILE_COMMAND = kWmUser + 1003;
constexpr uint32_t WM_LIGHTMODE_CHOSEN = kWmApp + 1005;
constexpr uint32_t WM_LIGHTCOLOUR_CHOSEN = kWmApp + 1006;
// Posted by the step download when it changed the macro open in the editor.
constexpr uint32_t WM_OPEN_MACRO_STEPPED = kWmApp + 1007;
// Posted by a device thread that could not write a file (main_window_link.h).
constexpr uint32_t WM_DEVICE_WRITE_FAILED = kWmApp + 1008;
constexpr uint32_t WM_ITEMEDIT_CHANGED = 0x8840;
constexpr uint32_t WM_ITEMEDIT_FINISH = 0x8841;
constexpr uint32_t WM_GROUPEDIT_KEY = 0x8881;

constexpr uint32_t TRAY_ICON_ID = 153;
// The About item of the system menu.
constexpr uint32_t kAboutCommand = 16;

// The window's one timer: a paint that found the settings held by a device thread is done again
// after this long.
constexpr uintptr_t kRepaintTimer = 1;
constexpr uint32_t kRepaintRetryMs = 30;
