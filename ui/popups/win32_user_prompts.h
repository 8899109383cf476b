#pragma once
// Message boxes, the system's file and colour dialogs and the warning box, shown on a real window.
#include <windows.h>

#include <atomic>

#include "base/user_prompts.h"

// Tests only: runs as a message box is about to open, its owner chosen, so a test can place the
// window's end between that choice and the box.
using MessageOwnerChosenHook = void (*)();
void SetMessageOwnerChosenHook(MessageOwnerChosenHook hook);

class Win32UserPrompts : public UserPrompts {
public:
    // The window the boxes and dialogs of its own thread are owned by; those of any other thread
    // (a device thread's message) have no owner.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override;
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    // Runs WarningDlg modally, owned by the main window.
    int ShowWarningBox() override;

private:
    HWND OwnerOnThisThread() const;

    std::atomic<HWND> owner_{nullptr};
};
