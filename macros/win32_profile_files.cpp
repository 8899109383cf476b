#include "macros/win32_profile_files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "settings/config_ini_file.h"
#include "winlib/wide.h"

namespace {

// The file a rewrite on this thread has redirected to its copy, and the copy. Other threads, and
// other files, read and write the files themselves.
struct Redirect {
    const std::u16string* file = nullptr;
    const std::u16string* staged = nullptr;
};
thread_local Redirect t_redirect;

const std::u16string& Target(const std::u16string& file)
{
    return t_redirect.file != nullptr && *t_redirect.file == file ? *t_redirect.staged : file;
}

}  // namespace

std::u16string Win32ProfileFiles::Get(const std::u16string& file, const std::u16string& section,
                                      const std::u16string& key, size_t bufferChars)
{
    std::vector<char16_t> buffer(bufferChars);
    const size_t length = ConfigIniFile(Target(file)).GetString(section, key, buffer);
    return std::u16string(buffer.data(), std::min(length, buffer.size()));
}

bool Win32ProfileFiles::Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                            const std::u16string& value)
{
    return ConfigIniFile(Target(file)).PutString(section, key, value);
}

bool Win32ProfileFiles::Rewrite(const std::u16string& file, const std::function<bool()>& writes)
{
    return RewriteIniFile(file, [&](const std::u16string& staged) {
        // Undone when `writes` returns or throws.
        struct Scope {
            Redirect previous;
            ~Scope() { t_redirect = previous; }
        } scope{t_redirect};
        t_redirect = {&file, &staged};
        return writes();
    });
}

// A file search would let a group name with '*' or '?' match some other file, and a folder
// named like a macro file pass; only a file of exactly this name counts.
bool Win32ProfileFiles::FileExists(const std::u16string& file)
{
    const DWORD attributes = GetFileAttributesW(AsWide(file));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SameFileNameOnSystem(const std::u16string& a, const std::u16string& b)
{
    return CompareStringOrdinal(AsWide(a), static_cast<int>(a.size()), AsWide(b), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}
