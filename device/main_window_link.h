#pragma once
// What the device link asks of the main window: a repaint of the whole window (background
// erased) after an apply, a profile or DPI level taken over from the mouse. The window installs
// its handler when it starts; before that the requests go nowhere.
using MainWindowRepaint = void (*)();

void SetMainWindowRepaint(MainWindowRepaint repaint);
void RequestMainWindowRepaint();

// The step download changed the macro open in the editor: the macro page shows it again. The
// page installs its handler while it is shown.
using OpenMacroStepped = void (*)();
void SetOpenMacroStepped(OpenMacroStepped stepped);
void RequestOpenMacroShown();
