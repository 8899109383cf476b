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
    // The writes go to a copy of the file (RewriteIniFile), through this object's own PutString.
    bool Rewrite(const std::function<bool()>& writes) override;
    std::u16string Path() const override { return path_; }

private:
    std::u16string path_;
};

// Has `fill` make the new file as a copy beside the file, `staged` (the file's path with ".tmp"
// added), then flushes the copy to the disk and moves it over the file in one step: an end of the
// program at any moment leaves the old file or the new one, never a mix of the two. A move that
// another program's handle on the file refuses is tried again for about a second (its waits on
// the program's clock). When `fill` returns false or the copy cannot be flushed or moved, the copy
// is removed and the file stays as it was; returns whether it was replaced. Every whole-file
// replace of the program goes through here.
bool ReplaceFileWith(const std::u16string& path, const std::function<bool(const std::u16string& staged)>& fill);
// ReplaceFileWith, the copy starting as the file's bytes and `writes` making the new contents with
// the same profile-string calls as on the file itself, so the new file is the one they would have
// made there.
bool RewriteIniFile(const std::u16string& path, const std::function<bool(const std::u16string& staged)>& writes);
// ReplaceFileWith, the new file a copy of `source` made writable (a read-only one would refuse
// every later save); on any failure `target` stays as it was.
bool ReplaceFileWithCopy(const std::u16string& source, const std::u16string& target);
// A copy takes its source's attributes: a read-only one would refuse every later save. Whether the
// file is writable now (true for a file that is not there).
bool ClearReadOnly(const std::u16string& path);

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
// Whether a start-up takes the file: the profile its [Init] CurConfig names is there.
bool ConfigHoldsStartProfile(const std::u16string& iniPath);
void LoadProfile(const std::u16string& iniPath, int n, bool reset);
void SaveConfigToIni(const std::u16string& iniPath, int n);
bool SaveDpiLevel(const std::u16string& iniPath, int n);
void SaveChangedAssignments(const std::u16string& iniPath, const ProfileButtonTable& before);
void LoadInitSection(const std::u16string& iniPath);
bool WriteCurConfig(const std::u16string& iniPath, uint32_t profileNumber);
bool WriteVerSel(const std::u16string& iniPath, uint32_t language);
