#include "settings/config_ini_file.h"

#include <windows.h>

#include <vector>

#include "base/clock.h"
#include "settings/profile_store.h"
#include "winlib/unique_handle.h"
#include "winlib/wide.h"

namespace {

// A copy a read-only file left behind is read-only too: it could be neither deleted nor replaced.
void RemoveStaged(const std::u16string& staged)
{
    SetFileAttributesW(AsWide(staged), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(AsWide(staged));
}

// The file's bytes (and attributes) in the copy; a file not there yet gives none, the writes make it.
bool StageCopy(const std::u16string& path, const std::u16string& staged)
{
    if (GetFileAttributesW(AsWide(path)) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return true;
    return CopyFileW(AsWide(path), AsWide(staged), FALSE) != FALSE;
}

// The copy's contents on the disk before its name replaces the file's: a power cut after the move
// must not find the name pointing at data never written.
bool FlushToDisk(const std::u16string& file)
{
    const UniqueHandle handle(CreateFileW(AsWide(file), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle && FlushFileBuffers(handle.Get()) != FALSE;
}

// Backup, sync and scanning tools hold a file open for a moment without delete sharing, which
// refuses a move over it where a write into it would have gone through: about a second of tries.
constexpr int kMoveTries = 20;
constexpr uint32_t kMoveRetryMs = 50;

bool MoveOver(const std::u16string& staged, const std::u16string& path)
{
    for (int tried = 1;; ++tried) {
        if (MoveFileExW(AsWide(staged), AsWide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE)
            return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!held || tried == kMoveTries) return false;
        GetClock().SleepMs(kMoveRetryMs);
    }
}

}  // namespace

size_t ConfigIniFile::GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer)
{
    if (buffer.empty()) return 0;
    // No default text: a missing key reads as "".
    return GetPrivateProfileStringW(AsWide(section), AsWide(key), L"", reinterpret_cast<wchar_t*>(buffer.data()),
                                    static_cast<DWORD>(buffer.size()), AsWide(path_));
}

bool ConfigIniFile::PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value)
{
    return WritePrivateProfileStringW(AsWide(section), AsWide(key), AsWide(value), AsWide(path_)) != FALSE;
}

bool ConfigIniFile::Rewrite(const std::function<bool()>& writes)
{
    const std::u16string target = path_;
    return RewriteIniFile(target, [&](const std::u16string& staged) {
        // Back to the file itself when `writes` returns or throws.
        struct PathBack {
            std::u16string& path;
            std::u16string target;
            ~PathBack() { path = std::move(target); }
        } back{path_, target};
        path_ = staged;
        return writes();
    });
}

bool ReplaceFileWith(const std::u16string& path, const std::function<bool(const std::u16string& staged)>& fill)
{
    const std::u16string staged = path + u".tmp";
    // Removed on every road but the move, a throw out of `fill` included.
    struct StagedCopy {
        const std::u16string& path;
        bool moved = false;
        ~StagedCopy()
        {
            if (!moved) RemoveStaged(path);
        }
    } copy{staged};
    RemoveStaged(staged);
    if (!fill(staged) || !FlushToDisk(staged)) return false;
    copy.moved = MoveOver(staged, path);
    return copy.moved;
}

bool RewriteIniFile(const std::u16string& path, const std::function<bool(const std::u16string& staged)>& writes)
{
    return ReplaceFileWith(path, [&](const std::u16string& staged) { return StageCopy(path, staged) && writes(staged); });
}

bool ReplaceFileWithCopy(const std::u16string& source, const std::u16string& target)
{
    return ReplaceFileWith(target, [&](const std::u16string& staged) {
        return CopyFileW(AsWide(source), AsWide(staged), FALSE) != FALSE && ClearReadOnly(staged);
    });
}

bool ClearReadOnly(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
    return SetFileAttributesW(AsWide(path), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != FALSE;
}

std::optional<std::u16string> ConfigIniFile::GetSection(const std::u16string& section)
{
    IniSectionText text = ReadIniSection(path_, section);
    if (!text.whole) return std::nullopt;
    return std::move(text.lines);
}

IniSectionText ReadIniSection(const std::u16string& iniPath, const std::u16string& section)
{
    constexpr DWORD kFirstSectionChars = 16 * 1024;
    constexpr DWORD kMaxSectionChars = 1024 * 1024;
    std::vector<wchar_t> buffer(kFirstSectionChars);
    for (;;) {
        const DWORD copied =
            GetPrivateProfileSectionW(AsWide(section), buffer.data(), static_cast<DWORD>(buffer.size()), AsWide(iniPath));
        // A full buffer reads as its size - 2: try a larger one.
        const bool whole = copied + 2 < buffer.size();
        if (whole || buffer.size() >= kMaxSectionChars) return {FromWide(buffer.data(), copied), whole};
        buffer.resize(buffer.size() * 4);
    }
}

bool ConfigHoldsProfile(const std::u16string& iniPath, const std::u16string& section)
{
    ConfigIniFile ini(iniPath);
    return HoldsProfile(ini, section);
}

bool ConfigHoldsStartProfile(const std::u16string& iniPath)
{
    ConfigIniFile ini(iniPath);
    return HoldsStartProfile(ini);
}

void LoadProfile(const std::u16string& iniPath, int n, bool reset)
{
    ConfigIniFile ini(iniPath);
    LoadProfile(ini, n, reset);
}

void SaveConfigToIni(const std::u16string& iniPath, int n)
{
    ConfigIniFile ini(iniPath);
    SaveConfigToIni(ini, n);
}

bool SaveDpiLevel(const std::u16string& iniPath, int n)
{
    ConfigIniFile ini(iniPath);
    return SaveDpiLevel(ini, n);
}

void SaveChangedAssignments(const std::u16string& iniPath, const ProfileButtonTable& before)
{
    ConfigIniFile ini(iniPath);
    SaveChangedAssignments(ini, before);
}

void LoadInitSection(const std::u16string& iniPath)
{
    ConfigIniFile ini(iniPath);
    LoadInitSection(ini);
}

bool WriteCurConfig(const std::u16string& iniPath, uint32_t profileNumber)
{
    ConfigIniFile ini(iniPath);
    return WriteCurConfig(ini, profileNumber);
}

bool WriteVerSel(const std::u16string& iniPath, uint32_t language)
{
    ConfigIniFile ini(iniPath);
    return WriteVerSel(ini, language);
}
