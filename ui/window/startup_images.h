#pragma once
// The skin images the window needs before its first paint, decoded on a thread of their own while
// the start-up reads the profile, the layouts and the macros, and looks for the mouse: the mask
// that cuts the window's shape, then page 0's normal and pressed images. Each is taken where the
// start-up used to decode it, so what the start-up shows, and in which order, stays as it was.
#include <future>
#include <optional>
#include <string>

#include "winlib/image_cache.h"
#include "winlib/image_file.h"

class StartupImages {
public:
    // skinFolder: the skins folder without a trailing backslash. A GdiplusSession must outlive
    // this object, whose destructor waits for the decoder.
    explicit StartupImages(const std::wstring& skinFolder);

    // Each waits for the decoder; each may be taken once.
    std::optional<PixelImage> TakeMask();
    ImageCache TakePageImages();

private:
    struct Decoded {
        std::optional<PixelImage> mask;
        ImageCache pages;
    };
    Decoded& Wait();

    std::future<Decoded> decoding_;
    std::optional<Decoded> decoded_;
};
