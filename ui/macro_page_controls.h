#pragma once
// The macro page's control objects. Start-up makes the objects; their windows are created when
// the macro page is built. They live as long as the process.
#include <windows.h>

// A control the window creates on a layout rectangle; it holds the control's window once made.
class MacroPageControl {
public:
    virtual ~MacroPageControl() = default;
    HWND Handle() const { return window_; }
    void Attach(HWND window) { window_ = window; }

private:
    HWND window_ = nullptr;
};

class CEdit : public MacroPageControl {};
class CMacGroupEdit : public CEdit {};
class CEditableListBox : public MacroPageControl {};

extern CEdit* g_repeatCountEdit;
extern CEdit* g_macroNameEdit;
extern CMacGroupEdit* g_groupNameEdit;
extern CEditableListBox* g_macroList;
extern CEditableListBox* g_eventList;
extern CEditableListBox* g_lightList;

// Makes the six objects, in the order repeat count, macro name, group name, macro list, event
// list, light list; a second call keeps the ones made.
void CreateMacroPageControlObjects();
