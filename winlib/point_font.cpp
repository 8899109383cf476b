#include "winlib/point_font.h"

#include <cwchar>

#include "winlib/device_context.h"
#include "winlib/win32_failure.h"

FontOwner CreatePointFont(int tenths, const wchar_t* face)
{
    ClientDc screen(nullptr);
    LOGFONTW font{};
    const int pixelsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    font.lfHeight = -(pixelsPerInch * tenths / 720);
    font.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&font);
    if (handle == nullptr) RecordWin32Failure("CreateFontIndirectW");
    return FontOwner(handle);
}
