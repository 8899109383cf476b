#include "ui/window/startup_images.h"

#include "ui/pages/page_painting.h"
#include "winlib/wide.h"

StartupImages::StartupImages(const std::wstring& skinFolder)
{
    decoding_ = std::async(std::launch::async, [skinFolder] {
        Decoded decoded;
        if (std::optional<ImageBitmap> mask = LoadImageBitmap(skinFolder + L"\\main_mask.jpg"))
            decoded.mask = ReadBitmapPixels(mask->bitmap.Get());
        const PagePaintInfo first = PagePaintInfoOf(0);
        for (const char16_t* name : {first.normalImage, first.pressedImage}) decoded.pages.Get(skinFolder + AsWide(name));
        return decoded;
    });
}

StartupImages::Decoded& StartupImages::Wait()
{
    if (!decoded_) decoded_ = decoding_.get();
    return *decoded_;
}

std::optional<PixelImage> StartupImages::TakeMask() { return std::move(Wait().mask); }

ImageCache StartupImages::TakePageImages() { return std::move(Wait().pages); }
