#include "winlib/image_cache.h"

const ImageBitmap* ImageCache::Get(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        entries_.erase(path);
        return nullptr;
    }
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    auto found = entries_.find(path);
    if (found != entries_.end() && found->second.size == size &&
        CompareFileTime(&found->second.written, &data.ftLastWriteTime) == 0)
        return found->second.decoded ? &found->second.image : nullptr;

    Entry& entry = entries_[path];
    entry.written = data.ftLastWriteTime;
    entry.size = size;
    std::optional<ImageBitmap> image = LoadImageBitmap(path);
    entry.decoded = image.has_value();
    entry.image = image ? std::move(*image) : ImageBitmap{};
    return entry.decoded ? &entry.image : nullptr;
}
