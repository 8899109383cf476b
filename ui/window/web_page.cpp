#include "ui/window/web_page.h"

#include <windows.h>
#include <shellapi.h>

#include "winlib/wide.h"

namespace {
void OpenWithShell(const std::u16string& address)
{
    ShellExecuteW(nullptr, L"open", AsWide(address), nullptr, nullptr, SW_SHOW);
}
}  // namespace

WebPageOpener g_openWebPage = OpenWithShell;
