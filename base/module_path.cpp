#include "base/module_path.h"

#include <windows.h>

#include <array>

#include "winlib/wide.h"

std::u16string ModuleFilePath()
{
    std::array<wchar_t, 261> buffer{};
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), 260);
    return FromWide(buffer.data(), length < buffer.size() ? length : 260);
}
