#pragma once
// What the device link asks of the main window: a repaint of the whole window (background
// erased) after an apply, a profile or DPI level taken over from the mouse. The window installs
// its handler when it starts; before that the requests go nowhere.
#include <string>
#include <vector>

using MainWindowRepaint = void (*)();

void SetMainWindowRepaint(MainWindowRepaint repaint);
void RequestMainWindowRepaint();

// The step download changed the macro open in the editor: the macro page shows it again. The
// page installs its handler while it is shown.
using OpenMacroStepped = void (*)();
void SetOpenMacroStepped(OpenMacroStepped stepped);
void RequestOpenMacroShown();

// A file the button-action thread or a profile switch could not write: a box on a device thread
// would hold the fire key and the reports, so the path waits here and the window tells of it on
// its own thread. A path already waiting (not yet told, or its message still open) is not added
// again. The handler is asked for each path added; it runs on the device thread and must not wait.
using DeviceWriteFailed = void (*)();
void SetDeviceWriteFailed(DeviceWriteFailed failed);
void RequestWriteFailureShown(const std::u16string& path);
// The waiting paths not taken before; they keep waiting until DeviceWriteFailureShown.
std::vector<std::u16string> TakeDeviceWriteFailures();
void DeviceWriteFailureShown(const std::u16string& path);
// Nothing waits (the window's end, a test's start).
void ClearDeviceWriteFailures();
