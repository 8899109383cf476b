#include "settings/memory_ini.h"

#include <algorithm>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

std::u16string Folded(std::u16string_view name)
{
    std::u16string folded(name);
    for (char16_t& c : folded) c = Fold(c);
    return folded;
}

std::u16string DecodeUtf8(std::string_view bytes)
{
    std::u16string out;
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + length > bytes.size()) length = 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code > 0xFFFF ? 0xFFFD : code);
        }
        i += length;
    }
    return out;
}

}  // namespace

MemoryIniFile::MemoryIniFile(std::u16string_view text)
{
    while (!text.empty()) {
        const size_t end = std::min(text.find(u'\n'), text.size());
        const std::u16string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty()) continue;
        if (line.front() == u'[') {
            const size_t close = line.find(u']');
            const std::u16string_view name = Trim(line.substr(1, close == std::u16string_view::npos ? close : close - 1));
            AddSection(name);
            continue;
        }
        if (sections_.empty()) continue;  // nothing outside a section can be asked for
        const size_t equals = line.find(u'=');
        Entry entry;
        entry.key = std::u16string(Trim(line.substr(0, equals)));
        if (equals != std::u16string_view::npos) entry.value = std::u16string(Trim(line.substr(equals + 1)));
        sections_.back().Add(std::move(entry));
    }
}

MemoryIniFile MemoryIniFile::FromBytes(std::string_view bytes)
{
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && ((byteAt(0) == 0xFF && byteAt(1) == 0xFE) || (byteAt(0) == 0xFE && byteAt(1) == 0xFF))) {
        const bool little = byteAt(0) == 0xFF;
        std::u16string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(little ? byteAt(i) | byteAt(i + 1) << 8 : byteAt(i) << 8 | byteAt(i + 1));
        }
        return MemoryIniFile(text);
    }
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        return MemoryIniFile(DecodeUtf8(bytes.substr(3)));
    }
    std::u16string text;
    for (size_t i = 0; i < bytes.size(); ++i) text += static_cast<char16_t>(byteAt(i));
    return MemoryIniFile(text);
}

void MemoryIniFile::Section::Add(Entry entry)
{
    index.emplace(Folded(entry.key), entries.size());
    entries.push_back(std::move(entry));
}

MemoryIniFile::Section& MemoryIniFile::AddSection(std::u16string_view name)
{
    sectionIndex_.emplace(Folded(name), sections_.size());
    return sections_.emplace_back(Section{std::u16string(name), {}, {}});
}

MemoryIniFile::Section* MemoryIniFile::FindSection(std::u16string_view name)
{
    const auto found = sectionIndex_.find(Folded(name));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const MemoryIniFile::Section* MemoryIniFile::FindSection(std::u16string_view name) const
{
    return const_cast<MemoryIniFile*>(this)->FindSection(name);
}

const MemoryIniFile::Entry* MemoryIniFile::FindEntry(std::u16string_view section, std::u16string_view key) const
{
    const Section* found = FindSection(section);
    if (found == nullptr) return nullptr;
    const auto entry = found->index.find(Folded(key));
    return entry == found->index.end() ? nullptr : &found->entries[entry->second];
}

size_t MemoryIniFile::GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer)
{
    if (buffer.empty()) return 0;
    std::u16string_view value;
    if (const Entry* entry = FindEntry(section, key)) value = entry->value;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    const size_t copied = std::min(value.size(), buffer.size() - 1);
    std::copy_n(value.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    return copied;
}

bool MemoryIniFile::PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value)
{
    Section* found = FindSection(section);
    if (found == nullptr) found = &AddSection(section);
    const auto entry = found->index.find(Folded(key));
    if (entry == found->index.end()) {
        found->Add({key, value});
    } else {
        found->entries[entry->second].value = value;
    }
    return true;
}

bool MemoryIniFile::Rewrite(const std::function<bool()>& writes)
{
    std::vector<Section> sections = sections_;
    std::unordered_map<std::u16string, size_t> sectionIndex = sectionIndex_;
    const auto restore = [&] {
        sections_ = std::move(sections);
        sectionIndex_ = std::move(sectionIndex);
    };
    try {
        if (writes()) return true;
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return false;
}

std::optional<std::u16string> MemoryIniFile::Value(std::u16string_view section, std::u16string_view key) const
{
    if (const Entry* entry = FindEntry(section, key)) return entry->value;
    return std::nullopt;
}

std::vector<std::u16string> MemoryIniFile::Keys(std::u16string_view section) const
{
    std::vector<std::u16string> keys;
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) keys.push_back(entry.key);
    }
    return keys;
}

std::vector<std::u16string> MemoryIniFile::Sections() const
{
    std::vector<std::u16string> names;
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
}

std::u16string MemoryIniFile::Text() const
{
    std::u16string text;
    for (const Section& section : sections_) {
        text += u"[" + section.name + u"]\r\n";
        for (const Entry& entry : section.entries) text += entry.key + u"=" + entry.value + u"\r\n";
    }
    return text;
}
