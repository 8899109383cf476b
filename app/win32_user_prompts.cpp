#include "app/win32_user_prompts.h"

#include "winlib/wide.h"

int Win32UserPrompts::ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style)
{
    const wchar_t* title = caption.empty() ? L"TEV_Kestra" : AsWide(caption);
    return MessageBoxW(owner_, AsWide(text), title, style);
}
