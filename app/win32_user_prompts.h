#pragma once
// Message boxes shown on a real window.
#include <windows.h>

#include "app/user_prompts.h"

class Win32UserPrompts : public UserPrompts {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override;

private:
    HWND owner_ = nullptr;
};
