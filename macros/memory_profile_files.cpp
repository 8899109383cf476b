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

void MemoryProfileFiles::Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value)
{
    files[file].PutString(section, key, value);
    ++writes;
}

bool MemoryProfileFiles::SameFileName(const std::u16string& a, const std::u16string& b)
{
    return SameGroupFileName(a, b);
}
