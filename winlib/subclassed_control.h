#pragma once
// A standard control (edit, list box) that the program creates and whose messages it sees first:
// the control's window procedure is replaced by one that hands each message to the virtual
// OnMessage; whatever OnMessage does not answer goes on to the control's own procedure through
// CallDefault. The object outlives its window: Create makes the window, Destroy (or the parent's
// destruction) ends it, and the object may make a new one afterwards.
#include <windows.h>

#include <string>

#include "winlib/window_view.h"

class SubclassedControl {
public:
    SubclassedControl() = default;
    virtual ~SubclassedControl();
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;

    // Creates the control of window class `className` as a child of `parent`; false when the
    // window could not be made or one exists already.
    bool Create(const wchar_t* className, DWORD style, const RECT& rect, HWND parent, int id, DWORD exStyle = 0);
    void Destroy();

    HWND Handle() const { return window_; }
    bool Exists() const { return window_ != nullptr; }
    WindowView View() const { return WindowView(window_); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return window_ != nullptr ? SendMessageW(window_, message, wParam, lParam) : 0;
    }

    std::u16string Text() const;
    void SetText(const std::u16string& text) const;
    void SetFont(HFONT font, bool redraw = true) const;
    void Enable(bool enable) const;
    bool Enabled() const;

protected:
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
};
