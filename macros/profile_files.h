#pragma once
// Key-by-key access to INI files, the way the platform's profile-string functions give it: a read
// goes through a buffer of a given width (so at most width - 1 characters come back, and a missing
// file, section or key reads as empty), a write replaces one key and keeps the rest of the file.
// The macro files and the group file are read and written only through this, so their logic runs
// and is tested the same on every platform. One file is an IniSource (settings/ini_source.h); this
// adds the many files of a macro folder and the check that a file exists.
#include <cstddef>
#include <functional>
#include <string>

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    virtual std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                               size_t bufferChars) = 0;
    // False when the write failed (a read-only or locked file, a full disk).
    virtual bool Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) = 0;
    virtual bool FileExists(const std::u16string& file) = 0;
    // Whether two names in one folder name one file: the file system's own rule for case.
    virtual bool SameFileName(const std::u16string& a, const std::u16string& b) = 0;
    // Makes the writes to `file` that `writes` makes through this object one change of the file
    // (see IniSource::Rewrite): all of them or none, whenever the program ends. `writes` returns
    // whether each of them succeeded; false from it, or a new file that cannot be put in place,
    // leaves the file as it was and returns false. This default writes in place, key by key.
    virtual bool Rewrite(const std::u16string& /*file*/, const std::function<bool()>& writes) { return writes(); }
};
