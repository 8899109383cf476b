#include "winlib/image_file.h"

#include "winlib/device_context.h"
#include "winlib/gdiplus_flat.h"
#include "winlib/win32_failure.h"

namespace {
class ImageOwner {
public:
    ImageOwner() = default;
    ~ImageOwner()
    {
        if (image_ != nullptr) GdipDisposeImage(image_);
    }
    ImageOwner(const ImageOwner&) = delete;
    ImageOwner& operator=(const ImageOwner&) = delete;
    gdiplus_flat::GpImage** Out() { return &image_; }
    gdiplus_flat::GpImage* Get() const { return image_; }

private:
    gdiplus_flat::GpImage* image_ = nullptr;
};
}  // namespace

std::optional<ImageBitmap> LoadImageBitmap(const std::wstring& path)
{
    ImageOwner image;
    if (GdipCreateBitmapFromFile(path.c_str(), image.Out()) != gdiplus_flat::kOk || image.Get() == nullptr) {
        RecordWin32Failure("GdipCreateBitmapFromFile");
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    HBITMAP bitmap = nullptr;
    if (GdipGetImageWidth(image.Get(), &width) != gdiplus_flat::kOk ||
        GdipGetImageHeight(image.Get(), &height) != gdiplus_flat::kOk || width == 0 || height == 0 ||
        GdipCreateHBITMAPFromBitmap(image.Get(), &bitmap, 0xFF000000) != gdiplus_flat::kOk || bitmap == nullptr) {
        RecordWin32Failure("GdipCreateHBITMAPFromBitmap");
        return std::nullopt;
    }
    return ImageBitmap{BitmapOwner(bitmap), static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

std::optional<PixelImage> ReadBitmapPixels(HBITMAP bitmap)
{
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0)
        return std::nullopt;
    PixelImage image;
    image.width = info.bmWidth;
    image.height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(request.bmiHeader);
    request.bmiHeader.biWidth = image.width;
    request.bmiHeader.biHeight = -image.height;  // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    MemoryDc dc;
    if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(), &request,
                  DIB_RGB_COLORS) != image.height) {
        RecordWin32Failure("GetDIBits");
        return std::nullopt;
    }
    for (uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
    return image;
}
