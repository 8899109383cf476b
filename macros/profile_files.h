#pragma once
// Key-by-key access to INI files, the way the platform's profile-string functions give it: a read
// goes through a buffer of a given width (so at most width - 1 characters come back, and a missing
// file, section or key reads as empty), a write replaces one key and keeps the rest of the file.
// The macro files and the group file are read and written only through this, so their logic runs
// and is tested the same on every platform.
#include <cstddef>
#include <map>
#include <string>
#include <tuple>

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    virtual std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                               size_t bufferChars) = 0;
    virtual void Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) = 0;
    virtual bool FileExists(const std::u16string& file) = 0;
};

// Files held in memory: for the host tree's tests and the fuzzers.
class MemoryProfileFiles : public ProfileFiles {
public:
    std::u16string Get(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                       size_t bufferChars) override
    {
        const auto found = values.find({file, section, key});
        if (found == values.end() || bufferChars == 0) return {};
        return found->second.substr(0, bufferChars - 1);
    }
    void Put(const std::u16string& file, const std::u16string& section, const std::u16string& key,
             const std::u16string& value) override
    {
        files[file] = true;
        values[{file, section, key}] = value;
        ++writes;
    }
    bool FileExists(const std::u16string& file) override { return files.contains(file); }

    void Touch(const std::u16string& file) { files[file] = true; }

    std::map<std::u16string, bool> files;
    std::map<std::tuple<std::u16string, std::u16string, std::u16string>, std::u16string> values;
    int writes = 0;
};
