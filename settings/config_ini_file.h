#pragma once
// config.ini on disk, through the platform's private-profile functions, and the profile store's
// operations by path as the window and the device threads call them.
#include <string>

#include "settings/ini_source.h"
#include "settings/settings_state.h"

class ConfigIniFile : public IniSource {
public:
    explicit ConfigIniFile(std::u16string path) : path_(std::move(path)) {}

    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override;
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override;
    std::optional<std::u16string> GetSection(const std::u16string& section) override;

    const std::u16string& Path() const { return path_; }

private:
    std::u16string path_;
};

// A section through GetPrivateProfileSectionW: its null-ended lines, and whether they are all
// there (a section of more than a million characters is cut).
struct IniSectionText {
    std::u16string lines;
    bool whole = true;
};
IniSectionText ReadIniSection(const std::u16string& iniPath, const std::u16string& section);

// Whether the file holds profile section `section` (its first button's assignment): a file
// without it is no configuration of this program, and loading it would give a profile of zeros.
bool ConfigHoldsProfile(const std::u16string& iniPath, const std::u16string& section);
void LoadProfile(const std::u16string& iniPath, int n, bool reset);
void SaveConfigToIni(const std::u16string& iniPath, int n);
void SaveDpiLevel(const std::u16string& iniPath, int n);
void SaveChangedAssignments(const std::u16string& iniPath, const ProfileButtonTable& before);
void LoadInitSection(const std::u16string& iniPath);
void WriteCurConfig(const std::u16string& iniPath, uint32_t profileNumber);
void WriteVerSel(const std::u16string& iniPath, uint32_t language);
