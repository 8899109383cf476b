#include "settings/section_cached_ini.h"

#include <algorithm>
#include <string_view>

namespace {

// The blanks the profile reader drops around names and values (^Z too, the old end-of-file mark).
bool IsBlank(char16_t c) { return (c >= u'\t' && c <= u'\r') || c == u' ' || c == 0x1A; }

std::u16string_view Trim(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The platform sees names only up to their first null.
std::u16string_view UpToNull(const std::u16string& text) { return std::u16string_view(text.c_str()); }

bool IsPlain(std::u16string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
}

std::u16string FoldedAscii(std::u16string_view name)
{
    std::u16string folded(name);
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return folded;
}

// The profile reader's copy of a value: one pair of enclosing quotes dropped, cut to the buffer
// with its null. When the buffer is one character short of the value with its closing quote,
// the reader still drops a last character (one of the value's own), and so does this.
size_t CopyValue(std::u16string_view value, std::span<char16_t> buffer)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
    if (quoted) value.remove_prefix(1);
    size_t copied = std::min(value.size(), buffer.size() - 1);
    std::copy_n(value.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    if (quoted && buffer.size() >= value.size() && copied > 0) buffer[--copied] = u'\0';
    return copied;
}

}  // namespace

const std::optional<std::vector<SectionCachedIni::Entry>>& SectionCachedIni::Section(const std::u16string& name)
{
    const auto found = sections_.find(name);
    if (found != sections_.end()) return found->second;
    std::optional<std::vector<Entry>> entries;
    if (const std::optional<std::u16string> text = source_.GetSection(name)) {
        entries.emplace();
        std::u16string_view rest(*text);
        while (!rest.empty()) {
            const size_t end = std::min(rest.find(u'\0'), rest.size());
            const std::u16string_view line = Trim(rest.substr(0, end));
            rest.remove_prefix(std::min(end + 1, rest.size()));
            // Comments and empty lines are never a key (the platform leaves them out itself).
            if (line.empty() || line.front() == u';') continue;
            const size_t equals = line.find(u'=');
            const std::u16string_view key = Trim(line.substr(0, equals));
            Entry entry{FoldedAscii(key), IsPlain(key), std::nullopt};
            if (equals != std::u16string_view::npos) entry.value = std::u16string(Trim(line.substr(equals + 1)));
            entries->push_back(std::move(entry));
        }
    }
    return sections_.emplace(name, std::move(entries)).first->second;
}

size_t SectionCachedIni::GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer)
{
    if (buffer.empty()) return 0;
    const std::u16string_view asked = Trim(UpToNull(key));
    // Case rules beyond ASCII, and comment names, are the platform's own business.
    if (asked.empty() || asked.front() == u';' || !IsPlain(asked)) return source_.GetString(section, key, buffer);
    const std::optional<std::vector<Entry>>& entries = Section(std::u16string(Trim(UpToNull(section))));
    if (!entries) return source_.GetString(section, key, buffer);

    const std::u16string folded = FoldedAscii(asked);
    for (const Entry& entry : *entries) {
        if (!entry.plain) return source_.GetString(section, key, buffer);
        if (entry.name == folded) return CopyValue(entry.value ? std::u16string_view(*entry.value) : std::u16string_view(), buffer);
    }
    return CopyValue(std::u16string_view(), buffer);
}

bool SectionCachedIni::PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value)
{
    sections_.clear();
    return source_.PutString(section, key, value);
}
