#pragma once
// Decoded images kept by path: a file is decoded again only when its size or last-write time
// changed, so what is drawn stays what the file holds without decoding it on every paint.
#include <windows.h>

#include <map>
#include <string>

#include "winlib/image_file.h"

class ImageCache {
public:
    // Nothing when the file is missing or cannot be decoded.
    const ImageBitmap* Get(const std::wstring& path);
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        FILETIME written{};
        uint64_t size = 0;
        bool decoded = false;
        ImageBitmap image;
    };
    std::map<std::wstring, Entry> entries_;
};
