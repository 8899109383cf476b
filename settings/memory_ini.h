#pragma once
// An INI file held in memory, read and written with the rules of the platform's profile-string
// functions: names compared without regard to case, the first of two equal sections or keys
// wins, blanks around names and values dropped, one pair of enclosing quotes removed, new keys
// appended to their section and new sections to the file.
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_source.h"

class MemoryIniFile : public IniSource {
public:
    MemoryIniFile() = default;
    explicit MemoryIniFile(std::u16string_view text);
    // File contents as stored: UTF-16 (either byte order) or UTF-8 with their byte-order marks,
    // anything else one character per byte.
    static MemoryIniFile FromBytes(std::string_view bytes);

    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override;
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override;
    // The writes go through PutString (a test's own included); a false result or a throw (an end
    // of the program, for a test) puts the text back as it was.
    bool Rewrite(const std::function<bool()>& writes) override;

    // The value as stored (quotes kept), or nothing when the key is missing.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;
    // Keys of a section in file order.
    std::vector<std::u16string> Keys(std::u16string_view section) const;
    std::vector<std::u16string> Sections() const;
    // "[section]" and "key=value" lines, each ended by CR LF.
    std::u16string Text() const;

private:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };
    // Look-ups go through names folded to lower case; the first of two equal names is indexed.
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
        std::unordered_map<std::u16string, size_t> index;
        void Add(Entry entry);
    };
    Section* FindSection(std::u16string_view name);
    const Section* FindSection(std::u16string_view name) const;
    const Entry* FindEntry(std::u16string_view section, std::u16string_view key) const;

    std::vector<Section> sections_;
    std::unordered_map<std::u16string, size_t> sectionIndex_;
    Section& AddSection(std::u16string_view name);
};
