#include "ui/pages/skin_layout_record.h"

#include <algorithm>

#include "base/user_prompts.h"
#include "settings/ini_value.h"

LayoutRecord SplitLayoutRecord(std::u16string_view value)
{
    LayoutRecord record;
    record.tooManyCommas = std::count(value.begin(), value.end(), u',') > static_cast<std::ptrdiff_t>(kLayoutRecordCommas);
    size_t field = 0;
    size_t start = 0;
    while (field < kLayoutRecordCommas) {
        const size_t comma = value.find(u',', start);
        if (comma == std::u16string_view::npos) break;
        record.fields[field++] = std::u16string(value.substr(start, comma - start));
        start = comma + 1;
    }
    record.fields[field] = std::u16string(value.substr(start));
    return record;
}

void ReadIniRecord(IniSource& file, const std::u16string& section, int key, LayoutFields& fields)
{
    std::array<char16_t, kLayoutValueChars> buffer{};
    file.GetString(section, FormatIniInt(key), buffer);
    // Only what stands before the buffer's last place counts, whatever the source wrote.
    const auto end = std::find(buffer.begin(), buffer.end() - 1, u'\0');
    LayoutRecord record = SplitLayoutRecord(std::u16string_view(buffer.data(), static_cast<size_t>(end - buffer.begin())));
    if (record.tooManyCommas) ShowMessage(u"加载ini错误！");
    fields = std::move(record.fields);
}
