#pragma once
// Macro folders held in memory, each file a MemoryIniFile: for the host tree's tests, the fuzzers
// and a program that has set no files.
#include <map>
#include <string>

#include "macros/profile_files.h"
#include "settings/memory_ini.h"

class MemoryProfileFiles : public ProfileFiles {
public:
    std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                       size_t bufferChars) override;
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override;
    bool FileExists(const std::u16string& file) override { return files.contains(file); }
    // The platform-free rule (SameGroupFileName).
    bool SameFileName(const std::u16string& a, const std::u16string& b) override;
    // The writes go through Put (a test's own included); a false result or a throw (an end of the
    // program, for a test) puts the file back as it was, or takes away one that was not there.
    bool Rewrite(const std::u16string& file, const std::function<bool()>& writes) override;

    // An empty file, as a new group gets.
    void Touch(const std::u16string& file) { files[file]; }

    std::map<std::u16string, MemoryIniFile> files;
    int writes = 0;
};
