// The editor's operations on records read from files, and the texts typed over list lines: any
// record a line decodes to stays inside its arrays and limits under any sequence of inserts,
// deletes and edits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macros/macro_event_edit.h"
#include "macros/macro_line_codec.h"
#include "macros/macro_line_edits.h"

namespace {
uint8_t Same(uint8_t code) { return code; }

void Check(bool condition)
{
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first half is the record line, the second the operations and the typed texts.
    const size_t half = size / 2;
    std::u16string line;
    for (size_t i = 0; i < half; ++i) line.push_back(static_cast<char16_t>(data[i]));
    MacroRecord record{};
    DecodeMacroLine(line, record, Same);

    size_t i = half;
    while (i + 3 <= size) {
        const uint8_t op = data[i];
        const int32_t position = static_cast<int8_t>(data[i + 1]);
        const uint8_t value = data[i + 2];
        i += 3;
        const size_t length = std::min<size_t>(value % 16, size - i);
        const std::u16string text(data + i, data + i + length);
        switch (op % 5) {
        case 0: InsertMacroEvent(record, position, value, op); break;
        case 1: DeleteMacroEvent(record, position); break;
        case 2: ApplyEventLineEdit(record, position, text); i += length; break;
        case 3: ApplyLightTimeEdit(record, position, text); i += length; break;
        default: SetMacroNameFromLine(record, text); i += length; break;
        }
        Check(record.eventCount <= kMaxMacroEvents);
        Check(record.moveCount <= kMaxMoveEvents && record.cpiCount <= kMaxCountedEvents);
        Check(record.lightCount <= kLightBlockCount && record.light2Count <= kLightBlockCount);
        Check(record.name.back() == u'\0');
    }
    return 0;
}
