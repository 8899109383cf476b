#include "settings/config_ini_file.h"

#include <windows.h>

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
