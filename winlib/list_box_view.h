#pragma once
// A list box you are handed: its lines, selection and geometry through the list-box messages.
// A view of no window has no lines and no selection.
#include <windows.h>

#include <cstdint>
#include <string>

#include "winlib/wide.h"

class ListBoxView {
public:
    explicit ListBoxView(HWND window) : window_(window) {}

    HWND Get() const { return window_; }
    int32_t Count() const { return window_ ? Answer(LB_GETCOUNT, 0) : 0; }
    // The selected line, -1 when none.
    int32_t Selection() const { return window_ ? Answer(LB_GETCURSEL, 0) : -1; }
    void Select(int32_t line) const { Send(LB_SETCURSEL, static_cast<WPARAM>(line), 0); }
    void Clear() const { Send(LB_RESETCONTENT, 0, 0); }
    int32_t TopIndex() const { return window_ ? Answer(LB_GETTOPINDEX, 0) : 0; }
    int32_t ItemHeight() const { return window_ ? Answer(LB_GETITEMHEIGHT, 0) : 0; }
    std::u16string Text(int32_t line) const
    {
        const int32_t length = window_ ? Answer(LB_GETTEXTLEN, static_cast<WPARAM>(line)) : -1;
        if (length <= 0) return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()));
        return copied <= 0 ? std::u16string{} : FromWide(text.c_str(), static_cast<size_t>(copied));
    }
    // The client rectangle in screen coordinates.
    RECT ScreenRect() const
    {
        RECT rect{};
        if (!window_) return rect;
        GetClientRect(window_, &rect);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The line under a screen point, by the list's scroll position and item height; 0 when the
    // list has no item height.
    int32_t LineAt(POINT screen) const
    {
        const int32_t height = ItemHeight();
        if (height <= 0) return 0;
        return (TopIndex() * height - ScreenRect().top + screen.y) / height;
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return window_ ? SendMessageW(window_, message, wParam, lParam) : 0;
    }

private:
    int32_t Answer(UINT message, WPARAM wParam) const { return static_cast<int32_t>(SendMessageW(window_, message, wParam, 0)); }

    HWND window_;
};
