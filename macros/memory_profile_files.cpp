#include "macros/memory_profile_files.h"

#include <algorithm>
#include <vector>

#include "macros/macro_groups.h"

std::u16string MemoryProfileFiles::Get(const std::u16string& file, const std::u16string& section,
                                       const std::u16string& key, size_t bufferChars)
{
    const auto found = files.find(file);
    if (found == files.end()) return {};
    std::vector<char16_t> buffer(bufferChars);
    const size_t length = found->second.GetString(section, key, buffer);
    return std::u16string(buffer.data(), std::min(length, buffer.size()));
}

bool MemoryProfileFiles::Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value)
{
    ++writes;
    return files[file].PutString(section, key, value);
}

bool MemoryProfileFiles::Rewrite(const std::u16string& file, const std::function<bool()>& writes)
{
    // A file the writes would have made is taken away again with them.
    const bool existed = files.contains(file);
    bool written = false;
    try {
        written = files[file].Rewrite(writes);
    } catch (...) {
        if (!existed) files.erase(file);
        throw;
    }
    if (!written && !existed) files.erase(file);
    return written;
}

bool MemoryProfileFiles::SameFileName(const std::u16string& a, const std::u16string& b)
{
    return SameGroupFileName(a, b);
}
