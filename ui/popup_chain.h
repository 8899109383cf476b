#pragma once
// Owner of the three levels of skinned pop-ups: the function pop-up, its second-level pop-up and
// the macro choice pop-up, each owned (as a window) by the level below it. A choice ends the
// whole chain from inside the handler of the pop-up it was made in; so a pop-up is never
// destroyed under a running pop-up handler: closing hides its window at once, and the windows
// and objects of closed pop-ups go when the outermost pop-up handler has returned.
#include <windows.h>

#include <memory>

#include "winlib/dialog.h"

enum class PopupLevel { Menu = 0, SubMenu = 1, MacroChoice = 2 };

// A pop-up of the chain: its messages run inside a handler scope.
class PopupDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    virtual INT_PTR OnPopupMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// While one lives, closed pop-ups wait; the outermost one to go destroys them.
class PopupHandlerScope {
public:
    PopupHandlerScope();
    ~PopupHandlerScope();
    PopupHandlerScope(const PopupHandlerScope&) = delete;
    PopupHandlerScope& operator=(const PopupHandlerScope&) = delete;
};

// Closes the pop-ups of `level` and every level above it (see above for when they go), and sets
// g_pMenuPopup, g_pSubMenuPopup, g_pMacroChoicePopup and the open flags of the closed levels.
void ClosePopupLevels(PopupLevel level);

// Makes `popup` the pop-up of `level` after closing that level and those above it; the caller
// then creates its window. Returns the pop-up.
PopupDialog* InstallPopup(PopupLevel level, std::unique_ptr<PopupDialog> popup);

// The window handle of an open level, null when none.
HWND PopupWindow(PopupLevel level);
