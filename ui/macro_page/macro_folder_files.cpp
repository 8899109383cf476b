#include "ui/macro_page/macro_folder_files.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "macros/macro_groups.h"
#include "macros/win32_profile_files.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {
std::u16string FullPath(const std::u16string& path)
{
    std::vector<wchar_t> full(MAX_PATH * 4);
    const DWORD length = GetFullPathNameW(AsWide(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return path;
    return FromWide(full.data(), length);
}

// The file's bytes; none when it cannot be opened or read whole (macro files are small).
std::optional<std::string> FileBytes(const std::u16string& path)
{
    constexpr DWORD kMostBytes = 16 * 1024 * 1024;
    const UniqueHandle file(
        CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || GetFileSizeEx(file.Get(), &size) == FALSE || size.QuadPart > kMostBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) == FALSE ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}
}  // namespace

bool FileFound(const std::u16string& path) { return GetFileAttributesW(AsWide(path)) != INVALID_FILE_ATTRIBUTES; }

bool SameFileName(const std::u16string& a, const std::u16string& b) { return SameFileNameOnSystem(a, b); }

bool SameFilePath(const std::u16string& a, const std::u16string& b) { return SameFileName(FullPath(a), FullPath(b)); }

bool SameFileBytes(const std::u16string& a, const std::u16string& b)
{
    const std::optional<std::string> first = FileBytes(a);
    return first && first == FileBytes(b);
}

bool NamesAnotherGroupFile(const std::u16string& name, int except)
{
    for (int g = 0; g < g_macroGroupCount && g < static_cast<int>(g_macroGroupNames.size()); ++g) {
        if (g != except && SameFileName(g_macroGroupNames[static_cast<size_t>(g)], name)) return true;
    }
    return false;
}

bool GroupNameTaken(const std::u16string& name, int except)
{
    const auto names = std::span(g_macroGroupNames).first(std::min<size_t>(g_macroGroupCount, g_macroGroupNames.size()));
    return std::find(names.begin(), names.end(), name) != names.end() || NamesAnotherGroupFile(name, except);
}

bool IsListedGroupFile(const std::u16string& fileName)
{
    for (int g = 0; g < g_macroGroupCount && g < static_cast<int>(g_macroGroupNames.size()); ++g) {
        if (SameFileName(g_macroGroupNames[static_cast<size_t>(g)] + u".dat", fileName)) return true;
    }
    return false;
}

bool SurvivesCodePage(const std::u16string& name)
{
    // A UTF-8 code page holds every name (and takes no best-fit flags).
    if (name.empty() || GetACP() == CP_UTF8) return true;
    const int length = static_cast<int>(name.size());
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, AsWide(name), length, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault != FALSE) return false;
    std::vector<char> ansi(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, AsWide(name), length, ansi.data(), bytes, nullptr, &usedDefault);
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, nullptr, 0);
    if (units <= 0 || usedDefault != FALSE) return false;
    std::vector<wchar_t> back(static_cast<size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, back.data(), units);
    return FromWide(back.data(), static_cast<size_t>(units)) == name;
}
