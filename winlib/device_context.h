#pragma once
// Device contexts: DcView is one you are handed (a paint message's, an owner-draw item's) and
// never released here; MemoryDc and ClientDc own theirs.
#include <windows.h>

#include <utility>

class DcView {
public:
    DcView() = default;
    explicit DcView(HDC dc) : dc_(dc) {}
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

protected:
    HDC dc_ = nullptr;
};

// A memory context compatible with another one (the screen when none is given).
class MemoryDc : public DcView {
public:
    explicit MemoryDc(HDC compatibleWith = nullptr) : DcView(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    MemoryDc(MemoryDc&& other) noexcept : DcView(std::exchange(other.dc_, nullptr)) {}
    MemoryDc& operator=(MemoryDc&&) = delete;
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
};

// The client area's context of a window (the whole screen's for no window).
class ClientDc : public DcView {
public:
    explicit ClientDc(HWND window) : DcView(GetDC(window)), window_(window) {}
    ~ClientDc()
    {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;

private:
    HWND window_;
};
