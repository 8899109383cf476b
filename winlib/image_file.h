#pragma once
// Skin images: a JPEG (or any format GDI+ decodes) read from a file into a GDI bitmap, and the
// pixels of a bitmap read back for the mask rule. A GdiplusSession must be alive.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "winlib/gdi_object.h"

struct ImageBitmap {
    BitmapOwner bitmap;
    int32_t width = 0;
    int32_t height = 0;
};

// Nothing when the file is missing or cannot be decoded.
std::optional<ImageBitmap> LoadImageBitmap(const std::wstring& path);

// Pixels of a bitmap, top row first, each 0x00RRGGBB.
struct PixelImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

std::optional<PixelImage> ReadBitmapPixels(HBITMAP bitmap);
