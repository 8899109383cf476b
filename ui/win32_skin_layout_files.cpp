#include "ui/win32_skin_layout_files.h"

#include <windows.h>

#include "settings/config_ini_file.h"
#include "winlib/wide.h"

std::unique_ptr<IniSource> Win32SkinLayoutFiles::Open(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    return std::make_unique<ConfigIniFile>(path);
}
