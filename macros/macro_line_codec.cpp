#include "macros/macro_line_codec.h"

#include <array>
#include <bit>

#include "settings/ini_value.h"

namespace {

// "%d" straight into the line: a line is 1815 of these, and the readers' FormatIniInt builds a
// string for each.
void AppendDecimal(std::u16string& text, int32_t value)
{
    std::array<char16_t, 12> digits{};
    size_t start = digits.size();
    auto magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--start] = u'-';
    text.append(digits.data() + start, digits.size() - start);
}

// Adds the two fields of a 16-bit value the way the reader has always combined them: the low
// field sets the value, the high field adds 256 times its own value.
uint16_t Join16(int32_t lo, int32_t hi)
{
    const auto low = static_cast<uint16_t>(static_cast<uint32_t>(lo));
    return static_cast<uint16_t>(low + static_cast<uint32_t>(hi) * 256u);
}

uint8_t Low8(int32_t value) { return static_cast<uint8_t>(static_cast<uint32_t>(value)); }

// The name is stored as its 20 raw bytes: each field is one byte, whatever number it holds.
char16_t NameUnit(int32_t lo, int32_t hi) { return static_cast<char16_t>(Low8(lo) | (Low8(hi) << 8)); }

void AppendByte(std::u16string& line, uint8_t value) { line = AppendNumber3(std::move(line), value); }

void Append16(std::u16string& line, uint16_t value)
{
    AppendByte(line, static_cast<uint8_t>(value & 0xFF));
    AppendByte(line, static_cast<uint8_t>(value >> 8));
}

}  // namespace

int32_t ThreeDigitField(std::u16string_view line, size_t index)
{
    if (index > line.size() / 3) return 0;
    const size_t start = index * 3;
    if (start >= line.size()) return 0;
    return ParseIniInt(line.substr(start, 3));
}

std::u16string AppendNumber3(std::u16string text, int32_t value)
{
    if (value < 10)
        text += u"00";
    else if (value < 100)
        text += u"0";
    AppendDecimal(text, value);
    return text;
}

std::u16string EncodeMacroLine(const MacroRecord& record, KeyConvert hidToVk)
{
    std::u16string line;
    line.reserve(kMacroLineDigits);
    for (char16_t unit : record.name) Append16(line, unit);
    AppendByte(line, record.loopMode);
    for (uint16_t value : {record.repeatCount, record.eventCount, record.moveCount, record.countF7, record.cpiCount,
                           record.countFA})
        Append16(line, value);
    AppendByte(line, record.lightCount);
    AppendByte(line, record.light2Count);
    for (size_t i = 0; i < kMaxMacroEvents; ++i) {
        AppendByte(line, record.actions[i]);
        AppendByte(line, hidToVk(record.codes[i]));
        Append16(line, record.params[i].x);
        Append16(line, record.params[i].y);
        Append16(line, record.delays[i]);
    }
    for (const LightBlock& block : record.lightBlocks)
        for (uint8_t byte : std::bit_cast<std::array<uint8_t, sizeof(LightBlock)>>(block)) AppendByte(line, byte);
    return line;
}

void DecodeMacroLine(std::u16string_view line, MacroRecord& record, KeyConvert vkToHid)
{
    size_t field = 0;
    auto next = [&] { return ThreeDigitField(line, field++); };
    auto next16 = [&] {
        const int32_t lo = next();
        return Join16(lo, next());
    };
    for (char16_t& unit : record.name) {
        const int32_t lo = next();
        unit = NameUnit(lo, next());
    }
    record.loopMode = Low8(next());
    for (uint16_t* value : {&record.repeatCount, &record.eventCount, &record.moveCount, &record.countF7,
                            &record.cpiCount, &record.countFA})
        *value = next16();
    record.lightCount = Low8(next());
    record.light2Count = Low8(next());
    for (size_t i = 0; i < kMaxMacroEvents; ++i) {
        record.actions[i] = Low8(next());
        record.codes[i] = vkToHid(Low8(next()));
        record.params[i].x = next16();
        record.params[i].y = next16();
        record.delays[i] = next16();
    }
    for (LightBlock& block : record.lightBlocks) {
        std::array<uint8_t, sizeof(LightBlock)> bytes{};
        for (uint8_t& byte : bytes) byte = Low8(next());
        block = std::bit_cast<LightBlock>(bytes);
    }
    ClampMacroRecord(record);
}

std::u16string DecodeMacroLineName(std::u16string_view line)
{
    std::u16string name;
    for (size_t unit = 0; unit + 1 < kMacroNameUnits; ++unit) {
        const char16_t value = NameUnit(ThreeDigitField(line, unit * 2), ThreeDigitField(line, unit * 2 + 1));
        if (value == 0) break;
        name.push_back(static_cast<char16_t>(value));
    }
    return name;
}
