#include "app/win32_user_prompts.h"

#include "app/module_path.h"
#include "app/program_folder.h"
#include "ui/warning_dlg.h"
#include "winlib/wide.h"

int Win32UserPrompts::ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style)
{
    const std::u16string title = caption.empty() ? ApplicationNameOfModulePath(ModuleFilePath()) : caption;
    return MessageBoxW(owner_, AsWide(text), AsWide(title), style);
}

int Win32UserPrompts::ShowWarningBox() { return static_cast<int>(RunWarningBox(owner_)); }
