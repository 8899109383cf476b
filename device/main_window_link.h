#pragma once
// What the device link asks of the main window: a repaint of the whole window (background
// erased) after an apply, a profile or DPI level taken over from the mouse. The window installs
// its handler when it starts; before that the requests go nowhere.
using MainWindowRepaint = void (*)();

void SetMainWindowRepaint(MainWindowRepaint repaint);
void RequestMainWindowRepaint();
