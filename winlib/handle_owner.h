#pragma once
// A move-only owner of a system handle: the deleter releases it when the owner goes. A handle
// that must outlive its owner is handed over with Release().
//
// The deleter may say what "nothing owned" is: a static Empty() (default: the zero handle) and a
// static Owns(handle) (default: anything but Empty()), for handles whose failure value is not zero.
#include <utility>

template <typename Handle, typename Deleter>
class HandleOwner {
public:
    HandleOwner() = default;
    explicit HandleOwner(Handle handle) : handle_(handle) {}
    ~HandleOwner() { Reset(); }
    HandleOwner(HandleOwner&& other) noexcept : handle_(std::exchange(other.handle_, Empty())) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept
    {
        if (this != &other) Reset(std::exchange(other.handle_, Empty()));
        return *this;
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Owns(handle_); }
    Handle Release() { return std::exchange(handle_, Empty()); }
    void Reset(Handle handle = Empty())
    {
        if (Owns(handle_)) Deleter{}(handle_);
        handle_ = handle;
    }

private:
    static Handle Empty()
    {
        if constexpr (requires { Deleter::Empty(); }) {
            return Deleter::Empty();
        } else {
            return Handle{};
        }
    }
    static bool Owns(Handle handle)
    {
        if constexpr (requires { Deleter::Owns(handle); }) {
            return Deleter::Owns(handle);
        } else {
            return handle != Empty();
        }
    }

    Handle handle_ = Empty();
};
