#include "macros/macro_line_edits.h"

#include <algorithm>
#include <array>


namespace {
constexpr std::u16string_view kBlanks = u" \t\n\v\f\r";

struct CpiLevel {
    uint32_t cpi;
    uint16_t level;
};
constexpr std::array<CpiLevel, 12> kCpiLevels{{
    {200, MacroCpiLevel::Cpi200},
    {400, MacroCpiLevel::Cpi400},
    {600, MacroCpiLevel::Cpi600},
    {800, MacroCpiLevel::Cpi800},
    {1000, MacroCpiLevel::Cpi1000},
    {1200, MacroCpiLevel::Cpi1200},
    {1600, MacroCpiLevel::Cpi1600},
    {2000, MacroCpiLevel::Cpi2000},
    {2400, MacroCpiLevel::Cpi2400},
    {3200, MacroCpiLevel::Cpi3200},
    {4000, MacroCpiLevel::Cpi4000},
    {4800, MacroCpiLevel::Cpi4800},
}};

// The text after the first `mark`, all of it when there is none.
std::u16string_view After(std::u16string_view text, char16_t mark)
{
    const size_t at = text.find(mark);
    return at == std::u16string_view::npos ? text : text.substr(at + 1);
}

// value clamped into 0..limit; a value outside adds the message once.
int32_t Limited(int64_t value, int32_t limit, LineEditMessage message, LineEditResult& result)
{
    if (value >= 0 && value <= limit) return static_cast<int32_t>(value);
    result.messages.push_back(message);
    return value < 0 ? 0 : limit;
}

// The event of an even line that exists, or -1.
int32_t EventOfLine(const MacroRecord& record, int32_t line)
{
    if (line < 0 || line / 2 >= std::min<int32_t>(record.eventCount, kMaxMacroEvents)) return -1;
    return line / 2;
}
}  // namespace

int64_t ReadEditedNumber(std::u16string_view text)
{
    constexpr int64_t kSaturated = int64_t{1} << 40;
    size_t i = 0;
    while (i < text.size() && kBlanks.find(text[i]) != std::u16string_view::npos) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(kSaturated, value * 10 + (text[i] - u'0'));
    return negative ? -value : value;
}

uint16_t CpiLevelOfValue(int64_t cpi)
{
    for (const CpiLevel& row : kCpiLevels)
        if (row.cpi == cpi) return row.level;
    return 0;
}

LineEditResult ApplyEventLineEdit(MacroRecord& record, int32_t line, std::u16string_view text)
{
    LineEditResult result;
    const int32_t k = EventOfLine(record, line);
    if (k < 0) return result;
    MacroParam& param = record.params[k];
    if (line % 2 == 1) {
        const size_t ms = text.find(u"ms");
        const int64_t typed = ReadEditedNumber(ms == std::u16string_view::npos ? text : text.substr(0, ms));
        record.delays[k] = static_cast<uint16_t>(Limited(typed, kMaxEditedDelay, LineEditMessage::MoreThanLimit, result));
        result.changed = true;
        return result;
    }
    switch (record.codes[k]) {
    case MacroEventCode::Cpi: {
        if (record.actions[k] != MacroEventAction::SetCpi) break;
        uint16_t level = CpiLevelOfValue(ReadEditedNumber(After(text, u':')));
        if (level == 0) {
            result.messages.push_back(LineEditMessage::CpiValues);
            level = MacroCpiLevel::Cpi800;
        }
        param.x = level;
        result.changed = true;
        break;
    }
    case MacroEventCode::Move: {
        // "[X+]:%d,[Y-]:%d": X after the first colon, Y after the colon that follows the comma.
        const size_t colon = text.find(u':');
        const std::u16string_view xText = colon == std::u16string_view::npos ? text : text.substr(colon + 1);
        const size_t comma = xText.find(u',');
        const std::u16string_view rest = comma == std::u16string_view::npos ? std::u16string_view{} : xText.substr(comma + 1);
        const size_t yColon = rest.find(u':');
        const std::u16string_view yText = yColon == std::u16string_view::npos ? std::u16string_view{} : rest.substr(yColon + 1);
        param.x = static_cast<uint16_t>(
            Limited(ReadEditedNumber(xText), kMaxEditedMove, LineEditMessage::MoreThanLimitEnglish, result));
        param.y = static_cast<uint16_t>(
            Limited(ReadEditedNumber(yText), kMaxEditedMove, LineEditMessage::MoreThanLimitEnglish, result));
        result.changed = true;
        break;
    }
    default:
        break;
    }
    return result;
}

LineEditResult ApplyLightTimeEdit(MacroRecord& record, int32_t line, std::u16string_view text)
{
    LineEditResult result;
    const int32_t k = EventOfLine(record, line);
    if (k < 0 || line % 2 != 0 || record.codes[k] != MacroEventCode::Light) return result;
    const uint8_t block = static_cast<uint8_t>(record.params[k].x & 0xFF);
    if (block >= kLightBlockCount) return result;
    const int32_t seconds =
        Limited(ReadEditedNumber(After(text, u':')), kMaxEditedLightSeconds, LineEditMessage::MoreThanLimit, result);
    record.lightBlocks[block].steps[0].time = static_cast<uint8_t>(seconds * 10);
    result.changed = true;
    return result;
}

bool SetMacroNameFromLine(MacroRecord& record, std::u16string_view text)
{
    if (text.size() >= kMacroNameUnits) return false;
    record.name.fill(u'\0');
    std::copy(text.begin(), text.end(), record.name.begin());
    return true;
}
