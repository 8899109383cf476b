#pragma once
// The macro and group files on disk: each read and write one call of the platform's
// profile-string functions (through ConfigIniFile), the existence check one of the file's name exactly.
#include "macros/profile_files.h"

// Whether two file names name one file as Windows compares them: ordinal, without regard to case,
// by the system's own case table (CompareStringOrdinal).
bool SameFileNameOnSystem(const std::u16string& a, const std::u16string& b);

class Win32ProfileFiles : public ProfileFiles {
public:
    std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                       size_t bufferChars) override;
    bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override;
    bool FileExists(const std::u16string& file) override;
    bool SameFileName(const std::u16string& a, const std::u16string& b) override { return SameFileNameOnSystem(a, b); }
    // Through RewriteIniFile: while `writes` runs, this thread's reads and writes of `file` go to
    // the copy beside it.
    bool Rewrite(const std::u16string& file, const std::function<bool()>& writes) override;
};
