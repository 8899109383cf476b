#pragma once
// Where profile values are read from and written to: config.ini through the platform's
// profile-string functions (ConfigIniFile) or an INI text in memory (tests, fuzzing).
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

class IniSource {
public:
    virtual ~IniSource() = default;
    // Copies the value of key in section into buffer as the platform's profile reader does: at
    // most buffer.size() - 1 characters, then a null; a missing section or key gives "".
    // Returns the number of characters copied. An empty buffer receives nothing.
    virtual size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) = 0;
    // Creates the key, the section and the file as needed. Returns false when the write failed.
    virtual bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) = 0;
    // The whole section as the platform's section reader gives it: each line "key=value" (or a
    // name alone) followed by a null; "" for a missing section or file. Nothing when this source
    // cannot give it whole: its keys are then read one by one.
    virtual std::optional<std::u16string> GetSection(const std::u16string& /*section*/) { return std::nullopt; }
    // Makes the writes that `writes` puts through this source one change of the file: whenever the
    // program ends, the file holds all of them or none. `writes` returns whether each of its
    // writes succeeded; false (a write failed, or the new file could not be put in place) leaves
    // the file as it was. This default writes in place, key by key.
    virtual bool Rewrite(const std::function<bool()>& writes) { return writes(); }
    // The file, as a message names it; empty for a source that is no file.
    virtual std::u16string Path() const { return {}; }
};
