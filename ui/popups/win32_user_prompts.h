#pragma once
// Message boxes, the system's file and colour dialogs and the warning box, shown on a real window.
#include <windows.h>

#include <atomic>

#include "base/user_prompts.h"

class Win32UserPrompts : public UserPrompts {
public:
    // The window every box is owned by. A device thread's message reads it too.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override;
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    // Runs WarningDlg modally, owned by the main window.
    int ShowWarningBox() override;

private:
    std::atomic<HWND> owner_{nullptr};
};
