#pragma once
// A window you are handed (a dialog's own, a parent, one found by title): never destroyed here.
#include <windows.h>

#include <string>

class WindowView {
public:
    WindowView() = default;
    explicit WindowView(HWND window) : window_(window) {}

    HWND Get() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

    bool Show(int command) const { return ShowWindow(window_, command) != FALSE; }
    void Invalidate(bool erase = true) const { InvalidateRect(window_, nullptr, erase ? TRUE : FALSE); }
    void Update() const { UpdateWindow(window_); }
    void SetText(const wchar_t* text) const { SetWindowTextW(window_, text); }
    std::wstring Text() const
    {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    RECT ClientRect() const
    {
        RECT rect{};
        GetClientRect(window_, &rect);
        return rect;
    }

private:
    HWND window_ = nullptr;
};
