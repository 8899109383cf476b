#include "ui/popups/win32_user_prompts.h"

#include <commdlg.h>

#include <array>

#include "base/module_path.h"
#include "base/program_folder.h"
#include "ui/popups/warning_dlg.h"
#include "winlib/wide.h"

namespace {
std::atomic<MessageOwnerChosenHook> g_ownerChosenHook{nullptr};
}  // namespace

void SetMessageOwnerChosenHook(MessageOwnerChosenHook hook) { g_ownerChosenHook = hook; }

HWND Win32UserPrompts::OwnerOnThisThread() const
{
    // A box owned by another thread's window waits for that thread to disable the window; at the
    // program's end that thread waits for the device threads, one of which would be showing it.
    const HWND owner = owner_;
    return owner != nullptr && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId() ? owner : nullptr;
}

int Win32UserPrompts::ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style)
{
    const std::u16string title = caption.empty() ? ApplicationNameOfModulePath(ModuleFilePath()) : caption;
    const HWND owner = OwnerOnThisThread();
    if (MessageOwnerChosenHook hook = g_ownerChosenHook) hook();
    return MessageBoxW(owner, AsWide(text), AsWide(title), style);
}

namespace {
// "A(*.x)|*.x||" becomes the double-NUL-ended list the file dialogs take.
std::wstring FilterList(const std::u16string& filter)
{
    std::wstring list(filter.begin(), filter.end());
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    return list;
}
}  // namespace

std::optional<std::u16string> Win32UserPrompts::ChooseFile(const FileDialogRequest& request)
{
    std::array<wchar_t, MAX_PATH> path{};
    const std::wstring filter = FilterList(request.filter);
    const std::wstring folder(request.initialFolder.begin(), request.initialFolder.end());
    const std::wstring extension(request.defaultExtension.begin(), request.defaultExtension.end());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = OwnerOnThisThread();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (request.flags & FileDialogFlag::ReadOnly) dialog.Flags |= OFN_READONLY;
    if (request.flags & FileDialogFlag::OverwritePrompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (request.flags & FileDialogFlag::HideReadOnly) dialog.Flags |= OFN_HIDEREADONLY;
    const BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return std::u16string(path.data(), path.data() + wcsnlen(path.data(), path.size()));
}

std::optional<uint32_t> Win32UserPrompts::ChooseColour(uint32_t initial)
{
    // The dialog's own row of custom colours lives as long as the program, as users expect.
    static std::array<COLORREF, 16> customColours{};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = OwnerOnThisThread();
    dialog.rgbResult = initial;
    dialog.lpCustColors = customColours.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorW(&dialog)) return std::nullopt;
    return static_cast<uint32_t>(dialog.rgbResult);
}

int Win32UserPrompts::ShowWarningBox() { return static_cast<int>(RunWarningBox(OwnerOnThisThread())); }
