#include "settings/ini_value.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

int32_t ParseIniInt(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i] - u'0'), kLimit);
    }
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

std::u16string FormatIniInt(int32_t value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

int32_t ReadIniInt(IniSource& ini, const std::u16string& section, const std::u16string& key, size_t chars)
{
    std::array<char16_t, kMaxValueChars> buffer{};
    const std::span<char16_t> window(buffer.data(), std::min(chars, buffer.size()));
    if (window.empty()) return 0;
    ini.GetString(section, key, window);
    // Whatever the source did, only what stands before the last place of the buffer counts.
    const auto end = std::find(window.begin(), window.end() - 1, u'\0');
    return ParseIniInt(std::u16string_view(window.data(), static_cast<size_t>(end - window.begin())));
}

bool WriteIniInt(IniSource& ini, const std::u16string& section, const std::u16string& key, int32_t value)
{
    return ini.PutString(section, key, FormatIniInt(value));
}
