#pragma once
// Reads each section of an INI source once and answers its keys from memory, with the answers
// the platform's profile-string reader gives for the same file: names compared without regard
// to case, the first of two equal keys wins (a name without '=' included, which reads as ""),
// one pair of enclosing quotes removed, the value cut to the buffer with its null. Under Wine
// every profile-string call opens and checks the file again, so a profile load of a hundred
// keys costs a hundred opens; this costs one a section.
//
// Meant for one read-only operation at a time (a local of the caller, not shared between
// threads). Any write goes through to the source and drops every section read so far.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/ini_source.h"

class SectionCachedIni : public IniSource {
public:
    explicit SectionCachedIni(IniSource& source) : source_(source) {}

    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override;
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override;
    std::optional<std::u16string> GetSection(const std::u16string& section) override { return source_.GetSection(section); }
    // Its writes come back through PutString, which drops the sections read.
    bool Rewrite(const std::function<bool()>& writes) override { return source_.Rewrite(writes); }
    std::u16string Path() const override { return source_.Path(); }

private:
    struct Entry {
        std::u16string name;  // ASCII letters folded to lower case
        bool plain;           // ASCII only: compared here; any other name is left to the source
        std::optional<std::u16string> value;
    };
    // Nothing when the source cannot give the section whole.
    const std::optional<std::vector<Entry>>& Section(const std::u16string& name);

    IniSource& source_;
    std::map<std::u16string, std::optional<std::vector<Entry>>> sections_;
};
