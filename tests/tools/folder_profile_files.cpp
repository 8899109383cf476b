#include "tests/tools/folder_profile_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "macros/macro_groups.h"

namespace {

std::filesystem::path NativePath(std::u16string path)
{
#ifndef _WIN32
    std::replace(path.begin(), path.end(), u'\\', u'/');
#endif
    return std::filesystem::path(path);
}

}  // namespace

MemoryIniFile& FolderProfileFiles::File(const std::u16string& path)
{
    auto found = files_.find(path);
    if (found != files_.end()) return found->second;
    std::ifstream in(NativePath(path), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return files_.emplace(path, MemoryIniFile::FromBytes(bytes)).first->second;
}

std::u16string FolderProfileFiles::Get(const std::u16string& file, const std::u16string& section,
                                       const std::u16string& key, size_t bufferChars)
{
    if (bufferChars == 0) return {};
    std::vector<char16_t> buffer(bufferChars);
    const size_t length = File(file).GetString(section, key, buffer);
    return std::u16string(buffer.data(), length);
}

bool FolderProfileFiles::Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value)
{
    created_[file] = true;
    return File(file).PutString(section, key, value);
}

bool FolderProfileFiles::FileExists(const std::u16string& file)
{
    std::error_code ignored;
    return created_.contains(file) || std::filesystem::is_regular_file(NativePath(file), ignored);
}

bool FolderProfileFiles::SameFileName(const std::u16string& a, const std::u16string& b) { return SameGroupFileName(a, b); }
