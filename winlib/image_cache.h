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
    // The images another cache decoded (ahead, on another thread) join this one, where it holds
    // nothing for their files yet; they are checked against their files as any other.
    void Take(ImageCache&& decoded) { entries_.merge(decoded.entries_); }

private:
    struct Entry {
        FILETIME written{};
        uint64_t size = 0;
        bool decoded = false;
        ImageBitmap image;
    };
    std::map<std::wstring, Entry> entries_;
};
