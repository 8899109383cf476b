#include "settings/config_ini_file.h"

#include <windows.h>

#include <vector>

#include "settings/profile_store.h"
#include "winlib/wide.h"

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

void SaveDpiLevel(const std::u16string& iniPath, int n)
{
    ConfigIniFile ini(iniPath);
    SaveDpiLevel(ini, n);
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

void WriteCurConfig(const std::u16string& iniPath, uint32_t profileNumber)
{
    ConfigIniFile ini(iniPath);
    WriteCurConfig(ini, profileNumber);
}

void WriteVerSel(const std::u16string& iniPath, uint32_t language)
{
    ConfigIniFile ini(iniPath);
    WriteVerSel(ini, language);
}
