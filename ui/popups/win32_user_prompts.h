#pragma once
// Message boxes, the system's file and colour dialogs and the warning box, shown on a real window.
#include <windows.h>

#include "base/user_prompts.h"

class Win32UserPrompts : public UserPrompts {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override;
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    // Runs WarningDlg modally, owned by the main window.
    int ShowWarningBox() override;

private:
    HWND owner_ = nullptr;
};
