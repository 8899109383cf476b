#include "winlib/subclassed_control.h"

#include "winlib/wide.h"
#include "winlib/win32_failure.h"

SubclassedControl::~SubclassedControl() { Destroy(); }

bool SubclassedControl::Create(const wchar_t* className, DWORD style, const RECT& rect, HWND parent, int id,
                               DWORD exStyle)
{
    if (window_ != nullptr) return false;
    HWND window = CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        RecordWin32Failure("CreateWindowExW");
        return false;
    }
    window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedControl::Procedure)));
    return true;
}

void SubclassedControl::Destroy()
{
    if (window_ != nullptr) DestroyWindow(window_);
}

std::u16string SubclassedControl::Text() const
{
    if (window_ == nullptr) return {};
    const std::wstring text = View().Text();
    return FromWide(text.c_str(), text.size());
}

void SubclassedControl::SetText(const std::u16string& text) const
{
    if (window_ != nullptr) SetWindowTextW(window_, AsWide(text));
}

void SubclassedControl::SetFont(HFONT font, bool redraw) const
{
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void SubclassedControl::Enable(bool enable) const
{
    if (window_ != nullptr) EnableWindow(window_, enable ? TRUE : FALSE);
}

bool SubclassedControl::Enabled() const { return window_ != nullptr && IsWindowEnabled(window_) != FALSE; }

LRESULT SubclassedControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallDefault(message, wParam, lParam);
}

LRESULT SubclassedControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (original_ == nullptr) return 0;
    return CallWindowProcW(original_, window_, message, wParam, lParam);
}

LRESULT CALLBACK SubclassedControl::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<SubclassedControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The control's own procedure ends its window; the object lets go of it after that.
        const WNDPROC original = self->original_;
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->original_ = nullptr;
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code.
        return self->CallDefault(message, wParam, lParam);
    }
}
