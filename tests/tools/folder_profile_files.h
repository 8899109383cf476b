#pragma once
// The INI files of a program folder on disk, read once each into memory and changed only there:
// the probe and the benchmark run the program's file logic on a real folder without touching it.
// Paths are the program's own (backslashes); on other systems they are turned into native ones.
#include <map>
#include <string>

#include "macros/profile_files.h"
#include "settings/memory_ini.h"

class FolderProfileFiles : public ProfileFiles {
public:
    std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                       size_t bufferChars) override;
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override;
    bool FileExists(const std::u16string& file) override;
    bool SameFileName(const std::u16string& a, const std::u16string& b) override;

    // The file's contents as the program sees them now (read from disk on first use).
    MemoryIniFile& File(const std::u16string& path);

private:
    std::map<std::u16string, MemoryIniFile> files_;
    std::map<std::u16string, bool> created_;
};
