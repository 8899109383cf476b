#pragma once
// The macro editor's context menu as the window pops it up. Tests put a recorder of the call in
// place of the modal menu.
#include <windows.h>

// Pops up `menu` at a screen point, owned by `owner`; the chosen command reaches the owner as
// WM_COMMAND afterwards.
using ContextMenuTracker = void (*)(HMENU menu, POINT screen, HWND owner);
extern ContextMenuTracker g_trackContextMenu;

// The low-level keyboard hook of a recording: every keystroke goes to the main window as a posted
// key message and to nobody else.
LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam);
