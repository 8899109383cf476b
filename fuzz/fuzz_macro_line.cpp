// Record lines of macro files: any text decodes into a record that stays inside its arrays, and
// re-encodes into a full line; the group lister's name decoding takes the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macros/macro_line_codec.h"

namespace {
uint8_t Same(uint8_t code) { return code; }

void Check(bool condition)
{
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string line;
    if (size > 0 && data[0] & 1) {
        // Wide text as it may stand in a hand-edited file.
        for (size_t i = 1; i + 1 < size; i += 2) line.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    } else {
        for (size_t i = 1; i < size; ++i) line.push_back(static_cast<char16_t>(data[i]));
    }

    MacroRecord record{};
    DecodeMacroLine(line, record, Same);
    Check(record.eventCount <= kMaxMacroEvents);
    Check(record.lightCount <= kLightBlockCount && record.light2Count <= kLightBlockCount);
    Check(record.name.back() == u'\0');
    for (const LightBlock& block : record.lightBlocks) Check(block.stepCount <= kLightBlockSteps);

    const std::u16string encoded = EncodeMacroLine(record, Same);
    Check(encoded.size() == kMacroLineDigits);
    MacroRecord again{};
    DecodeMacroLine(encoded, again, Same);
    Check(EncodeMacroLine(again, Same) == encoded);

    const std::u16string name = DecodeMacroLineName(line);
    Check(name.size() < kMacroNameUnits);
    Check(name.find(u'\0') == std::u16string::npos);
    return 0;
}
